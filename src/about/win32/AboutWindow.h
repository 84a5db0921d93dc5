#pragma once
// The About window: a small modal information window owned by the main window.
#include <windows.h>

#include <string>

#include "common/win32/BaseWindow.h"
#include "common/win32/GdiObject.h"
#include "common/win32/Reflector.h"

namespace qorvani {

inline constexpr wchar_t kAboutWindowClass[] = L"QorvaniAboutWindow";

class AboutWindow final : public BaseWindow<AboutWindow> {
public:
    static constexpr const wchar_t* kClassName = kAboutWindowClass;

    // Creates a fresh About window (with the program's icon, the resource iconId), shows it
    // modally and returns once it has been closed. The owner takes no input meanwhile.
    static void ShowModal(HINSTANCE instance, HWND owner, int iconId);
    // The label's text: the title, an empty line, then lines about the program.
    static std::wstring AboutText();
    static std::wstring ContactText();

private:
    friend class BaseWindow<AboutWindow>;
    AboutWindow(HINSTANCE instance, HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void MakeFonts();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void Close();

    HINSTANCE instance_;
    HWND owner_;
    int dpi_;
    GdiObject<HFONT> font_;
    GdiObject<HFONT> contactFont_;
    Reflector reflector_;
};

}  // namespace qorvani
