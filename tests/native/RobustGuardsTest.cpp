// Guards found missing by the robustness suite under Wine: names holding U+FFFD (the stand-in
// for undecodable bytes) are never sent to the shell, and the walk does not enter a folder whose
// name a path cannot hold (it would list another folder).
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ScanFakes.h"
#include "clean/core/DeleteCommand.h"
#include "scan/core/Walker.h"
#include "scan/core/WindowsNames.h"

using namespace qorvani;

namespace {

TEST(RobustGuards, SubstituteCharacterKeepsAPathFromTheShell) {
    EXPECT_FALSE(NameSafeForShell(L"Z:\\t\\\uFFFD.tmp", L"\uFFFD.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"Z:\\t\\a\uFFFDb.tmp", L"a\uFFFDb.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"Z:\\t\\\uFFFD\\a.tmp", L"a.tmp"));  // in the folder part
    // Other characters outside ASCII and outside code page 936 pass.
    EXPECT_TRUE(NameSafeForShell(L"Z:\\t\\😀emoji.tmp", L"😀emoji.tmp"));
    EXPECT_TRUE(NameSafeForShell(L"Z:\\中文\\한국어.tmp", L"한국어.tmp"));
    EXPECT_TRUE(NameSafeForShell(L"Z:\\t\\\uFFFC.tmp", L"\uFFFC.tmp"));
}

// Two files that Wine lists under one name, U+FFFD.tmp; the shell, given that path, deletes
// the one whose name really is U+FFFD.tmp. Checking the other row must delete nothing.
class TwoUnderOneName final : public DeleteView, public FileShell {
public:
    int shellCalls = 0;
    int rebuilds = 0;
    std::size_t filesLeft = 2;
    std::wstring status;

    DeleteAnswer AskDeleteConfirmation() override { return DeleteAnswer::Yes; }
    void RowsKept() override { ++rebuilds; }
    void SetResultCaption(std::wstring_view) override {}
    void SetStatusText(std::wstring_view text) override { status = text; }
    PathKind Inspect(const std::wstring&) override { return filesLeft ? PathKind::PlainFile : PathKind::Missing; }
    int DeleteOneFile(const std::wstring&, std::uint16_t) override {
        ++shellCalls;
        --filesLeft;
        return 0;
    }
};

TEST(RobustGuards, ACheckedRowWhosePathNamesAnotherFileIsNotDeleted) {
    TwoUnderOneName both;
    ResultStore rows;
    rows.Append(L"Z:\\t\\", L"\uFFFD.tmp", 1);  // the checked one
    rows.Append(L"Z:\\t\\", L"\uFFFD.tmp", 1);
    rows.SetChecked(0, true);
    Pacing unpaced;
    DeleteCommandClick(both, rows, both, unpaced);
    EXPECT_EQ(both.shellCalls, 0);
    EXPECT_EQ(both.filesLeft, 2u);
    EXPECT_EQ(both.rebuilds, 1);
    ASSERT_EQ(rows.Count(), 2u);  // both kept, in their order
    EXPECT_TRUE(rows.Checked(0));
    EXPECT_FALSE(rows.Checked(1));
    EXPECT_EQ(both.status, L"删除文件 0个 未能删除 1个");
}

// A lister that cannot name some folders.
class NamingLister final : public scantest::FakeLister {
public:
    std::set<std::wstring> unnameable;
    bool CanNameFolder(std::wstring_view name) const override { return unnameable.count(std::wstring(name)) == 0; }
};

TEST(RobustGuards, FoldersThatNoPathCanNameAreNotWalked) {
    NamingLister lister;
    lister.AddFile(L"R\\", L"a.tmp");
    const std::wstring dotted = lister.AddFolder(L"R\\", L"d.");  // a path would name R\d
    lister.AddFile(dotted, L"hidden.tmp");
    const std::wstring plain = lister.AddFolder(L"R\\", L"d");
    lister.AddFile(plain, L"f.tmp");
    lister.AddFile(L"R\\", L"z.tmp");
    lister.unnameable = {L"d."};

    ActiveMasks active;
    active.push_back(L"*.TMP");
    const MaskSet masks(active);
    scantest::RecordingSink sink;
    ScanState state;
    ScanFolder(L"R\\", lister, masks, sink, sink, state);

    // Entered as a folder that cannot be listed: shown, never opened, nothing listed from it,
    // and the walk goes on with the next entry.
    EXPECT_EQ(lister.opened, (std::vector<std::wstring>{L"R\\", L"R\\d\\"}));
    EXPECT_EQ(sink.shown, (std::vector<std::wstring>{L"R\\", L"R\\d.\\", L"R\\d\\"}));
    std::vector<std::wstring> found;
    for (const auto& match : sink.matches) found.push_back(match.folder + match.name);
    EXPECT_EQ(found, (std::vector<std::wstring>{L"R\\a.tmp", L"R\\d\\f.tmp", L"R\\z.tmp"}));

    // A lister that names every folder (the native one) walks it.
    scantest::FakeLister plainLister;
    plainLister.AddFolder(L"R\\", L"d.");
    plainLister.AddFile(L"R\\d.\\", L"hidden.tmp");
    scantest::RecordingSink all;
    ScanFolder(L"R\\", plainLister, masks, all, all, state);
    ASSERT_EQ(all.matches.size(), 1u);
    EXPECT_EQ(all.matches[0].folder, L"R\\d.\\");
}

// The one set of rules behind both guards: the walk's (a folder it opens by name) and the
// delete's (a name it hands to the shell).
TEST(RobustGuards, WhatAPathCanNameIsOneRuleForTheWalkAndTheDelete) {
    for (wchar_t c : std::wstring(L"*?\"<>|\x01\x1F\uFFFD")) {
        EXPECT_TRUE(ForbiddenInPath(c)) << int(c);
        EXPECT_TRUE(ForbiddenInName(c)) << int(c);
        EXPECT_FALSE(FolderNameListable(std::wstring(L"a") + c + L"b")) << int(c);
    }
    // The separators and ':' belong in a path, never in one name.
    for (wchar_t c : std::wstring(L"\\/:")) {
        EXPECT_FALSE(ForbiddenInPath(c)) << int(c);
        EXPECT_TRUE(ForbiddenInName(c)) << int(c);
    }
    for (wchar_t c : std::wstring(L" .~$-_\uFFFC中😀")) EXPECT_FALSE(ForbiddenInName(c)) << int(c);

    // A folder is opened unless its name is empty, holds a separator or ends in a dot; Wine opens
    // "sp " and "col:d" by those names.
    EXPECT_TRUE(FolderNameListable(L"sp "));
    EXPECT_TRUE(FolderNameListable(L"col:d"));
    EXPECT_TRUE(FolderNameListable(L".git"));
    EXPECT_FALSE(FolderNameListable(L"d."));
    EXPECT_FALSE(FolderNameListable(L""));
    EXPECT_FALSE(FolderNameListable(L"x\\z"));
    EXPECT_FALSE(FolderNameListable(L"y/w"));
    // The shell is stricter: a trailing space or dot is dropped from any name it is given.
    EXPECT_TRUE(EndsInSpaceOrDot(L"sp "));
    EXPECT_TRUE(EndsInSpaceOrDot(L"d."));
    EXPECT_FALSE(EndsInSpaceOrDot(L".d"));
    EXPECT_FALSE(EndsInSpaceOrDot(L""));
}

}  // namespace
