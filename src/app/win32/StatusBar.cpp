#include "app/win32/StatusBar.h"

#include <commctrl.h>

#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"

namespace qorvani {

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
        RECT client{};
        GetClientRect(bar_, &client);
        const int edges[2] = {client.right - totalWidth_, -1};
        SendMessageW(bar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
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
