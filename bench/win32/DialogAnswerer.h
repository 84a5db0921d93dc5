#pragma once
// Answers the delete confirmation from a second thread: waits for the message box (#32770) that
// the main window owns and presses one of its buttons.
#include <windows.h>

#include <atomic>
#include <thread>

namespace qorvani::bench {

class DialogAnswerer {
public:
    // answer: IDYES, IDNO or IDCANCEL. Gives up after timeoutMs without a box.
    DialogAnswerer(HWND owner, int answer, DWORD timeoutMs = 30000);
    ~DialogAnswerer();  // joins
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    void Join();
    bool Answered() const { return answeredAt_.load() >= 0; }
    // NowMs() at the moment the answer was sent; negative when no box came.
    double AnsweredAt() const { return answeredAt_.load(); }

private:
    void Run(HWND owner, int answer, DWORD timeoutMs);

    std::atomic<double> answeredAt_{-1.0};
    std::thread thread_;
};

}  // namespace qorvani::bench
