#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

// The layers as every source file's includes keep them: a subsystem includes only itself and
// the subsystems below it, and a core/ folder nothing of a platform's side.
namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"common", {}},
    {"scan", {"common"}},
    {"controls", {"common"}},
    {"checklist", {"common", "scan"}},
    {"catalogue", {"common", "scan"}},
    {"clean", {"common", "scan", "checklist"}},
    {"about", {"common", "controls"}},
    {"app", {"common", "scan", "controls", "checklist", "catalogue", "clean", "about"}},
    {"cli", {"common", "scan", "checklist", "catalogue", "clean"}},
};

TEST(Layering, EverySubsystemIncludesOnlyTheLayersBelowIt) {
    const fs::path src = fs::path(QORVANI_SOURCE_DIR) / "src";
    const std::regex include(R"(^\s*#\s*include\s*["<]([a-z]+)/(core|win32|posix)/)");
    const std::regex systemHeader(R"(^\s*#\s*include\s*<(windows|commctrl|shlobj|shellapi|unistd|dirent)\.h>)");
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), src);
        const std::string subsystem = relative.begin()->string();
        const std::string side = std::next(relative.begin())->string();
        const auto allowed = kMayInclude.find(subsystem);
        ASSERT_NE(allowed, kMayInclude.end()) << "a subsystem with no place in the layers: " << subsystem;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string where = relative.string() + ":" + std::to_string(number);
            std::smatch match;
            if (std::regex_search(line, match, include)) {
                const std::string target = match[1];
                EXPECT_TRUE(target == subsystem || allowed->second.count(target) != 0)
                    << where << " reaches up into " << target;
                if (side == "core") EXPECT_EQ(match[2], "core") << where << " is platform-free code";
            }
            if (side == "core") EXPECT_FALSE(std::regex_search(line, systemHeader)) << where << " is platform-free code";
        }
    }
    EXPECT_GT(files, 100u);  // the whole tree was read
}

}  // namespace
