#pragma once
// The real main window (the shared MainWindowHost, as the Windows tests make it), driven the way
// a user's mouse would drive it, destroyed at the end.
#include <windows.h>

#include <string>

#include "MainWindowHost.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"

namespace qorvani::bench {

class BenchWindow {
public:
    BenchWindow();  // created, shown, in the foreground; throws BenchError when it cannot be made
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    HWND Handle() const { return host_.Handle(); }
    HWND Item(int id) const { return host_.Item(id); }
    MainWindow& Main() const;

    // "全选 ↑": every type row checked; throws unless all 26 masks are then active.
    void CheckAllTypes();
    void SetPath(const std::wstring& path);
    // A click on a flat button; gives the milliseconds from the click to its return.
    double Click(int id);
    // The start click: a whole scan runs inside it. Gives the milliseconds.
    double Scan() { return Click(kIdScanButton); }

private:
    drive::MainWindowHost host_;
};

}  // namespace qorvani::bench
