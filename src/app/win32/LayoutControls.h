#pragma once
// Which main-window control is which input of a scan.
#include "app/core/Layout.h"
#include "scan/core/ScanCommand.h"

namespace qorvani {

// The layout id of an input that a scan disables and enables again.
int ScanControlId(ScanControl control);

}  // namespace qorvani
