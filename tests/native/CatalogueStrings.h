#pragma once
// The catalogue's string table read straight from the program's .rc file, so that the native
// tests check the same strings the program carries.
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "catalogue/core/TypeList.h"
#include "scan/posix/Utf8Names.h"

namespace testsupport {

inline std::map<unsigned, std::wstring> ReadCatalogueRc() {
    std::ifstream in(QORVANI_SOURCE_DIR "/src/catalogue/win32/catalogue.rc");
    std::map<unsigned, std::wstring> table;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.rfind("BEGIN", 0) == 0) { inside = true; continue; }
        if (line.rfind("END", 0) == 0) { inside = false; continue; }
        if (!inside) continue;
        const auto comma = line.find(',');
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (comma == std::string::npos || open == std::string::npos || close <= open) continue;
        std::wstring text;
        qorvani::DecodeFileName(line.substr(open + 1, close - open - 1), text);
        table[static_cast<unsigned>(std::stoul(line.substr(0, comma)))] = text;
    }
    return table;
}

class RcStrings final : public qorvani::StringSource {
public:
    RcStrings() : table_(ReadCatalogueRc()) {}
    std::wstring Load(unsigned id) override {
        const auto found = table_.find(id);
        return found == table_.end() ? std::wstring() : found->second;
    }
    const std::map<unsigned, std::wstring>& Table() const { return table_; }

private:
    std::map<unsigned, std::wstring> table_;
};

}  // namespace testsupport
