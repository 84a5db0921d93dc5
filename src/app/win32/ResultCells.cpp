#include "app/win32/ResultCells.h"

#include "app/core/PathElision.h"
#include "common/win32/WindowClass.h"

namespace qorvani {
namespace {

constexpr UINT_PTR kToolId = 1;
constexpr std::size_t kMaxRememberedFits = 1024;

int TextExtent(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

ResultCells::~ResultCells() {
    if (tip_ != nullptr && IsWindow(tip_)) DestroyWindow(tip_);
}

void ResultCells::Attach(HWND list) {
    list_ = list;
    notified_ = GetParent(list);
    dpi_ = SystemDpi();
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(list, GWLP_HINSTANCE)), nullptr);
    if (tip_ != nullptr) {
        TTTOOLINFOW tool = Tool();
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;  // shown and hidden from here
        tool.lpszText = LPSTR_TEXTCALLBACKW;  // the tool's window is asked, by TTN_GETDISPINFOW
        SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN));
    }
}

TTTOOLINFOW ResultCells::Tool() const {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = notified_;
    tool.uId = kToolId;
    return tool;
}

LRESULT ResultCells::OnCustomDraw(const NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            painting_ = true;
            paintWidth_ = TextWidth();
            measureDc_ = GetWindowDc(list_);
            measureFont_ = SelectInto(measureDc_.Get(), reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0)));
            return CDRF_NOTIFYPOSTPAINT;
        case CDDS_POSTPAINT:
            painting_ = false;
            measureFont_.Reset();  // before the DC it is selected into goes
            measureDc_.Reset();
            return CDRF_DODEFAULT;
    }
    return CDRF_DODEFAULT;
}

std::wstring ResultCells::Text(int row, int column) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.Count()) return std::wstring();
    const auto index = static_cast<std::size_t>(row);
    if (column == 1) return rows_.SizeText(index);
    if (column != 0) return std::wstring();
    std::wstring whole = rows_.DisplayText(index);
    if (!painting_ || !measureDc_) return whole;
    return Fitted(index, whole, paintWidth_);
}

std::wstring ResultCells::TipText(int row) {
    if (row < 0 || list_ == nullptr || static_cast<std::size_t>(row) >= rows_.Count()) return std::wstring();
    std::wstring whole = rows_.DisplayText(static_cast<std::size_t>(row));
    const WindowDc dc = GetWindowDc(list_);
    const SelectedObject font = SelectInto(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0)));
    return TextExtent(dc.Get(), whole) > TextWidth() ? whole : std::wstring();
}

int ResultCells::TextWidth() const {
    RECT label{};
    label.left = LVIR_LABEL;
    if (!SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label))) {
        // No row yet: the column's width less a state image and the margins.
        label.left = 0;
        label.right = static_cast<LONG>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0)) - GetSystemMetrics(SM_CXSMICON);
    }
    // The column may reach past the list's client area (a vertical scroll bar takes its part of
    // the width): the text must end where the cell stops being visible, so that the file name,
    // at the end, is always in view.
    RECT client{};
    GetClientRect(list_, &client);
    if (client.right > 0 && label.right > client.right) label.right = client.right;
    // The list keeps a margin on either side of a cell's text.
    const int margins = 2 * MulDiv(6, dpi_, 96);
    return static_cast<int>(label.right - label.left) - margins;
}

std::wstring ResultCells::Fitted(std::size_t row, const std::wstring& whole, int width) {
    if (width != fitsWidth_ || fits_.size() > kMaxRememberedFits) {
        fits_.clear();
        fitsWidth_ = width;
    }
    auto found = fits_.find(row);
    if (found != fits_.end() && found->second.whole == whole) return found->second.shown;
    HDC dc = measureDc_.Get();
    std::wstring shown = ElidePath(whole, width, [dc](std::wstring_view text) { return TextExtent(dc, text); });
    fits_[row] = Fit{whole, shown};
    return shown;
}

void ResultCells::OnListMessage(UINT message, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            OnMouseMove(lParam);
            break;
        case WM_MOUSEHOVER:
            ShowTip();
            break;
        case WM_MOUSELEAVE:
            HideTip();
            tipRow_ = -1;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MOUSEWHEEL:
        case WM_KEYDOWN:
            HideTip();
            break;
    }
}

// The tip belongs to the row under the pointer: when the pointer comes to rest on a cut row
// (WM_MOUSEHOVER) it shows below the pointer; it hides as soon as the pointer reaches another
// row or leaves the list.
void ResultCells::OnMouseMove(LPARAM lParam) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int row = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row == tipRow_) return;
    HideTip();
    tipRow_ = row;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = list_;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
}

void ResultCells::ShowTip() {
    if (tip_ == nullptr || tipRow_ < 0 || TipText(tipRow_).empty()) return;
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(tipRow_), reinterpret_cast<LPARAM>(&row));
    POINT at{};
    GetCursorPos(&at);
    POINT below{0, row.bottom + 2};
    ClientToScreen(list_, &below);
    TTTOOLINFOW tool = Tool();
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, below.y));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void ResultCells::HideTip() {
    if (tip_ == nullptr) return;
    TTTOOLINFOW tool = Tool();
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

LRESULT ResultCells::OnReflectedNotify(NMHDR& header) {
    if (header.code != TTN_GETDISPINFOW) return 0;
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    tipText_ = TipText(tipRow_);
    info.lpszText = tipText_.data();
    info.szText[0] = L'\0';
    info.hinst = nullptr;
    return 0;
}

}  // namespace qorvani
