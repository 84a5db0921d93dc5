#include "app/win32/LayoutControls.h"

namespace qorvani {

int ScanControlId(ScanControl control) {
    switch (control) {
        case ScanControl::List1: return kIdList1;
        case ScanControl::List2: return kIdList2;
        case ScanControl::FlatCommand4_0: return kIdFlatCommand4_0;
        case ScanControl::FlatCommand4_1: return kIdFlatCommand4_1;
        case ScanControl::FlatCommand4_2: return kIdFlatCommand4_2;
        case ScanControl::FlatCommand4_3: return kIdFlatCommand4_3;
        case ScanControl::FlatCommand1: return kIdFlatCommand1;
        case ScanControl::FlatCommand2: return kIdFlatCommand2;
        case ScanControl::FlatCommand3: return kIdFlatCommand3;
        case ScanControl::FlatCommand7: return kIdFlatCommand7;
        case ScanControl::Check1: return kIdCheck1;
        case ScanControl::Text1: return kIdText1;
    }
    return 0;
}

}  // namespace qorvani
