#include "app/win32/StatusBar.h"

#include <commctrl.h>

#include <algorithm>

#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"

namespace qorvani {

void StatusBar::Attach(HWND bar) {
    bar_ = bar;
    SetWindowSubclass(bar_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

// The bar is sized and given its font by its parent (at start, and on a DPI change, where the
// font comes after the size): the total's part is measured and placed again after each.
LRESULT CALLBACK StatusBar::SubclassProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
    if (message == WM_SIZE || message == WM_SETFONT) reinterpret_cast<StatusBar*>(self)->LayOutParts();
    if (message == WM_NCDESTROY) RemoveWindowSubclass(bar, SubclassProc, 1);
    return result;
}

void StatusBar::LayOutParts() {
    if (!split_) return;
    totalWidth_ = TotalWidth();
    SetParts();
}

void StatusBar::SetParts() {
    RECT client{};
    GetClientRect(bar_, &client);
    const int edges[2] = {std::max(0, static_cast<int>(client.right) - totalWidth_), -1};
    SendMessageW(bar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void StatusBar::SetText(const std::wstring& text) {
    text_ = text;
    if (!split_) {
        SendMessageW(bar_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text_.c_str()));
        return;
    }
    SendMessageW(bar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text_.c_str()));
    SendMessageW(bar_, SB_SETTIPTEXTW, 0, reinterpret_cast<LPARAM>(text_.c_str()));
}

void StatusBar::SetTotal(const std::wstring& total) {
    if (total == total_) return;
    total_ = total;
    if (total_.empty()) {
        if (!split_) return;
        split_ = false;
        totalWidth_ = 0;
        SendMessageW(bar_, SB_SIMPLE, TRUE, 0);
        SetText(text_);
        return;
    }
    // The part grows to fit a longer total and keeps its width for a shorter one, so that the
    // status text does not move to and fro while a pass runs.
    const int width = TotalWidth();
    if (!split_ || width > totalWidth_) {
        totalWidth_ = width;
        SetParts();
    }
    if (!split_) {
        split_ = true;
        SendMessageW(bar_, SB_SIMPLE, FALSE, 0);
        SetText(text_);
    }
    SendMessageW(bar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(total_.c_str()));
}

int StatusBar::TotalWidth() const {
    WindowDc dc = GetWindowDc(bar_);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(bar_, WM_GETFONT, 0, 0));
    SelectedObject selected = SelectInto(dc.Get(), font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), total_.c_str(), static_cast<int>(total_.size()), &extent);
    // The part's edges and the text's margins: about the height of the text.
    return extent.cx + extent.cy;
}

}  // namespace qorvani
