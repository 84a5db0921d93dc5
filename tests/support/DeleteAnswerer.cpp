#include "DeleteAnswerer.h"

#include "app/win32/MainWindow.h"
#include "clean/core/DeleteCommand.h"
#include "common/core/Texts.h"

namespace qorvani::drive {
namespace {

struct WindowsOf {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindowsOf(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<WindowsOf*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->process && IsWindowVisible(window)) found->windows.push_back(window);
    return TRUE;
}

// Texts read without a message: safe whichever thread or process owns the window.
std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    if (window != nullptr) InternalGetWindowText(window, text, 512);
    return text;
}

}  // namespace

DeleteAnswerer::DeleteAnswerer(int answer, DWORD processId)
    : process_(processId), answer_(answer), thread_([this] { Run(); }) {}

DeleteAnswerer::~DeleteAnswerer() { Stop(); }

void DeleteAnswerer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<DeleteAnswerer::Question> DeleteAnswerer::Answered() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return answered_;
}

std::vector<std::wstring> DeleteAnswerer::OtherBoxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return otherBoxes_;
}

std::vector<std::wstring> DeleteAnswerer::OtherWindows() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return otherWindows_;
}

void DeleteAnswerer::Run() {
    for (;;) {
        const bool last = stop_.load();  // set before this look began: the look sees all before Stop
        Look();
        if (last) return;
        Sleep(5);
    }
}

void DeleteAnswerer::Look() {
    WindowsOf found{process_, {}};
    EnumWindows(CollectWindowsOf, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found.windows) {
        wchar_t className[64] = {};
        if (GetClassNameW(window, className, 64) == 0) continue;  // gone since the listing
        const std::wstring cls = className;
        if (cls == kMainWindowClass || cls == L"tooltips_class32") continue;
        const std::wstring title = TextOf(window);
        const bool fresh = seen_.insert(window).second;
        if (cls == L"#32770" && title == text::kDeleteTitle) {
            if (!fresh) continue;
            Question question;
            question.box = window;
            question.owner = GetWindow(window, GW_OWNER);
            question.title = title;
            question.text = TextOf(GetDlgItem(window, 0xFFFF));
            question.cancelIsDefault =
                (GetWindowLongW(GetDlgItem(window, IDCANCEL), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            question.answeredAt = now.QuadPart;
            // Posted: the box's own thread handles it in its modal loop, in this process or another.
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, answer_)));
            std::lock_guard<std::mutex> lock(mutex_);
            answered_.push_back(question);
            ++questions_;
            continue;
        }
        if (fresh) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (cls == L"#32770")
                otherBoxes_.push_back(title + L": " + TextOf(GetDlgItem(window, 0xFFFF)));
            else
                otherWindows_.push_back(cls + L" \"" + title + L"\"");
        }
        if (cls == L"#32770")
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        else
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace qorvani::drive
