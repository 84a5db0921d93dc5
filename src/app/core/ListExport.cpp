#include "app/core/ListExport.h"

#include "common/core/Utf8Text.h"

namespace qorvani {

std::string ListCsv(const ResultStore& rows) {
    std::string text = "\xEF\xBB\xBFpath,size,checked\r\n";
    for (std::size_t row = 0; row < rows.Count(); ++row)
        text += CsvField(rows.ExactPath(row)) + "," + std::to_string(rows.Size(row)) + "," +
                (rows.Checked(row) ? "true" : "false") + "\r\n";
    return text;
}

}  // namespace qorvani
