#include "TreeManifest.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "BenchSupport.h"

namespace qorvani::bench {

std::optional<ExpectedMatches> ReadExpectedMatches(const std::wstring& rootText) {
    std::wstring root = rootText;
    while (root.size() > 3 && root.back() == L'\\') root.pop_back();
    if (root.size() < 3 || (root[0] != L'Z' && root[0] != L'z') || root[1] != L':' || root[2] != L'\\')
        return std::nullopt;
    std::ifstream in(std::filesystem::path(root + L".manifest"), std::ios::binary);
    if (!in) return std::nullopt;

    ExpectedMatches expected;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || line[tab + 1] != '/')
            throw BenchError("bad manifest line: " + line);
        const std::uint64_t size = std::stoull(line.substr(0, tab));
        std::wstring path = L"Z:" + Wide(line.substr(tab + 1));
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\';
        // The walk lists a folder through folder + "*.*" and only below MAX_PATH characters.
        const std::size_t folderLength = path.rfind(L'\\') + 1;
        if (folderLength + 3 >= MAX_PATH) {
            ++expected.beyondMaxPath;
            continue;
        }
        expected.paths.insert(std::move(path));
        expected.bytes += size;
    }
    return expected;
}

}  // namespace qorvani::bench
