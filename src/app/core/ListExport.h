#pragma once
// "导出列表…": every row of the result list, in the order shown, as CSV (RFC 4180, UTF-8) with a
// byte-order mark so that Excel reads it as UTF-8. The columns: path,size,checked, the path exact
// (folder as walked, name as listed) and the size in bytes, written as the console scan writes
// its own path and size (CsvField).
#include <string>

#include "checklist/core/ResultStore.h"

namespace qorvani {

std::string ListCsv(const ResultStore& rows);

}  // namespace qorvani
