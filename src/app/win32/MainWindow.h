#pragma once
// Mainfrm: the program's one top-level window. It owns the run-time state (ActiveMasks, the
// fixed drives, the scan state and the found rows) and implements the narrow views through which
// the platform-free commands reach its controls.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/core/TypeList.h"
#include "clean/core/DeleteCommand.h"
#include "clean/core/Selection.h"
#include "common/core/SlotArray.h"
#include "app/win32/PathCellPainter.h"
#include "common/win32/GdiObject.h"
#include "scan/core/ResultStore.h"
#include "scan/core/ScanCommand.h"
#include "scan/core/Walker.h"
#include "scan/win32/Win32Lister.h"

namespace qorvani {

inline constexpr wchar_t kMainWindowClass[] = L"QorvaniMainfrm";
inline constexpr wchar_t kMainCaption[] = L"Qorvani     Qorvani 开发组 出品";
inline constexpr wchar_t kFolderDialogTitle[] = L"选择进行扫描的文件夹。";
inline constexpr wchar_t kScanningFolderPrefix[] = L"正在扫描：";
inline constexpr wchar_t kRemainingPrefix[] = L"扫描结果： 剩余的文件共有：";

class MainWindow final : private ScanView,
                         private WalkSink,
                         private DeleteView,
                         private SelectionView,
                         private TypeListView {
public:
    // Registers the window classes this window needs (itself, the flat button).
    static bool Register(HINSTANCE instance);
    // Creates and shows Mainfrm; the object lives until its window is destroyed.
    static HWND Create(HINSTANCE instance, int showCommand);
    // The object behind a Mainfrm window, or nullptr.
    static MainWindow* FromHandle(HWND window);

    HWND Handle() const { return hwnd_; }
    const ActiveMasks& CurrentActiveMasks() const { return activeMasks_; }
    const FixedDrives& CurrentFixedDrives() const { return fixedDrives_; }
    const std::wstring& FixedDriveText() const { return fixedDriveText_; }
    const ResultStore& Results() const { return results_; }
    const ScanState& Scan() const { return scan_; }
    PathCellPainter& PathCells() { return pathCells_; }
    // How often the list and the status bar were repainted during the last scan.
    std::size_t LiveRefreshCount() const { return refreshCount_; }

private:
    explicit MainWindow(HINSTANCE instance);
    template <typename T>
    friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK List1Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Building the window and the start-up sequence.
    void CreateControls();
    HWND CreateFromLayout(int id);
    RECT PixelRect(int id) const;
    void StartUp();
    void DiscoverFixedDrives();

    // Events.
    void OnCommand(int id, int code);
    LRESULT OnNotify(NMHDR* header);
    void OnClose();
    void OnList1GetDispInfo(NMLVDISPINFOW* info);
    bool OnList1Input(UINT message, WPARAM wParam, LPARAM lParam);
    void ToggleResultRow(int row);
    void OnCheck1Click();
    void OnBrowseClick();
    void OnAboutClick();

    // Live display during long commands: the list and status bar are brought up to date at most
    // every kRefreshMilliseconds, so the walk never waits for the screen.
    void RefreshIfDue();
    void RefreshNow();
    void SyncResultCount();
    bool NewRowsWouldShow() const;
    void SetStatusNow(const std::wstring& text);

    // ScanView.
    std::wstring ScanCaption() override;
    void SetScanCaption(std::wstring_view caption) override;
    void ClearResults() override;
    std::size_t ResultCount() override;
    void SetResultCaption(std::wstring_view text) override;
    void SetStatusText(std::wstring_view text) override;
    void SetEnabled(ScanControl control, bool enabled) override;
    bool AllDrivesChecked() override;
    std::wstring PathText() override;
    void LetPendingEventsRun() override;
    std::uint32_t Milliseconds() override;
    // WalkSink.
    void ShowFolder(const std::wstring& path) override;
    void LetWaitingInputRun() override;
    void AppendMatch(const std::wstring& folder, std::wstring_view name, std::wstring_view upperName,
                     std::uint64_t size) override;
    // DeleteView.
    DeleteAnswer AskDeleteConfirmation() override;
    std::size_t RowCount() override;
    bool RowChecked(std::size_t row) override;
    std::wstring RowPath(std::size_t row) override;
    std::wstring RowName(std::size_t row) override;
    void KeepRows(const std::vector<std::size_t>& rows) override;
    // SelectionView.
    bool ListEnabled(SelectionList list) override;
    std::size_t RowCount(SelectionList list) override;
    void SetRowChecked(SelectionList list, std::size_t row, bool checked) override;
    void RebuildActiveMasks() override;
    void YieldToEvents() override;
    // TypeListView.
    void AddTypeRow(const std::wstring& mask, const std::wstring& description) override;
    std::size_t TypeRowCount() override;
    bool TypeRowChecked(std::size_t row) override;
    std::wstring TypeRowText(std::size_t row) override;

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    // Keeps the window alive while a long command runs nested event handling: a close asked
    // meanwhile stops the command and is carried out once the outermost one has returned.
    class BusyScope {
    public:
        explicit BusyScope(MainWindow& window) : window_(window) { ++window_.busyDepth_; }
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        MainWindow& window_;
    };

    static constexpr DWORD kRefreshMilliseconds = 60;
    // Setting the list's row count redraws its scroll bars, which is slow on some systems (about
    // 30 ms under Wine). While the new rows fall below the visible page (only the scroll bar would
    // change) it is done only as often as keeps its cost near a twentieth of the time, and at
    // least once a second.
    static constexpr DWORD kCountSyncCostShare = 20;
    static constexpr DWORD kMaxCountSyncMilliseconds = 1000;
    // The walk asks the system whether input waits (a round trip) at most this often.
    static constexpr DWORD kInputCheckMilliseconds = 10;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND list1_ = nullptr;
    HWND list2_ = nullptr;
    HWND status_ = nullptr;
    GdiObject<HFONT> font_;
    int dpi_ = 96;

    ActiveMasks activeMasks_;
    FixedDrives fixedDrives_;
    std::wstring fixedDriveText_;
    ScanState scan_;
    ResultStore results_;
    Win32Lister lister_;
    PathCellPainter pathCells_;  // List1's first column: paths cut in the middle, whole in a tip

    bool fillingTypeList_ = false;
    int busyDepth_ = 0;
    bool closePending_ = false;

    DWORD lastRefresh_ = 0;
    std::wstring pendingFolder_;
    bool folderPending_ = false;
    bool rowsDirty_ = false;
    std::size_t shownCount_ = 0;
    std::size_t refreshCount_ = 0;
    DWORD lastCountSync_ = 0;
    DWORD countSyncInterval_ = 0;
    DWORD lastInputCheck_ = 0;
    bool inputCheckDue_ = true;
};

}  // namespace qorvani
