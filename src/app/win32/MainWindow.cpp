#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <memory>
#include <vector>

#include "about/win32/AboutWindow.h"
#include "app/core/Layout.h"
#include "common/win32/ListViews.h"
#include "app/win32/WindowFont.h"
#include "app/win32/resource.h"
#include "catalogue/win32/ResourceStrings.h"
#include "clean/win32/ShellFileDelete.h"
#include "common/win32/ControlFactory.h"
#include "common/win32/MessagePump.h"
#include "common/win32/WindowClass.h"
#include "controls/win32/FlatButton.h"
#include "scan/core/ScanRoots.h"
#include "scan/win32/FixedDriveDiscovery.h"
#include "scan/win32/FolderDialog.h"

namespace qorvani {
namespace {
// Sent before a DPI change on Windows 10 1703 and later; the SDK names it only for that target.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE
}  // namespace

MainWindow::BusyScope::BusyScope(MainWindow& window) : window_(window) {
    ++window_.busyDepth_;
    window_.results_.SetBusy(true);
}

MainWindow::BusyScope::~BusyScope() {
    if (--window_.busyDepth_ > 0) return;
    window_.results_.SetBusy(false);
    if (window_.closePending_) PostMessageW(window_.hwnd_, WM_CLOSE, 0, 0);
}

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), font_(CreateWindowFont(SystemDpi())), dpi_(SystemDpi()) {}

int MainWindow::Dpi() const { return dpi_; }

bool MainWindow::Register(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RegisterFlatButtonClass(instance) &&
           RegisterClassOnce(instance, {.iconId = IDI_QORVANI, .buttonFaceBackground = true});
}

HWND MainWindow::Create(HINSTANCE instance, int showCommand) {
    if (!Register(instance)) return nullptr;
    auto self = std::unique_ptr<MainWindow>(new MainWindow(instance));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const RECT frame = CentredFrame(TwipsToPixels(kMainClientWidthTwips, self->dpi_),
                                    TwipsToPixels(kMainClientHeightTwips, self->dpi_), style, 0);
    HWND window = MakeWindow(std::move(self), 0, text::kMainCaption, style, frame, nullptr, nullptr, instance);
    if (window == nullptr) return nullptr;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            AdoptWindowDpi();
            CreateControls();
            StartUp();
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY: {
            // Each control's own, handed to its owner; the others (a dialog key's IDOK or
            // IDCANCEL, the status bar's) are not handled.
            LRESULT result = 0;
            reflector_.Reflect(message, wParam, lParam, result);
            return result;
        }
        case kGetDpiScaledSize: {
            // The frame that holds the layout at the coming DPI, not the frame scaled as a whole.
            const PixelSize size = FrameSizeAt(static_cast<int>(wParam));
            *reinterpret_cast<SIZE*>(lParam) = SIZE{size.width, size.height};
            return TRUE;
        }
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            return OnActivate(LOWORD(wParam), wParam, lParam);
        case DM_GETDEFID:
            // Enter in the path box starts the scan, as a dialog's default button would; Enter
            // elsewhere stays with the control that has the focus.
            if (GetFocus() == Control(kIdPathBox)) return MAKELRESULT(kIdScanButton, DC_HASDEFID);
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            OnSystemChange(message, wParam, lParam);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::CreateControls() {
    // In tab order, so that the z order is the tab order.
    const ControlSettings settings{instance_, dpi_, font_.Get(), kFlatButtonClassName};
    for (const ControlLayout& row : kMainLayout) CreateLayoutControl(hwnd_, row, settings);
    // Focus rectangles hidden or shown as the last input (mouse or keyboard) suggests.
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    results_.Attach(
        Control(kIdResultList), [this] { ShowCheckedTotal(); },
        [this] {
            // Delete on the list is the delete button, while the button can be clicked.
            if (IsWindowEnabled(Control(kIdDeleteButton))) OnDeleteClick();
        });
    types_.Attach(Control(kIdTypeList), [this] {
        if (!fillingTypeList_) RebuildActiveMasks();
    });
    status_.Attach(Control(kIdStatusBar));
    pacer_.Attach(hwnd_);
    ConnectControls();
}

// Every control's notifications and clicks go to what handles them.
void MainWindow::ConnectControls() {
    reflector_.Add(results_.Handle(), results_);
    if (const HWND tip = results_.Cells().Tip()) reflector_.Add(tip, results_.Cells());
    reflector_.Add(types_.Handle(), types_);
    reflector_.OnClick(Control(kIdDeleteButton), [this] { OnDeleteClick(); });
    reflector_.OnClick(Control(kIdAboutButton), [this] { OnAboutClick(); });
    reflector_.OnClick(Control(kIdExitButton), [this] { OnClose(); });
    for (const SelectionButton& button : kSelectionButtons)
        reflector_.OnClick(Control(button.id), [this, target = button.target] { OnSelectionClick(target); });
    reflector_.OnClick(Control(kIdScanButton), [this] { OnScanClick(); });
    reflector_.OnClick(Control(kIdBrowseButton), [this] { OnBrowseClick(); });
    reflector_.OnClick(Control(kIdAllDrivesBox), [this] { OnAllDrivesClick(); });
}

void MainWindow::StartUp() {
    activeMasks_.clear();
    SetStatusNow(text::kStartupPrompt);
    ResourceStrings strings(instance_);
    fillingTypeList_ = true;
    FillTypeList(strings, types_);
    fillingTypeList_ = false;
    ToggleHeaderButtons(results_.Handle());
    ToggleHeaderButtons(types_.Handle());
    DiscoverFixedDrives();
}

void MainWindow::DiscoverFixedDrives() { qorvani::DiscoverFixedDrives(fixedDrives_, fixedDriveText_); }

// Disks come and go while the program runs: each scan of all drives finds them anew, and the
// path box shows the drives it walks.
FixedDrives MainWindow::FixedDrivesNow() {
    DiscoverFixedDrives();
    if (AllDrivesChecked()) SetWindowTextW(Control(kIdPathBox), fixedDriveText_.c_str());
    return fixedDrives_;
}

void MainWindow::OnDeleteClick() {
    BusyScope busy(*this);
    ShellFileDelete shell(hwnd_, pacer_);
    results_.RememberPointedRows();  // the rows are rebuilt by file, not by number
    DeleteCommandClick(*this, rows_, shell, pacer_);
}

void MainWindow::OnSelectionClick(SelectionTarget target) {
    BusyScope busy(*this);
    CheckEvents& events =
        target.list == SelectionList::Types ? types_.ProgramCheckEvents() : results_.ProgramCheckEvents();
    events.BeginPass(RowCount(target.list));
    SelectionClick(target, *this, pacer_);
    events.EndPass();
}

void MainWindow::OnScanClick() {
    BusyScope busy(*this);
    ScanCommandClick(*this, *this, pacer_, lister_, activeMasks_, scan_);
}

void MainWindow::OnClose() {
    if (busyDepth_ > 0) {
        // A command is running further down this thread's stack: stop it, and close when it
        // has returned (BusyScope posts the close again).
        closePending_ = true;
        scan_.stopRequested = true;
        return;
    }
    DestroyWindow(hwnd_);
}

// As a dialog does: the control that had the focus when the window lost the activation (to the
// About window, a question, another program) has it again when the window is active again.
LRESULT MainWindow::OnActivate(WORD state, WPARAM wParam, LPARAM lParam) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        lastFocus_ = focus != nullptr && IsChild(hwnd_, focus) ? focus : nullptr;
        return 0;
    }
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) && IsWindowEnabled(lastFocus_) &&
        !IsIconic(hwnd_)) {
        SetFocus(lastFocus_);
        return 0;
    }
    return DefWindowProcW(hwnd_, WM_ACTIVATE, wParam, lParam);
}

// The window is created at the system DPI; the monitor it stands on may have another (a
// per-monitor aware program on Windows 10 and later): it is laid out at that one before the first
// paint, around the same centre.
void MainWindow::AdoptWindowDpi() {
    const int dpi = WindowDpi(hwnd_);
    if (dpi != dpi_) {
        dpi_ = dpi;
        font_.Reset(CreateWindowFont(dpi));
    }
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const PixelRect placed = AroundCentreOf({frame.left, frame.top, frame.right, frame.bottom}, FrameSizeAt(dpi_));
    PlaceFrame(placed.left, placed.top);
}

PixelSize MainWindow::FrameSizeAt(int dpi) const {
    return FrameForClient(ClientPixels(kMainClientWidthTwips, kMainClientHeightTwips, dpi),
                          FrameMarginsAt(static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                         static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi));
}

// The frame at (left, top), sized to hold the layout's client area at the window's DPI; where the
// system draws the frame at another DPI than the one asked (one that scales no frame), it is
// mended by what the frame really takes.
void MainWindow::PlaceFrame(int left, int top) {
    const PixelSize frame = FrameSizeAt(dpi_);
    SetWindowPos(hwnd_, nullptr, left, top, frame.width, frame.height, SWP_NOZORDER | SWP_NOACTIVATE);
    const PixelSize wanted = ClientPixels(kMainClientWidthTwips, kMainClientHeightTwips, dpi_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right == wanted.width && client.bottom == wanted.height) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.width + wanted.width - client.right, frame.height + wanted.height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window moved to a monitor of another DPI (or the monitor's scale changed): the same layout
// table at the new DPI, a font made for it (the status bar lays its parts out again for it), then
// the frame at the place the system suggests.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    dpi_ = dpi;
    // The old font goes only once no control uses it any more.
    const HFONT made = CreateWindowFont(dpi);
    fillingTypeList_ = true;  // the type list's boxes are kept as they are while its images are made anew
    PlaceLayoutControls(hwnd_, kMainLayout, dpi, made);
    fillingTypeList_ = false;
    font_.Reset(made);
    results_.Cells().SetDpi(dpi);
    PlaceFrame(suggested.left, suggested.top);
}

void MainWindow::OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam) {
    // Child windows hear of colour and setting changes only from their parent.
    ForwardToChildren(hwnd_, message, wParam, lParam);
    ApplyListColours(results_.Handle());
    ApplyListColours(types_.Handle());
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::OnAllDrivesClick() {
    if (AllDrivesChecked()) DiscoverFixedDrives();
    const AllDrivesEffect effect = AllDrivesClicked(AllDrivesChecked(), fixedDriveText_);
    SetWindowTextW(Control(kIdPathBox), effect.pathText.c_str());
    EnableWindow(Control(kIdPathBox), effect.pathBoxEnabled);
    EnableWindow(Control(kIdBrowseButton), effect.browseEnabled);
}

void MainWindow::OnBrowseClick() {
    if (auto path = PathFromBrowse(ChooseFolder(hwnd_, text::kFolderDialogTitle))) SetWindowTextW(Control(kIdPathBox), path->c_str());
}

void MainWindow::OnAboutClick() {
    BusyScope busy(*this);
    AboutWindow::ShowModal(instance_, hwnd_, IDI_QORVANI);
}

// --- ScanView: the inputs while a scan runs ---

void MainWindow::SetScanning(bool scanning) {
    // In this order; the result list stays enabled (rows can be checked as they come) and so
    // does the scan button, which becomes the stop button.
    const bool allDrives = AllDrivesChecked();
    if (scanning) KeepFocusUsable();
    if (!scanning) EnableWindow(Control(kIdResultList), TRUE);
    for (int id : {kIdTypeList, kIdCheckAllResultsButton, kIdCheckNoResultsButton, kIdCheckAllTypesButton, kIdCheckNoTypesButton,
                   kIdDeleteButton, kIdAboutButton, kIdExitButton})
        EnableWindow(Control(id), !scanning);
    SetWindowTextW(Control(kIdScanButton), scanning ? text::kStopCaption : text::kStartScanCaption);
    EnableWindow(Control(kIdBrowseButton), !scanning && !allDrives);
    EnableWindow(Control(kIdAllDrivesBox), !scanning);
    EnableWindow(Control(kIdPathBox), !scanning && !allDrives);
}

// A scan disables every input but the result list and the scan button: a focus sitting on
// one of the others moves to the scan button, so that the keyboard keeps working (Space stops).
void MainWindow::KeepFocusUsable() {
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(hwnd_, focus)) return;
    const HWND results = Control(kIdResultList);
    if (focus == results || IsChild(results, focus) || focus == Control(kIdScanButton)) return;
    SetFocus(Control(kIdScanButton));
}

}  // namespace qorvani
