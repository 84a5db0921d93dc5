// The delete command in the real window, on real files, with the real question box answered by
// pressing its buttons.
#include <gtest/gtest.h>

#include <map>

#include "DeleteAnswerer.h"
#include "MainWindowFixture.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "clean/core/DeleteCommand.h"
#include "common/core/Texts.h"
#include "common/win32/Handles.h"

using namespace qorvani;
using namespace wintest;

namespace {

// Every file under a folder with its size and a hash of its contents.
using Listing = std::map<std::wstring, std::pair<std::uint64_t, std::uint64_t>>;

std::uint64_t HashFile(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    std::uint64_t hash = 1469598103934665603ull;
    if (!file.Valid()) return 0;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got)
        for (DWORD i = 0; i < got; ++i) hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    return hash;
}

void ListInto(const std::wstring& folder, const std::wstring& relative, Listing& out) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((folder + relative + L"*").c_str(), &data));
    if (!find.Valid()) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[relative + name + L"\\"] = {0, 0};
            ListInto(folder, relative + name + L"\\", out);
        } else {
            out[relative + name] = {(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                                    HashFile(folder + relative + name)};
        }
    } while (FindNextFileW(find.Get(), &data));
}

Listing ListTree(const std::wstring& root) {
    Listing listing;
    ListInto(root, L"", listing);
    return listing;
}

class DeleteWindowTest : public MainWindowFixture {
protected:
    // a.tmp b.tmp c.tmp d.tmp in the root, e.tmp in sub, and files that are not junk.
    void MakeTree() {
        tree_.File(L"a.tmp", 10);
        tree_.File(L"b.tmp", 2000);
        tree_.File(L"c.tmp", 3000);
        tree_.File(L"d.tmp", 4000);
        tree_.Folder(L"sub");
        tree_.File(L"sub\\e.tmp", 5000);
        tree_.File(L"keep.txt", 77);
        tree_.File(L"sub\\keep2.doc", 99);
        ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
        SetWindowTextW(Item(kIdPathBox), tree_.Root().c_str());
        ClickFlat(Item(kIdScanButton));
        ASSERT_EQ(RowCount(Item(kIdResultList)), 5);
    }
    int RowOf(const std::wstring& relative) {
        for (std::size_t i = 0; i < Main().Results().Count(); ++i)
            if (Main().Results().ExactPath(i) == tree_.Root() + relative) return static_cast<int>(i);
        return -1;
    }
    void Check(std::initializer_list<const wchar_t*> files) {
        for (const wchar_t* file : files) {
            const int row = RowOf(file);
            ASSERT_GE(row, 0) << file;
            ClickRowCheckBox(Item(kIdResultList), row);
            ASSERT_TRUE(RowChecked(Item(kIdResultList), row)) << file;
        }
    }
    // Clicks "清除选中项目"; the question is answered with the given button. Gives what was asked.
    std::vector<drive::DeleteAnswerer::Question> Delete(int answer) {
        drive::DeleteAnswerer answerer(answer);
        ClickFlat(Item(kIdDeleteButton));
        answerer.Stop();
        return answerer.Answered();
    }
    std::vector<std::wstring> ListedPaths() {
        std::vector<std::wstring> paths;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i) paths.push_back(Main().Results().ExactPath(i));
        return paths;
    }

    TempTree tree_;
};

TEST_F(DeleteWindowTest, YesDeletesExactlyTheCheckedFilesForGood) {
    MakeTree();
    Check({L"b.tmp", L"sub\\e.tmp"});
    Listing before = ListTree(tree_.Root());
    const auto keptOrder = [&] {
        std::vector<std::wstring> order;
        for (auto& p : ListedPaths())
            if (p != tree_.Root() + L"b.tmp" && p != tree_.Root() + L"sub\\e.tmp") order.push_back(p);
        return order;
    }();
    const auto asked = Delete(IDYES);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].owner, window_);
    EXPECT_EQ(asked[0].title, text::kDeleteTitle);
    EXPECT_EQ(asked[0].text, text::kDeleteQuestion);
    EXPECT_TRUE(asked[0].cancelIsDefault);

    Listing after = ListTree(tree_.Root());
    before.erase(L"b.tmp");
    before.erase(L"sub\\e.tmp");
    EXPECT_EQ(after, before);  // every other file byte for byte as it was
    EXPECT_EQ(ListedPaths(), keptOrder);
    for (int i = 0; i < RowCount(Item(kIdResultList)); ++i) {
        EXPECT_NE(RowText(Item(kIdResultList), i, 1), L"");  // each row keeps its size
        EXPECT_FALSE(RowChecked(Item(kIdResultList), i));
    }
    EXPECT_EQ(Text(Item(kIdResultCaption)), L"扫描结果： 剩余的文件共有： 3个");
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 2个 ");
}

TEST_F(DeleteWindowTest, NoMovesTheCheckedFilesToTheTrashAndNowhereElse) {
    MakeTree();
    // Wine's Recycle Bin: the freedesktop trash of the run (XDG_DATA_HOME) or of the Unix home.
    const std::wstring trash = robust::TrashFiles();
    ASSERT_FALSE(trash.empty()) << "the trash is found under Wine only";
    // Names unique to this run, so what the trash holds can be told apart from earlier runs.
    const std::wstring unique = L"q" + std::to_wstring(GetTickCount()) + L".tmp";
    tree_.File(unique, 1234);
    ClickFlat(Item(kIdScanButton));
    Check({unique.c_str()});
    Listing before = ListTree(tree_.Root());
    const std::uint64_t hash = before[unique].second;
    EXPECT_EQ(Delete(IDNO).size(), 1u);
    before.erase(unique);
    EXPECT_EQ(ListTree(tree_.Root()), before);
    EXPECT_EQ(HashFile(trash + unique), hash) << "not found in " << std::string(trash.begin(), trash.end());
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 1个 ");
    robust::RemoveFromTrash({unique});
}

TEST_F(DeleteWindowTest, CancelChangesNothing) {
    MakeTree();
    Check({L"a.tmp", L"c.tmp"});
    const Listing before = ListTree(tree_.Root());
    const std::wstring label = Text(Item(kIdResultCaption));
    const std::wstring status = StatusText(Item(kIdStatusBar));
    const auto paths = ListedPaths();
    EXPECT_EQ(Delete(IDCANCEL).size(), 1u);
    EXPECT_EQ(ListTree(tree_.Root()), before);
    EXPECT_EQ(ListedPaths(), paths);
    EXPECT_EQ(Text(Item(kIdResultCaption)), label);
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), status);
    EXPECT_TRUE(RowChecked(Item(kIdResultList), RowOf(L"a.tmp")));
    EXPECT_EQ(RowText(Item(kIdResultList), RowOf(L"a.tmp"), 1), L" 10(字节)");
}

TEST_F(DeleteWindowTest, FileHeldOpenByAnotherProcessStaysListedCheckedAndCounted) {
    MakeTree();
    Check({L"c.tmp", L"d.tmp"});
    KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, L"QorvaniHoldReady"));
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --hold \"" + tree_.Root() + L"c.tmp\" QorvaniHoldReady";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    ASSERT_EQ(WaitForSingleObject(ready.Get(), 20000), WAIT_OBJECT_0);

    // The shell may show its own error box for the held file: the answerer closes whatever it shows.
    EXPECT_EQ(Delete(IDYES).size(), 1u);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);

    const int held = RowOf(L"c.tmp");
    ASSERT_GE(held, 0);
    EXPECT_TRUE(RowChecked(Item(kIdResultList), held));
    EXPECT_EQ(RowOf(L"d.tmp"), -1);
    EXPECT_NE(GetFileAttributesW((tree_.Root() + L"c.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((tree_.Root() + L"d.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 1个 未能删除 1个");
    EXPECT_EQ(Text(Item(kIdResultCaption)), L"扫描结果： 剩余的文件共有： 4个");
}

void PutFile(const std::wstring& path, const std::string& contents) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file.Valid()) WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
}

// A drive that goes away after the scan (a disk unplugged, a subst letter removed). The test
// command links the drive letter Q: to the fixture folder drive-q (a link in the prefix's
// dosdevices); the test renames that folder from under the letter, so that Q: leads nowhere.
// Wine then answers "file not found" for the names in Q:'s root and "path not found" below it:
// neither may count as a delete. Every row stays listed, checked, and counted as not deleted.
TEST_F(DeleteWindowTest, RowsOfADriveThatWentAwayStayListedAndCountedAsNotDeleted) {
    NEED_FIXTURE(target, L"drive-q");
    const std::wstring drive = L"Q:\\";
    if (GetFileAttributesW((drive + L"drive-q.txt").c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (robust::FixturesRequired()) FAIL() << "Q: does not lead to the fixture drive-q (the test command links it)";
        GTEST_SKIP() << "Q: does not lead to the fixture drive-q";
    }
    CreateDirectoryW((drive + L"sub").c_str(), nullptr);
    const std::vector<std::wstring> files = {L"r1.tmp", L"r2.tmp", L"sub\\s1.tmp", L"sub\\s2.tmp", L"sub\\s3.tmp"};
    for (const std::wstring& file : files) PutFile(drive + file, "on the drive");
    ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
    SetWindowTextW(Item(kIdPathBox), drive.c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(RowCount(Item(kIdResultList)), 5);
    ClickFlat(Item(kIdCheckAllResultsButton));

    const std::wstring here = target.substr(0, target.size() - 1), away = here + L"-away";
    ASSERT_TRUE(MoveFileW(here.c_str(), away.c_str()));
    ASSERT_EQ(GetFileAttributesW((drive + L"drive-q.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Delete(IDYES).size(), 1u);
    ASSERT_TRUE(MoveFileW(away.c_str(), here.c_str()));

    ASSERT_EQ(RowCount(Item(kIdResultList)), 5);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(RowChecked(Item(kIdResultList), i)) << i;
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 0个 未能删除 5个");
    EXPECT_EQ(Text(Item(kIdResultCaption)), L"扫描结果： 剩余的文件共有： 5个");
    for (const std::wstring& file : files) EXPECT_NE(GetFileAttributesW((drive + file).c_str()), INVALID_FILE_ATTRIBUTES);
}

// A Recycle Bin that cannot be made: Wine's trash under an XDG_DATA_HOME where no folder can be
// created (below a plain file), which makes SHQueryRecycleBinW fail for every root. "否" over 30
// checked files then asks one more question, for all 30 at once, before any file is sent, and a
// no to it keeps every one listed and on disk. Wine reads XDG_DATA_HOME when a process starts:
// the test runs itself again as a child process with it set.
TEST_F(DeleteWindowTest, WithoutARecycleBinANoAsksOnceForAllAndANoKeepsThemAll) {
    if (!robust::InChildRun()) {
        const std::wstring data = robust::Environment(L"XDG_DATA_HOME");
        if (data.empty() || data[0] != L'/') {
            if (robust::FixturesRequired()) FAIL() << "no Unix XDG_DATA_HOME (the test command gives each run one)";
            GTEST_SKIP() << "no Unix XDG_DATA_HOME: not under the test command's Wine";
        }
        PutFile(robust::FolderOf(data) + L"not-a-folder", "a file where the trash would need a folder");
        const robust::ChildRun child = robust::RunTestInChild(
            "DeleteWindowTest.WithoutARecycleBinANoAsksOnceForAllAndANoKeepsThemAll",
            {{L"XDG_DATA_HOME", data + L"/not-a-folder/data"}}, 240000);
        EXPECT_EQ(child.exitCode, 0) << child.output;
        EXPECT_NE(child.output.find("[  PASSED  ] 1 test."), std::string::npos) << child.output;
        return;
    }
    for (int i = 0; i < 30; ++i) tree_.File(L"f" + std::to_wstring(i) + L".tmp", 100 + i);
    ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
    SetWindowTextW(Item(kIdPathBox), tree_.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(RowCount(Item(kIdResultList)), 30);
    ClickFlat(Item(kIdCheckAllResultsButton));
    const Listing before = ListTree(tree_.Root());

    const auto asked = Delete(IDNO);  // to the confirmation, and to the question that follows

    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, text::kDeleteQuestion);
    EXPECT_EQ(asked[1].text, ForGoodQuestion(30));
    EXPECT_EQ(ListTree(tree_.Root()), before);
    ASSERT_EQ(RowCount(Item(kIdResultList)), 30);
    for (int i = 0; i < 30; ++i) EXPECT_TRUE(RowChecked(Item(kIdResultList), i)) << i;
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 0个 未能删除 30个");
}

// NoRecycleFiles under the user's policies, set for as long as the guard lives; what was there
// before (no key, no value, another value) is put back at its end, so that no run depends on
// another.
class NoRecycleFilesPolicy {
public:
    NoRecycleFilesPolicy() {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                            &disposition) != ERROR_SUCCESS)
            return;
        key_.Reset(key);
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
        DWORD type = 0, size = sizeof before_;
        hadValue_ = RegQueryValueExW(key, kValue, nullptr, &type, reinterpret_cast<BYTE*>(&before_), &size) ==
                        ERROR_SUCCESS && type == REG_DWORD;
        const DWORD on = 1;
        set_ = RegSetValueExW(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on) == ERROR_SUCCESS;
    }
    ~NoRecycleFilesPolicy() {
        if (!key_.Valid()) return;
        if (hadValue_)
            RegSetValueExW(key_.Get(), kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
        else
            RegDeleteValueW(key_.Get(), kValue);
        key_.Reset();
        if (createdKey_) RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    }
    bool Set() const { return set_; }

private:
    static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    static constexpr wchar_t kValue[] = L"NoRecycleFiles";
    RegistryKey key_;
    bool createdKey_ = false, hadValue_ = false, set_ = false;
    DWORD before_ = 0;
};

// The policy says that deleted files are never recycled: "否" over 10 checked files, on a volume
// whose bin works, asks once more for all 10 before any file is sent, and a no keeps all 10.
TEST_F(DeleteWindowTest, UnderTheNoRecycleFilesPolicyANoAsksOnceForAllAndANoKeepsThemAll) {
    for (int i = 0; i < 10; ++i) tree_.File(L"p" + std::to_wstring(i) + L".tmp", 200 + i);
    ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
    SetWindowTextW(Item(kIdPathBox), tree_.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(RowCount(Item(kIdResultList)), 10);
    ClickFlat(Item(kIdCheckAllResultsButton));
    const Listing before = ListTree(tree_.Root());
    std::vector<drive::DeleteAnswerer::Question> asked;
    {
        const NoRecycleFilesPolicy policy;
        ASSERT_TRUE(policy.Set());
        asked = Delete(IDNO);  // to the confirmation, and to the question that follows
    }
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, text::kDeleteQuestion);
    EXPECT_EQ(asked[1].text, ForGoodQuestion(10));
    EXPECT_EQ(ListTree(tree_.Root()), before);
    ASSERT_EQ(RowCount(Item(kIdResultList)), 10);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(RowChecked(Item(kIdResultList), i)) << i;
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 0个 未能删除 10个");
}

// The names and sizes that a listing of the folder gives, without opening any file: opening
// "aux.bak" by its path opens the AUX device, whose read may never end.
std::map<std::wstring, std::uint64_t> ListedNames(const std::wstring& folder) {
    std::map<std::wstring, std::uint64_t> names;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find.Valid()) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names[data.cFileName] = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } while (FindNextFileW(find.Get(), &data));
    return names;
}

// NUL.tmp and aux.bak, made from Linux in a folder of their own: names that a Win32 path opens as
// a device. Neither is handed to the shell, whatever the answer: both stay on disk, listed,
// checked, and counted as not deleted.
TEST_F(DeleteWindowTest, DeviceNamedFilesStayOnDiskAndAreCountedAsNotDeleted) {
    NEED_FIXTURE(folder, L"devnames");
    ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
    ClickRowCheckBox(Item(kIdTypeList), 3);  // *.bak
    SetWindowTextW(Item(kIdPathBox), folder.c_str());
    const auto before = ListedNames(folder);
    ASSERT_EQ(before.count(L"NUL.tmp") + before.count(L"aux.bak"), 2u) << "the fixture lists both names";
    for (int answer : {IDYES, IDNO}) {
        ClickFlat(Item(kIdScanButton));
        ASSERT_EQ(RowCount(Item(kIdResultList)), 2);
        ClickFlat(Item(kIdCheckAllResultsButton));
        EXPECT_EQ(Delete(answer).size(), 1u) << answer;
        EXPECT_EQ(ListedNames(folder), before) << answer;
        ASSERT_EQ(RowCount(Item(kIdResultList)), 2) << answer;
        for (int i = 0; i < 2; ++i) EXPECT_TRUE(RowChecked(Item(kIdResultList), i)) << answer;
        EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 0个 未能删除 2个") << answer;
    }
}

TEST_F(DeleteWindowTest, SelectAllThenNoneOnBothLists) {
    MakeTree();
    ClickFlat(Item(kIdCheckAllResultsButton));
    for (int i = 0; i < RowCount(Item(kIdResultList)); ++i) EXPECT_TRUE(RowChecked(Item(kIdResultList), i));
    ClickFlat(Item(kIdCheckNoResultsButton));
    for (int i = 0; i < RowCount(Item(kIdResultList)); ++i) EXPECT_FALSE(RowChecked(Item(kIdResultList), i));
    EXPECT_EQ(RowText(Item(kIdResultList), 0, 1).empty(), false);  // sizes untouched

    ClickFlat(Item(kIdCheckAllTypesButton));
    for (int i = 0; i < 26; ++i) EXPECT_TRUE(RowChecked(Item(kIdTypeList), i));
    ASSERT_EQ(Main().CurrentActiveMasks().size(), 26u);
    EXPECT_EQ(Main().CurrentActiveMasks()[1], L"*.TMP");
    ClickFlat(Item(kIdCheckNoTypesButton));
    for (int i = 0; i < 26; ++i) EXPECT_FALSE(RowChecked(Item(kIdTypeList), i));
    EXPECT_TRUE(Main().CurrentActiveMasks().empty());
}

// The one answerer of the delete question (shared with the benchmarks): it presses the button it
// was given on a box titled as the question, whoever shows it, and records what was asked; any
// other box it closes with "取消" and records, never counting it as the question.
using DeleteAnswererTest = MainWindowFixture;

TEST_F(DeleteAnswererTest, PressesTheGivenButtonOnTheQuestionAndClosesEveryOtherBox) {
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        drive::DeleteAnswerer answerer(answer);
        const int pressed = MessageBoxW(window_, text::kDeleteQuestion, text::kDeleteTitle,
                                        MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3);
        const int other = MessageBoxW(window_, L"another text", L"another box", MB_YESNO | MB_DEFBUTTON1);
        answerer.Stop();
        EXPECT_EQ(pressed, answer);
        EXPECT_EQ(other, IDCANCEL);
        const auto asked = answerer.Answered();
        ASSERT_EQ(asked.size(), 1u) << answer;
        EXPECT_EQ(answerer.Questions(), 1);
        EXPECT_EQ(asked[0].owner, window_);
        EXPECT_EQ(asked[0].title, text::kDeleteTitle);
        EXPECT_EQ(asked[0].text, text::kDeleteQuestion);
        EXPECT_TRUE(asked[0].cancelIsDefault);
        EXPECT_NE(asked[0].answeredAt, 0);
        EXPECT_EQ(answerer.OtherBoxes(), std::vector<std::wstring>{L"another box: another text"});
    }
    // Stopped, it answers nothing more.
    drive::DeleteAnswerer stopped(IDYES);
    stopped.Stop();
    EXPECT_EQ(stopped.Questions(), 0);
    EXPECT_TRUE(stopped.OtherBoxes().empty());
}

}  // namespace
