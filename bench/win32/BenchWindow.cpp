#include "BenchWindow.h"

#include "BenchSupport.h"
#include "catalogue/core/TypeList.h"

namespace qorvani::bench {

BenchWindow::BenchWindow() {
    window_ = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
    if (window_ == nullptr) throw BenchError("cannot create the main window");
    SetForegroundWindow(window_);
    Pump(50);
}

BenchWindow::~BenchWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    TakeQuit();
}

MainWindow& BenchWindow::Main() const {
    MainWindow* main = MainWindow::FromHandle(window_);
    if (main == nullptr) throw BenchError("the main window is gone");
    return *main;
}

void BenchWindow::CheckAllTypes() {
    Click(kIdFlatCommand4_2);
    Pump(0);
    if (Main().CurrentActiveMasks().HighestIndex() != kCatalogueSize)
        throw BenchError("select-all of the type list did not activate all 26 masks");
}

void BenchWindow::SetPath(const std::wstring& path) { SetWindowTextW(Item(kIdText1), path.c_str()); }

double BenchWindow::Click(int id) {
    const double start = NowMs();
    ClickFlat(Item(id));
    return NowMs() - start;
}

}  // namespace qorvani::bench
