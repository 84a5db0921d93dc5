#pragma once
// The main window: the program's one top-level window. It owns the run-time state (ActiveMasks, the
// fixed drives, the scan state and the checklist's rows), the layout and the wiring: it implements
// the narrow views through which the platform-free commands reach its controls, handing the result
// list to ResultList, the type list to TypeListBox and the pace of long commands to Pacer; it owns
// the status bar and is the live display that the pacer has repainted (MainWindowViews.cpp).
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/win32/Pacer.h"
#include "app/win32/ResultList.h"
#include "app/win32/StatusBar.h"
#include "app/win32/TypeListBox.h"
#include "catalogue/core/TypeList.h"
#include "checklist/core/ResultStore.h"
#include "clean/core/DeleteCommand.h"
#include "clean/core/Selection.h"
#include "common/core/DpiFrame.h"
#include "common/win32/BaseWindow.h"
#include "common/win32/GdiObject.h"
#include "common/win32/Reflector.h"
#include "scan/core/ActiveMasks.h"
#include "scan/core/FixedDrives.h"
#include "scan/core/ScanCommand.h"
#include "scan/core/Walker.h"
#include "scan/win32/Win32Lister.h"

namespace qorvani {

inline constexpr wchar_t kMainWindowClass[] = L"QorvaniMainWindow";

class MainWindow final : public BaseWindow<MainWindow>,
                         private ScanView,
                         private WalkSink,
                         private DeleteView,
                         private SelectionView,
                         private LiveDisplay {
public:
    static constexpr const wchar_t* kClassName = kMainWindowClass;

    // Registers the window classes this window needs (itself, the flat button).
    static bool Register(HINSTANCE instance);
    // Creates and shows the main window; the object lives until its window is destroyed (the
    // object behind a window: FromHandle).
    static HWND Create(HINSTANCE instance, int showCommand);

    const ActiveMasks& CurrentActiveMasks() const { return activeMasks_; }
    // The DPI the window is laid out for.
    int Dpi() const;
    const FixedDrives& CurrentFixedDrives() const { return fixedDrives_; }
    Win32Lister& Lister() { return lister_; }
    const std::wstring& FixedDriveText() const { return fixedDriveText_; }
    const ResultStore& Results() const { return rows_; }
    const ScanState& Scan() const { return scan_; }
    ResultCells& ResultListCells() { return results_.Cells(); }
    ResultList& ResultRows() { return results_; }
    // How often the list and the status bar were repainted during the last long command.
    std::size_t LiveRefreshCount() const { return pacer_.RepaintCount(); }

private:
    friend class BaseWindow<MainWindow>;
    explicit MainWindow(HINSTANCE instance);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Building the window and the start-up sequence.
    void CreateControls();
    void ConnectControls();
    void StartUp();
    void DiscoverFixedDrives();

    // Events.
    void OnClose();
    void OnAllDrivesClick();
    void OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WORD state, WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void AdoptWindowDpi();
    // The frame that holds the layout's client area at dpi.
    PixelSize FrameSizeAt(int dpi) const;
    void PlaceFrame(int left, int top);
    void KeepFocusUsable();
    void OnBrowseClick();
    void OnAboutClick();
    void OnDeleteClick();
    void OnSelectionClick(SelectionTarget target);
    void OnScanClick();

    // ScanView.
    void SetScanning(bool scanning) override;
    void ClearResults() override;
    void ShowFoundRows() override;
    std::size_t ResultCount() override;
    void SetResultCaption(std::wstring_view text) override;
    void SetStatusText(std::wstring_view text) override;
    bool AllDrivesChecked() override;
    FixedDrives FixedDrivesNow() override;
    std::wstring PathText() override;
    std::uint32_t Milliseconds() override;
    // WalkSink.
    void ShowFolder(const std::wstring& path) override;
    void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) override;
    // DeleteView.
    DeleteAnswer AskDeleteConfirmation() override;
    bool AskDeleteForGood(std::size_t files) override;
    void RowsKept() override;
    void ShowDeleting(const std::wstring& path) override;
    // SelectionView.
    bool ListEnabled(SelectionList list) override;
    std::size_t RowCount(SelectionList list) override;
    void SetRowChecked(SelectionList list, std::size_t row, bool checked) override;
    void RebuildActiveMasks() override;
    // The live display: the status text shown at the next repaint (a later one replaces it
    // unseen), or now (one waiting is dropped); the checked total shown now.
    void ShowStatusSoon(std::wstring text);
    void SetStatusNow(const std::wstring& text);
    void ShowCheckedTotal();
    void RepaintLive() override;

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    // Keeps the window alive while a long command runs nested event handling: a close asked
    // meanwhile stops the command and is carried out once the outermost one has returned.
    class BusyScope {
    public:
        explicit BusyScope(MainWindow& window);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        MainWindow& window_;
    };

    HINSTANCE instance_;
    GdiObject<HFONT> font_;
    int dpi_ = 96;

    ActiveMasks activeMasks_;
    FixedDrives fixedDrives_;
    std::wstring fixedDriveText_;
    ScanState scan_;
    ResultStore rows_;
    ResultList results_{rows_};
    TypeListBox types_;
    StatusBar status_;
    std::wstring pendingStatus_;
    bool statusPending_ = false;
    Pacer pacer_{*this};
    Win32Lister lister_;
    Reflector reflector_;

    HWND lastFocus_ = nullptr;  // the focused control when the window was last deactivated
    bool fillingTypeList_ = false;
    int busyDepth_ = 0;
    bool closePending_ = false;
};

}  // namespace qorvani
