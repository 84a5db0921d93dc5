#pragma once
// The notifications (WM_NOTIFY) and commands (WM_COMMAND) that controls send their parent,
// handed to the object that owns each control, as SumatraPDF's TryReflectMessages does: the
// parent keeps one Reflector, passes it those two messages first, and switches on no child's id.
// A button's owner sets what its click does (OnClick); a control with more to say (a list view)
// has an owner object that implements ReflectedControl.
//
// A command raised without a control (IDOK, IDCANCEL from the dialog keys) is not reflected: the
// parent handles it. A click handler may destroy the parent, and this Reflector with it: nothing
// is touched after it has run.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace qorvani {

// The owner of a control, as the Reflector reaches it.
class ReflectedControl {
public:
    // A WM_NOTIFY that the control sent; the result is the message's.
    virtual LRESULT OnReflectedNotify(NMHDR& header) = 0;
    // A WM_COMMAND that the control sent, with its notification code.
    virtual void OnReflectedCommand(WORD) {}

protected:
    ~ReflectedControl() = default;
};

class Reflector {
public:
    // The control's messages go to owner from now on.
    void Add(HWND control, ReflectedControl& owner) { owners_.emplace_back(control, &owner); }
    // A click (BN_CLICKED) of the button runs onClick, while the button is enabled.
    void OnClick(HWND button, std::function<void()> onClick) { clicks_.emplace_back(button, std::move(onClick)); }
    // A WM_NOTIFY or WM_COMMAND from a control that has an owner or a click: handed to it; true,
    // with the message's result. False for any other message, which the parent handles itself.
    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    ReflectedControl* OwnerOf(HWND control) const;

    std::vector<std::pair<HWND, ReflectedControl*>> owners_;
    std::vector<std::pair<HWND, std::function<void()>>> clicks_;
};

}  // namespace qorvani
