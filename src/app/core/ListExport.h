#pragma once
// "导出列表…": every row of the result list, in the order shown, as CSV (RFC 4180, UTF-8) with a
// byte-order mark so that Excel reads it as UTF-8. The columns are the console scan's own:
// path,size,checked, the path exact (folder as walked, name as listed), the size in bytes.
#include <string>

#include "checklist/core/ResultStore.h"

namespace qorvani {

std::string ListCsv(const ResultStore& rows);

}  // namespace qorvani
