#include "CatalogueFile.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <stdexcept>

#include "scan/posix/Utf8Names.h"

namespace qorvani::bench {

std::string DefaultCataloguePath() {
    const std::filesystem::path source(__FILE__);
    return (source.parent_path().parent_path().parent_path() / "src" / "catalogue" / "win32" /
            "catalogue.rc")
        .string();
}

std::vector<std::wstring> ReadCatalogueMasks(const std::string& rcPath) {
    std::ifstream in(rcPath, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + rcPath);
    // Entries look like: 101, L"~*.*"   (a quote inside is written twice)
    const std::regex entry(R"re(^\s*(\d+)\s*,\s*L?"((?:[^"]|"")*)")re");
    std::map<unsigned long, std::string> texts;
    std::string line;
    std::smatch found;
    while (std::getline(in, line)) {
        if (!std::regex_search(line, found, entry)) continue;
        std::string text = found[2].str();
        for (std::size_t at = text.find("\"\""); at != std::string::npos;
             at = text.find("\"\"", at + 1))
            text.erase(at, 1);
        texts[std::stoul(found[1].str())] = text;
    }
    std::vector<std::wstring> masks;
    for (unsigned long id = 101; id <= 126; ++id) {
        auto it = texts.find(id);
        if (it == texts.end())
            throw std::runtime_error(rcPath + " has no string " + std::to_string(id));
        std::wstring mask;
        DecodeFileName(it->second, mask);
        masks.push_back(mask);
    }
    return masks;
}

}  // namespace qorvani::bench
