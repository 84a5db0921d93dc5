#pragma once
// The status bar: one text across its width, as at start, and while the result list has rows a
// second part at its right end for the checked total, just as wide as the total needs. A status
// text cut short by that part shows whole in the part's tip.
#include <windows.h>

#include <string>

namespace qorvani {

class StatusBar {
public:
    void Attach(HWND bar) { bar_ = bar; }
    HWND Handle() const { return bar_; }
    // The status text.
    void SetText(const std::wstring& text);
    // The checked total, or none (empty): one text across again.
    void SetTotal(const std::wstring& total);
    const std::wstring& Total() const { return total_; }

private:
    int TotalWidth() const;

    HWND bar_ = nullptr;
    std::wstring text_, total_;
    bool split_ = false;
    int totalWidth_ = 0;
};

}  // namespace qorvani
