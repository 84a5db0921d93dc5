#include "DialogAnswerer.h"

#include "BenchSupport.h"

namespace qorvani::bench {
namespace {

struct Search {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t name[16] = {};
    if (GetClassNameW(window, name, 16) && std::wstring_view(name) == L"#32770" &&
        GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DialogAnswerer::DialogAnswerer(HWND owner, int answer, DWORD timeoutMs)
    : thread_([this, owner, answer, timeoutMs] { Run(owner, answer, timeoutMs); }) {}

DialogAnswerer::~DialogAnswerer() { Join(); }

void DialogAnswerer::Join() {
    if (thread_.joinable()) thread_.join();
}

void DialogAnswerer::Run(HWND owner, int answer, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search search{owner, nullptr};
        EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && GetDlgItem(search.found, answer) != nullptr) {
            // The button's own notification: the box ends with this answer.
            answeredAt_.store(NowMs());
            PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.found, answer)));
            return;
        }
        Sleep(1);
    }
}

}  // namespace qorvani::bench
