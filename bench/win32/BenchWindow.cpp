#include "BenchWindow.h"

#include "BenchSupport.h"
#include "catalogue/core/TypeList.h"

namespace qorvani::bench {

BenchWindow::BenchWindow() {
    if (!host_.Valid()) throw BenchError("cannot create the main window");
}

MainWindow& BenchWindow::Main() const {
    MainWindow* main = host_.Main();
    if (main == nullptr) throw BenchError("the main window is gone");
    return *main;
}

void BenchWindow::CheckAllTypes() {
    Click(kIdCheckAllTypesButton);
    Pump(0);
    if (Main().CurrentActiveMasks().size() != kCatalogueSize)
        throw BenchError("select-all of the type list did not activate all 26 masks");
}

void BenchWindow::SetPath(const std::wstring& path) { SetWindowTextW(Item(kIdPathBox), path.c_str()); }

double BenchWindow::Click(int id) {
    const double start = NowMs();
    ClickFlat(Item(id));
    return NowMs() - start;
}

}  // namespace qorvani::bench
