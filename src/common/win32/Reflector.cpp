#include "common/win32/Reflector.h"

namespace qorvani {

ReflectedControl* Reflector::OwnerOf(HWND control) const {
    for (const auto& [handle, owner] : owners_)
        if (handle == control) return owner;
    return nullptr;
}

bool Reflector::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header == nullptr) return false;
        ReflectedControl* owner = OwnerOf(header->hwndFrom);
        if (owner == nullptr) return false;
        result = owner->OnReflectedNotify(*header);
        return true;
    }
    if (message != WM_COMMAND) return false;
    const auto control = reinterpret_cast<HWND>(lParam);
    if (control == nullptr) return false;  // a menu, an accelerator or a dialog key
    const WORD code = HIWORD(wParam);
    if (ReflectedControl* owner = OwnerOf(control)) {
        owner->OnReflectedCommand(code);
        return true;
    }
    for (const auto& [button, onClick] : clicks_) {
        if (button != control) continue;
        if (code != BN_CLICKED || !onClick) return true;
        // A click posted by another program for a disabled button is no click.
        if (!IsWindowEnabled(control)) return true;
        // A copy runs: the handler may destroy the window that holds this Reflector.
        const std::function<void()> run = onClick;
        run();
        return true;
    }
    return false;
}

}  // namespace qorvani
