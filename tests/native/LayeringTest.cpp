#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// The layers as every source file's includes keep them: a subsystem includes only itself and the
// subsystems below it, and its core/ folder no platform's side.
TEST(Layering, EverySubsystemIncludesOnlyTheLayersBelowIt) {
    const std::map<std::string, std::set<std::string>> below = {
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
    const std::regex include(R"(^\s*#\s*include\s*"([a-z]+)/(core|win32|posix)/)");
    const fs::path src = fs::path(QORVANI_SOURCE_DIR) / "src";
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), src);
        const std::string subsystem = relative.begin()->string(), side = std::next(relative.begin())->string();
        ASSERT_TRUE(below.count(subsystem)) << "a subsystem with no place in the layers: " << subsystem;
        ++files;
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, match, include)) continue;
            EXPECT_TRUE(match[1] == subsystem || below.at(subsystem).count(match[1])) << relative << ": " << line;
            if (side == "core") EXPECT_EQ(match[2], "core") << relative << " is platform-free: " << line;
        }
    }
    EXPECT_GT(files, 100u);  // the whole tree was read
}

}  // namespace
