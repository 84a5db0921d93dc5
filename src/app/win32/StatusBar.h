#pragma once
// The status bar: one text across its width, as at start, and while the result list has rows a
// second part at its right end for the checked total: as wide as the total needs, growing for a
// longer total and keeping its width for a shorter one (so the text beside it stays put). A status
// text cut short by that part shows whole in the part's tip. The part is laid out again on every
// change of the bar's size or font.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace qorvani {

class StatusBar {
public:
    // Takes over the bar: the total's part is laid out again whenever the bar's size or font
    // changes (a DPI change), so that it stays within the bar and fits its text.
    void Attach(HWND bar);
    HWND Handle() const { return bar_; }
    // The status text.
    void SetText(const std::wstring& text);
    // The checked total, or none (empty): one text across again.
    void SetTotal(const std::wstring& total);
    const std::wstring& Total() const { return total_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void LayOutParts();
    void SetParts();
    int TotalWidth() const;

    HWND bar_ = nullptr;
    std::wstring text_, total_;
    bool split_ = false;
    int totalWidth_ = 0;
};

}  // namespace qorvani
