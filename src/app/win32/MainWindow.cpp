#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "about/win32/AboutWindow.h"
#include "app/core/FixedDrives.h"
#include "app/core/Layout.h"
#include "app/core/RowSearch.h"
#include "app/win32/ListViews.h"
#include "app/win32/WindowFont.h"
#include "catalogue/win32/ResourceStrings.h"
#include "clean/win32/ShellFileDelete.h"
#include "common/core/TrimAtNul.h"
#include "common/win32/MessagePump.h"
#include "common/win32/WindowClass.h"
#include "controls/core/PropertyBag.h"
#include "controls/win32/FlatButton.h"
#include "scan/core/NumberText.h"
#include "scan/core/ScanRoots.h"
#include "scan/win32/FolderDialog.h"

namespace qorvani {
namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int ScanControlId(ScanControl control) {
    switch (control) {
        case ScanControl::List1: return kIdList1;
        case ScanControl::List2: return kIdList2;
        case ScanControl::FlatCommand4_0: return kIdFlatCommand4_0;
        case ScanControl::FlatCommand4_1: return kIdFlatCommand4_1;
        case ScanControl::FlatCommand4_2: return kIdFlatCommand4_2;
        case ScanControl::FlatCommand4_3: return kIdFlatCommand4_3;
        case ScanControl::FlatCommand1: return kIdFlatCommand1;
        case ScanControl::FlatCommand2: return kIdFlatCommand2;
        case ScanControl::FlatCommand3: return kIdFlatCommand3;
        case ScanControl::FlatCommand7: return kIdFlatCommand7;
        case ScanControl::Check1: return kIdCheck1;
        case ScanControl::Text1: return kIdText1;
    }
    return 0;
}

// Copies text into a list view's display buffer, cut to its size.
void CopyDisplayText(const std::wstring& text, wchar_t* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
}

// Type-to-find: the row whose display text begins with (or is) the typed text, or -1.
LRESULT FindResultRow(const NMLVFINDITEMW& find, const ResultStore& results) {
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || find.lvfi.psz == nullptr) return -1;
    const RowSearch search{find.lvfi.psz, (find.lvfi.flags & LVFI_PARTIAL) != 0,
                           find.iStart > 0 ? static_cast<std::size_t>(find.iStart) : 0,
                           (find.lvfi.flags & LVFI_WRAP) != 0};
    return FindRow(search, results.Count(), [&results](std::size_t row) { return results.DisplayText(row); });
}

}  // namespace

MainWindow::BusyScope::~BusyScope() {
    if (--window_.busyDepth_ == 0 && window_.closePending_) PostMessageW(window_.hwnd_, WM_CLOSE, 0, 0);
}

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), font_(CreateWindowFont(SystemDpi())), dpi_(SystemDpi()) {}

bool MainWindow::Register(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RegisterFlatButtonClass(instance) &&
           RegisterProgramWindowClass(instance, kMainWindowClass, ObjectWindowProc<MainWindow>);
}

HWND MainWindow::Create(HINSTANCE instance, int showCommand) {
    if (!Register(instance)) return nullptr;
    auto* self = new MainWindow(instance);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const RECT frame = CentredFrame(TwipsToPixels(kMainClientWidthTwips, self->dpi_),
                                    TwipsToPixels(kMainClientHeightTwips, self->dpi_), style, 0);
    HWND window = CreateWindowExW(0, kMainWindowClass, kMainCaption, style, frame.left, frame.top,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, self);
    if (window == nullptr) {
        delete self;
        return nullptr;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

MainWindow* MainWindow::FromHandle(HWND window) {
    wchar_t name[64] = {};
    if (!GetClassNameW(window, name, 64) || std::wstring_view(name) != kMainWindowClass) return nullptr;
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            StartUp();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

RECT MainWindow::PixelRect(int id) const {
    const ControlLayout* row = FindControl(kMainLayout, id);
    const int left = TwipsToPixels(row->left, dpi_);
    const int top = TwipsToPixels(row->top, dpi_);
    return RECT{left, top, left + TwipsToPixels(row->width, dpi_), top + TwipsToPixels(row->height, dpi_)};
}

HWND MainWindow::CreateFromLayout(int id) {
    const ControlLayout* row = FindControl(kMainLayout, id);
    const RECT r = PixelRect(id);
    const std::wstring text(row->text);
    HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HWND control = nullptr;
    switch (row->kind) {
        case ControlKind::FlatButton: {
            PropertyBag stored;
            stored.Write(L"captain", text);
            control = CreateFlatButton(hwnd_, id, std::wstring(row->name).c_str(), &stored, r.left, r.top,
                                       r.right - r.left, r.bottom - r.top, instance_);
            break;
        }
        case ControlKind::Label:
            control = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                      r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_, menu, instance_,
                                      nullptr);
            break;
        case ControlKind::TextBox:
            control = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, r.left, r.top,
                                      r.right - r.left, r.bottom - r.top, hwnd_, menu, instance_, nullptr);
            break;
        case ControlKind::CheckBox:
            control = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                      r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_, menu, instance_,
                                      nullptr);
            break;
        case ControlKind::ListView:
            if (id == kIdList1)
                control = CreateCheckList(hwnd_, id, r, kList1Columns, std::size(kList1Columns), dpi_, true, instance_);
            else
                control = CreateCheckList(hwnd_, id, r, kList2Columns, std::size(kList2Columns), dpi_, false, instance_);
            break;
        case ControlKind::StatusBar:
            control = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                      WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                                      r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_, menu, instance_,
                                      nullptr);
            SendMessageW(control, SB_SIMPLE, TRUE, 0);
            break;
    }
    if (control != nullptr && font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
}

void MainWindow::CreateControls() {
    // In tab order, so that the z order is the tab order.
    for (const ControlLayout& row : kMainLayout) CreateFromLayout(row.id);
    list1_ = Control(kIdList1);
    list2_ = Control(kIdList2);
    status_ = Control(kIdStatusBar1);
    SetWindowSubclass(list1_, List1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    pathCells_.Attach(list1_, [this](std::size_t row) { return results_.DisplayText(row); });
}

void MainWindow::StartUp() {
    activeMasks_.Reset();
    SetStatusNow(kStartupPrompt);
    ResourceStrings strings(instance_);
    fillingTypeList_ = true;
    FillTypeList(strings, *this);
    fillingTypeList_ = false;
    FlattenListHeader(list1_, hwnd_);
    FlattenListHeader(list2_, hwnd_);
    DiscoverFixedDrives();
}

void MainWindow::DiscoverFixedDrives() {
    std::wstring buffer(255, L'\0');
    GetLogicalDriveStringsW(255, buffer.data());
    CollectFixedDrives(buffer, [](const std::wstring& root) { return GetDriveTypeW(root.c_str()); }, fixedDrives_,
                       fixedDriveText_);
}

void MainWindow::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case kIdFlatCommand1: {
            BusyScope busy(*this);
            ShellFileDelete shell(hwnd_);
            DeleteCommandClick(*this, shell);
            break;
        }
        case kIdFlatCommand2:
            OnAboutClick();
            break;
        case kIdFlatCommand3:
            OnClose();
            break;
        case kIdFlatCommand4_0:
        case kIdFlatCommand4_1:
        case kIdFlatCommand4_2:
        case kIdFlatCommand4_3: {
            BusyScope busy(*this);
            const int index = id == kIdFlatCommand4_0 ? 0 : id == kIdFlatCommand4_1 ? 1 : id == kIdFlatCommand4_2 ? 2 : 3;
            SelectionClick(index, *this);
            RefreshNow();
            break;
        }
        case kIdFlatCommand6: {
            BusyScope busy(*this);
            ScanCommandClick(*this, *this, lister_, activeMasks_, fixedDrives_, scan_);
            break;
        }
        case kIdFlatCommand7:
            OnBrowseClick();
            break;
        case kIdCheck1:
            OnCheck1Click();
            break;
    }
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

LRESULT MainWindow::OnNotify(NMHDR* header) {
    if (header->idFrom == static_cast<UINT_PTR>(kIdList1)) {
        switch (header->code) {
            case LVN_GETDISPINFOW:
                OnList1GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
                return 0;
            case LVN_BEGINLABELEDITW:
                return TRUE;  // in-place editing is refused
            case NM_CUSTOMDRAW:
                return pathCells_.OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
            case LVN_ODFINDITEMW:
                return FindResultRow(*reinterpret_cast<NMLVFINDITEMW*>(header), results_);
        }
    } else if (header->idFrom == static_cast<UINT_PTR>(kIdList2)) {
        switch (header->code) {
            case LVN_BEGINLABELEDITW:
                return TRUE;
            case LVN_ITEMCHANGED: {
                const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
                if (!fillingTypeList_ && (change->uChanged & LVIF_STATE) &&
                    ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
                    RebuildActiveMasks();
                return 0;
            }
        }
    }
    return 0;
}

void MainWindow::OnList1GetDispInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= results_.Count()) {
        if (item.mask & LVIF_TEXT) CopyDisplayText(std::wstring(), item.pszText, item.cchTextMax);
        return;
    }
    const auto row = static_cast<std::size_t>(item.iItem);
    if (item.mask & LVIF_TEXT) {
        if (item.iSubItem == 0)
            CopyDisplayText(pathCells_.CellText(row), item.pszText, item.cchTextMax);
        else if (item.iSubItem == 1)
            CopyDisplayText(results_.SizeText(row), item.pszText, item.cchTextMax);
        else
            CopyDisplayText(std::wstring(), item.pszText, item.cchTextMax);
    }
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(results_.Checked(row) ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

LRESULT CALLBACK MainWindow::List1Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
    if (reinterpret_cast<MainWindow*>(self)->OnList1Input(message, wParam, lParam)) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, List1Proc, 1);
    return DefSubclassProc(list, message, wParam, lParam);
}

// The result list holds no rows of its own, so its check boxes are toggled here: a click on a
// row's check box, or the space bar on the focused row.
bool MainWindow::OnList1Input(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            LVHITTESTINFO hit{};
            hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int row = static_cast<int>(SendMessageW(list1_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
            SetFocus(list1_);
            ToggleResultRow(row);
            return true;
        }
        case WM_KEYDOWN:
            if (wParam != VK_SPACE) return false;
            ToggleResultRow(static_cast<int>(SendMessageW(list1_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
            return true;
        case WM_CHAR:
            return wParam == L' ';
    }
    return false;
}

void MainWindow::ToggleResultRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= results_.Count()) return;
    results_.SetChecked(static_cast<std::size_t>(row), !results_.Checked(static_cast<std::size_t>(row)));
    SendMessageW(list1_, LVM_REDRAWITEMS, row, row);
}

void MainWindow::OnCheck1Click() {
    const bool checked = SendMessageW(Control(kIdCheck1), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const AllDrivesEffect effect = AllDrivesClicked(checked, fixedDriveText_);
    SetWindowTextW(Control(kIdText1), effect.pathText.c_str());
    EnableWindow(Control(kIdText1), effect.pathBoxEnabled);
    EnableWindow(Control(kIdFlatCommand7), effect.browseEnabled);
}

void MainWindow::OnBrowseClick() {
    if (auto path = PathFromBrowse(FPath(hwnd_, kFolderDialogTitle))) SetWindowTextW(Control(kIdText1), path->c_str());
}

void MainWindow::OnAboutClick() {
    BusyScope busy(*this);
    AboutWindow::ShowModal(instance_, hwnd_);
}

// --- live display ---

void MainWindow::RefreshIfDue() {
    if (GetTickCount() - lastRefresh_ >= kRefreshMilliseconds) RefreshNow();
}

void MainWindow::RefreshNow() {
    lastRefresh_ = GetTickCount();
    if (folderPending_) {
        folderPending_ = false;
        SetStatusNow(kScanningFolderPrefix + pendingFolder_);
    }
    if (shownCount_ != results_.Count() &&
        (NewRowsWouldShow() || lastRefresh_ - lastCountSync_ >= countSyncInterval_)) {
        LARGE_INTEGER frequency, before, after;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&before);
        SyncResultCount();
        QueryPerformanceCounter(&after);
        const auto costMs = static_cast<DWORD>((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart);
        lastCountSync_ = lastRefresh_;
        countSyncInterval_ = std::min(kMaxCountSyncMilliseconds, costMs * kCountSyncCostShare);
    }
    if (rowsDirty_) {
        rowsDirty_ = false;
        InvalidateRect(list1_, nullptr, FALSE);
    }
    // The walk handles no messages unless input waits, so paint now rather than wait for it.
    UpdateWindow(status_);
    UpdateWindow(list1_);
    ++refreshCount_;
}

// True when the list shows empty space below its last row: rows added now would be seen.
bool MainWindow::NewRowsWouldShow() const {
    const auto top = static_cast<std::size_t>(SendMessageW(list1_, LVM_GETTOPINDEX, 0, 0));
    const auto perPage = static_cast<std::size_t>(SendMessageW(list1_, LVM_GETCOUNTPERPAGE, 0, 0));
    return top + perPage >= shownCount_;
}

void MainWindow::SyncResultCount() {
    if (shownCount_ == results_.Count()) return;
    shownCount_ = results_.Count();
    SendMessageW(list1_, LVM_SETITEMCOUNT, shownCount_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void MainWindow::SetStatusNow(const std::wstring& text) {
    SendMessageW(status_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- ScanView ---

std::wstring MainWindow::ScanCaption() { return WindowText(Control(kIdFlatCommand6)); }

void MainWindow::SetScanCaption(std::wstring_view caption) {
    SetWindowTextW(Control(kIdFlatCommand6), std::wstring(caption).c_str());
}

void MainWindow::ClearResults() {
    results_.Clear();
    shownCount_ = 0;
    SendMessageW(list1_, LVM_SETITEMCOUNT, 0, 0);
    InvalidateRect(list1_, nullptr, TRUE);
    refreshCount_ = 0;
    countSyncInterval_ = 0;
    inputCheckDue_ = true;  // the first folder of a scan always looks
}

std::size_t MainWindow::ResultCount() {
    SyncResultCount();
    return results_.Count();
}

void MainWindow::SetResultCaption(std::wstring_view text) {
    SetWindowTextW(Control(kIdLabel1), std::wstring(text).c_str());
}

void MainWindow::SetStatusText(std::wstring_view text) {
    folderPending_ = false;  // a later text replaces a folder not yet shown
    SyncResultCount();
    SetStatusNow(std::wstring(text));
}

void MainWindow::SetEnabled(ScanControl control, bool enabled) { EnableWindow(Control(ScanControlId(control)), enabled); }

bool MainWindow::AllDrivesChecked() { return SendMessageW(Control(kIdCheck1), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::wstring MainWindow::PathText() { return WindowText(Control(kIdText1)); }

void MainWindow::LetPendingEventsRun() { PumpPendingMessages(); }

std::uint32_t MainWindow::Milliseconds() { return timeGetTime(); }

// --- WalkSink ---

void MainWindow::ShowFolder(const std::wstring& path) {
    pendingFolder_ = path;
    folderPending_ = true;
    RefreshIfDue();
}

void MainWindow::LetWaitingInputRun() {
    const DWORD now = GetTickCount();
    if (!inputCheckDue_ && now - lastInputCheck_ < kInputCheckMilliseconds) return;
    inputCheckDue_ = false;
    lastInputCheck_ = now;
    if (InputWaiting()) PumpPendingMessages();
}

void MainWindow::AppendMatch(const std::wstring& folder, std::wstring_view name, std::wstring_view, std::uint64_t size) {
    results_.Append(folder, name, size);
    RefreshIfDue();
}

// --- DeleteView ---

DeleteAnswer MainWindow::AskDeleteConfirmation() {
    switch (MessageBoxW(hwnd_, kDeleteQuestion, kDeleteTitle, MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3)) {
        case IDYES: return DeleteAnswer::Yes;
        case IDNO: return DeleteAnswer::No;
        default: return DeleteAnswer::Cancel;
    }
}

std::size_t MainWindow::RowCount() { return results_.Count(); }

bool MainWindow::RowChecked(std::size_t row) { return results_.Checked(row); }

std::wstring MainWindow::RowPath(std::size_t row) { return results_.ExactPath(row); }

std::wstring MainWindow::RowName(std::size_t row) { return results_.Name(row); }

void MainWindow::KeepRows(const std::vector<std::size_t>& rows) {
    results_.KeepRows(rows);
    shownCount_ = results_.Count();
    SendMessageW(list1_, LVM_SETITEMCOUNT, shownCount_, 0);
    InvalidateRect(list1_, nullptr, TRUE);
}

// --- SelectionView ---

bool MainWindow::ListEnabled(SelectionList list) {
    return IsWindowEnabled(list == SelectionList::Results ? list1_ : list2_) != FALSE;
}

std::size_t MainWindow::RowCount(SelectionList list) {
    // A close asked during a pass empties the lists as far as the pass can see, so it ends.
    if (closePending_) return 0;
    return list == SelectionList::Results ? results_.Count() : TypeRowCount();
}

void MainWindow::SetRowChecked(SelectionList list, std::size_t row, bool checked) {
    if (list == SelectionList::Results) {
        results_.SetChecked(row, checked);
        rowsDirty_ = true;
        return;
    }
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list2_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void MainWindow::RebuildActiveMasks() { qorvani::RebuildActiveMasks(*this, activeMasks_); }

void MainWindow::YieldToEvents() {
    RefreshIfDue();
    PumpPendingMessages();
}

// --- TypeListView ---

void MainWindow::AddTypeRow(const std::wstring& mask, const std::wstring& description) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(TypeRowCount());
    std::wstring text = mask;
    item.pszText = text.data();
    const int row = static_cast<int>(SendMessageW(list2_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW sub{};
    sub.iSubItem = 1;
    std::wstring descriptionText = description;
    sub.pszText = descriptionText.data();
    SendMessageW(list2_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
}

std::size_t MainWindow::TypeRowCount() { return static_cast<std::size_t>(SendMessageW(list2_, LVM_GETITEMCOUNT, 0, 0)); }

bool MainWindow::TypeRowChecked(std::size_t row) {
    return ((SendMessageW(list2_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::wstring MainWindow::TypeRowText(std::size_t row) {
    wchar_t buffer[MAX_PATH] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH;
    const auto length = SendMessageW(list2_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

}  // namespace qorvani
