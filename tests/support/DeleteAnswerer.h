#pragma once
// Shared by the Windows tests and the Windows benchmarks (the qorvani_drive library): the one
// answerer of the delete question.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace qorvani::drive {

// Watches the windows of one process from a thread of its own, from construction to Stop():
// every new dialog box (#32770) titled as the delete question is answered with the given button
// (IDYES, IDNO or IDCANCEL, pressed by the button's own notification) and recorded; every other
// dialog box is closed with IDCANCEL and every other visible window of the process (the About
// window...) with WM_CLOSE, again and again until it has gone, and recorded. The main window
// and tips are left alone.
class DeleteAnswerer {
public:
    explicit DeleteAnswerer(int answer, DWORD processId = GetCurrentProcessId());
    ~DeleteAnswerer();
    DeleteAnswerer(const DeleteAnswerer&) = delete;
    DeleteAnswerer& operator=(const DeleteAnswerer&) = delete;

    struct Question {
        HWND box = nullptr;
        HWND owner = nullptr;
        std::wstring title, text;
        bool cancelIsDefault = false;  // the default button is "取消"
        LONGLONG answeredAt = 0;       // QueryPerformanceCounter when the answer was sent
    };

    // Ends the watch after one more whole look at the windows, so that whatever was shown before
    // the call is seen. Called by the destructor.
    void Stop();

    int Questions() const { return questions_.load(); }
    // The questions answered so far, in order.
    std::vector<Question> Answered() const;
    // "title: text" of the other dialog boxes, and "class \"title\"" of the other windows seen.
    std::vector<std::wstring> OtherBoxes() const;
    std::vector<std::wstring> OtherWindows() const;

private:
    void Run();
    void Look();

    DWORD process_;
    int answer_;
    std::atomic<bool> stop_{false};
    std::atomic<int> questions_{0};
    mutable std::mutex mutex_;
    std::vector<Question> answered_;
    std::vector<std::wstring> otherBoxes_, otherWindows_;
    std::set<HWND> seen_;
    std::thread thread_;
};

}  // namespace qorvani::drive
