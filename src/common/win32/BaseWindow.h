#pragma once
// The one way this program ties a window to its C++ object. A window class is a class Derived
// that derives from BaseWindow<Derived>, names its window class in kClassName and answers its
// messages in HandleMessage (the base's window procedure forwards every message there).
//
// Who owns the object, and when:
// - MakeWindow hands the object to the window as a std::unique_ptr. The window takes it at
//   WM_NCCREATE and deletes it at WM_NCDESTROY, also when the creation fails after WM_NCCREATE
//   (a FALSE there, a -1 at WM_CREATE: the system still sends WM_NCDESTROY). A creation that
//   fails before WM_NCCREATE never took the object, and the unique_ptr frees it. So the object
//   is deleted exactly once, whatever happens.
// - A window made by class name alone (CreateWindowExW with no creation parameter, as the
//   layout tables make their controls) gets its object from Derived::MadeByName(), when Derived
//   has one; a class without it refuses such a window instead of running without an object.
// The creation parameter of these windows is the base's own: nobody else passes one.
#include <windows.h>

#include <cwchar>
#include <memory>

#include "common/win32/WindowClass.h"

namespace qorvani {

template <typename Derived>
class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND Handle() const { return hwnd_; }

    // The object behind a window of this class in this process, or nullptr (another class,
    // another process's window, a window being made before WM_NCCREATE or already gone).
    static Derived* FromHandle(HWND window) {
        wchar_t name[64] = {};
        if (window == nullptr || !GetClassNameW(window, name, 64) || std::wcscmp(name, Derived::kClassName) != 0)
            return nullptr;
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId()) return nullptr;
        return reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;

    // Registers Derived::kClassName with the base's window procedure; true also when it is
    // registered already.
    static bool RegisterClassOnce(HINSTANCE instance, const WindowClassOptions& options) {
        return RegisterWindowClass(instance, Derived::kClassName, &WindowProcedure, options);
    }

    // Makes a window of the class for the object (see the top of this file for who deletes
    // it). Returns the window, or nullptr when none was made.
    static HWND MakeWindow(std::unique_ptr<Derived> object, DWORD exStyle, const wchar_t* text, DWORD style,
                           const RECT& frame, HWND parent, HMENU menu, HINSTANCE instance) {
        return CreateWindowExW(exStyle, Derived::kClassName, text, style, frame.left, frame.top,
                               frame.right - frame.left, frame.bottom - frame.top, parent, menu, instance, &object);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) return Adopt(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam), wParam, lParam);
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
        if (message != WM_NCDESTROY) return self->HandleMessage(message, wParam, lParam);
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
        return result;
    }

    // WM_NCCREATE: the window takes its object, then the object sees the message.
    static LRESULT Adopt(HWND window, const CREATESTRUCTW& create, WPARAM wParam, LPARAM lParam) {
        std::unique_ptr<Derived> object;
        if (create.lpCreateParams != nullptr) {
            object = std::move(*static_cast<std::unique_ptr<Derived>*>(create.lpCreateParams));
        } else if constexpr (requires { Derived::MadeByName(); }) {
            object = Derived::MadeByName();
        }
        if (object == nullptr) return FALSE;  // no object, no window
        Derived* self = object.release();
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self->HandleMessage(WM_NCCREATE, wParam, lParam);
    }
};

}  // namespace qorvani
