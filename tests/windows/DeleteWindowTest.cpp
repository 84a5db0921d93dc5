// The delete command in the real window, on real files, with the real question box answered by
// pressing its buttons.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "clean/core/DeleteCommand.h"
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

// Answers the next question box owned by owner with the given button, from another thread.
class BoxAnswerer {
public:
    BoxAnswerer(HWND owner, int button) : thread_([this, owner, button] { Run(owner, button); }) {}
    ~BoxAnswerer() { thread_.join(); }
    std::wstring title, text;
    bool ownedByMain = false, cancelIsDefault = false, found = false;

private:
    void Run(HWND owner, int button) {
        for (int i = 0; i < 1000; ++i) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box && GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box)) {
                found = true;
                ownedByMain = true;
                wchar_t buffer[512] = {};
                GetWindowTextW(box, buffer, 512);
                title = buffer;
                HWND label = GetDlgItem(box, 0xFFFF);
                if (label) {
                    GetWindowTextW(label, buffer, 512);
                    text = buffer;
                }
                cancelIsDefault = (GetWindowLongW(GetDlgItem(box, IDCANCEL), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
                Sleep(20);
                SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
                return;
            }
            Sleep(10);
        }
    }
    std::thread thread_;
};

class DeleteWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
        ASSERT_NE(window_, nullptr);
        Pump(50);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        TakeQuit();
    }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    MainWindow& Main() const { return *MainWindow::FromHandle(window_); }

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
        ClickRowCheckBox(Item(kIdList2), 1);  // *.tmp
        SetWindowTextW(Item(kIdText1), tree_.Root().c_str());
        ClickFlat(Item(kIdFlatCommand6));
        ASSERT_EQ(RowCount(Item(kIdList1)), 5);
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
            ClickRowCheckBox(Item(kIdList1), row);
            ASSERT_TRUE(RowChecked(Item(kIdList1), row)) << file;
        }
    }
    void Delete(int answer, BoxAnswerer** seen = nullptr) {
        auto* answerer = new BoxAnswerer(window_, answer);
        ClickFlat(Item(kIdFlatCommand1));
        if (seen) *seen = answerer; else delete answerer;
    }
    std::vector<std::wstring> ListedPaths() {
        std::vector<std::wstring> paths;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i) paths.push_back(Main().Results().ExactPath(i));
        return paths;
    }

    HWND window_ = nullptr;
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
    BoxAnswerer* box = nullptr;
    Delete(IDYES, &box);
    EXPECT_TRUE(box->found);
    EXPECT_EQ(box->title, kDeleteTitle);
    EXPECT_EQ(box->text, kDeleteQuestion);
    EXPECT_TRUE(box->cancelIsDefault);
    delete box;

    Listing after = ListTree(tree_.Root());
    before.erase(L"b.tmp");
    before.erase(L"sub\\e.tmp");
    EXPECT_EQ(after, before);  // every other file byte for byte as it was
    EXPECT_EQ(ListedPaths(), keptOrder);
    for (int i = 0; i < RowCount(Item(kIdList1)); ++i) {
        EXPECT_EQ(RowText(Item(kIdList1), i, 1), L"");  // the size cells are dropped
        EXPECT_FALSE(RowChecked(Item(kIdList1), i));
    }
    EXPECT_EQ(Text(Item(kIdLabel1)), L"扫描结果： 剩余的文件共有： 3个");
    EXPECT_EQ(StatusText(Item(kIdStatusBar1)), L"删除文件 2个 ");
}

TEST_F(DeleteWindowTest, NoMovesTheCheckedFilesToTheTrashAndNowhereElse) {
    MakeTree();
    // Wine's Recycle Bin: the freedesktop trash of the run (XDG_DATA_HOME) or of the Unix home.
    const std::wstring trash = robust::TrashFiles();
    ASSERT_FALSE(trash.empty()) << "the trash is found under Wine only";
    // Names unique to this run, so what the trash holds can be told apart from earlier runs.
    const std::wstring unique = L"q" + std::to_wstring(GetTickCount()) + L".tmp";
    tree_.File(unique, 1234);
    ClickFlat(Item(kIdFlatCommand6));
    Check({unique.c_str()});
    Listing before = ListTree(tree_.Root());
    const std::uint64_t hash = before[unique].second;
    Delete(IDNO);
    before.erase(unique);
    EXPECT_EQ(ListTree(tree_.Root()), before);
    EXPECT_EQ(HashFile(trash + unique), hash) << "not found in " << std::string(trash.begin(), trash.end());
    EXPECT_EQ(StatusText(Item(kIdStatusBar1)), L"删除文件 1个 ");
    robust::RemoveFromTrash({unique});
}

TEST_F(DeleteWindowTest, CancelChangesNothing) {
    MakeTree();
    Check({L"a.tmp", L"c.tmp"});
    const Listing before = ListTree(tree_.Root());
    const std::wstring label = Text(Item(kIdLabel1));
    const std::wstring status = StatusText(Item(kIdStatusBar1));
    const auto paths = ListedPaths();
    Delete(IDCANCEL);
    EXPECT_EQ(ListTree(tree_.Root()), before);
    EXPECT_EQ(ListedPaths(), paths);
    EXPECT_EQ(Text(Item(kIdLabel1)), label);
    EXPECT_EQ(StatusText(Item(kIdStatusBar1)), status);
    EXPECT_TRUE(RowChecked(Item(kIdList1), RowOf(L"a.tmp")));
    EXPECT_EQ(RowText(Item(kIdList1), RowOf(L"a.tmp"), 1), L" 10(字节)");
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

    // The shell may show its own error box for the held file; close whatever it shows.
    std::atomic<bool> done{false};
    std::thread dismisser([&] {
        while (!done) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box && GetWindow(box, GW_OWNER) == window_) {
                wchar_t title[128] = {};
                GetWindowTextW(box, title, 128);
                if (std::wstring(title) != kDeleteTitle) PostMessageW(box, WM_CLOSE, 0, 0);
            }
            Sleep(20);
        }
    });
    Delete(IDYES);
    done = true;
    dismisser.join();
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);

    const int held = RowOf(L"c.tmp");
    ASSERT_GE(held, 0);
    EXPECT_TRUE(RowChecked(Item(kIdList1), held));
    EXPECT_EQ(RowOf(L"d.tmp"), -1);
    EXPECT_NE(GetFileAttributesW((tree_.Root() + L"c.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((tree_.Root() + L"d.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(StatusText(Item(kIdStatusBar1)), L"删除文件 1个 未能删除 1个");
    EXPECT_EQ(Text(Item(kIdLabel1)), L"扫描结果： 剩余的文件共有： 4个");
}

TEST_F(DeleteWindowTest, SelectAllThenNoneOnBothLists) {
    MakeTree();
    ClickFlat(Item(kIdFlatCommand4_0));
    for (int i = 0; i < RowCount(Item(kIdList1)); ++i) EXPECT_TRUE(RowChecked(Item(kIdList1), i));
    ClickFlat(Item(kIdFlatCommand4_1));
    for (int i = 0; i < RowCount(Item(kIdList1)); ++i) EXPECT_FALSE(RowChecked(Item(kIdList1), i));
    EXPECT_EQ(RowText(Item(kIdList1), 0, 1).empty(), false);  // sizes untouched

    ClickFlat(Item(kIdFlatCommand4_2));
    for (int i = 0; i < 26; ++i) EXPECT_TRUE(RowChecked(Item(kIdList2), i));
    ASSERT_EQ(Main().CurrentActiveMasks().HighestIndex(), 26u);
    EXPECT_EQ(Main().CurrentActiveMasks()[2], L"*.TMP");
    ClickFlat(Item(kIdFlatCommand4_3));
    for (int i = 0; i < 26; ++i) EXPECT_FALSE(RowChecked(Item(kIdList2), i));
    EXPECT_EQ(Main().CurrentActiveMasks().HighestIndex(), 0u);
}

}  // namespace
