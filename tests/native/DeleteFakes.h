#pragma once
// The shell of the delete tests: an in-memory file system and its Recycle Bins.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "clean/core/DeleteCommand.h"

namespace qorvani::deletetest {

// The facts of a bin, every one named.
inline BinFacts Bin(bool exists, bool turnedOff, bool policyOff, std::optional<std::uint64_t> maxBytes) {
    BinFacts facts;
    facts.exists = exists;
    facts.turnedOff = turnedOff;
    facts.policyOff = policyOff;
    facts.maxBytes = maxBytes;
    return facts;
}

// An in-memory file system with exact, case-sensitive names; deletes can be made to fail.
class FakeShell : public FileShell {
public:
    std::map<std::wstring, PathKind> entries;
    std::set<std::wstring> failing;
    std::set<std::wstring> denied;
    std::vector<std::pair<std::wstring, std::uint16_t>> calls;
    int inspections = 0;

    std::set<std::wstring> withoutBin;       // folders on volumes that have no Recycle Bin
    std::map<std::wstring, BinFacts> bins;  // the bin of the volume under each folder
    std::set<std::wstring> destroyedBySend;  // files that the shell destroys though sent to the bin
    SentFate lastFate = SentFate::Untold;

    void AddFile(const std::wstring& path) { entries[path] = PathKind::PlainFile; }
    BinFacts RecycleBinOf(const std::wstring& path) override {
        for (const std::wstring& folder : withoutBin)
            if (path.compare(0, folder.size(), folder) == 0) return Bin(false, false, false, std::nullopt);
        for (const auto& [folder, facts] : bins)
            if (path.compare(0, folder.size(), folder) == 0) return facts;
        return {};
    }
    SentFate FateOfLastDelete() override { return lastFate; }

    PathKind Inspect(const std::wstring& path) override {
        ++inspections;
        auto it = entries.find(path);
        return it == entries.end() ? PathKind::Missing : it->second;
    }
    int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override {
        calls.emplace_back(path, flags);
        lastFate = SentFate::Untold;
        if (failing.count(path) != 0) return 32;  // sharing violation
        if (denied.count(path) != 0) return 5;    // access denied
        auto it = entries.find(path);
        if (it == entries.end() || it->second != PathKind::PlainFile) return 2;
        entries.erase(it);
        if ((flags & kFofAllowUndo) != 0)
            lastFate = destroyedBySend.count(path) != 0 ? SentFate::Destroyed : SentFate::Recycled;
        return 0;
    }

    std::vector<std::wstring> CalledPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& call : calls) paths.push_back(call.first);
        return paths;
    }
};

}  // namespace qorvani::deletetest
