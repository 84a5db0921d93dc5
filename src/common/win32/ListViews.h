#pragma once
// The program's check-box list views: making one, its colours, column widths and check-box images,
// and the accessibility events of check boxes that the program sets.
#include <windows.h>

#include <cstddef>

#include "common/core/ControlLayout.h"
#include "common/core/RowEventHold.h"

namespace qorvani {

// A report-view list with a check box on every row and the given columns (widths in twips).
// An owner-data list keeps no rows of its own: the program answers LVN_GETDISPINFO.
HWND CreateCheckList(HWND parent, int id, RECT pixels, const ColumnLayout* columns, std::size_t columnCount,
                     int dpi, bool ownerData, HINSTANCE instance);

// The list's colours: the system's window text on the system's window colour, read now (at
// creation and again after every change of the system's colours).
void ApplyListColours(HWND list);

// The columns' widths at dpi.
void ApplyColumnWidths(HWND list, const ColumnLayout* columns, std::size_t columnCount, int dpi);
// Makes the list's check-box images again (after a DPI change, so that they have the new size),
// keeping every row's check box as it was.
void RefreshCheckBoxImages(HWND list);

// Tells accessibility tools that a row's check box changed (EVENT_OBJECT_STATECHANGE for the
// row): for a change made by the program, and for every change of an owner-data list, whose
// check boxes the list view does not hold itself.
void AnnounceCheck(HWND list, std::size_t row);

// The check boxes' events of one list as the program sets them: each row's at once
// (AnnounceCheck), or, during a pass that holds them (RowEventHold), one for the whole list at
// the pass's end (EVENT_OBJECT_REORDER on the list).
class CheckEvents {
public:
    void Attach(HWND list) { list_ = list; }
    // A row's check box was changed by the program.
    void RowChanged(std::size_t row) {
        if (hold_.RowChanged()) AnnounceCheck(list_, row);
    }
    // A bulk pass over rows rows begins (the rows the list shows at once read now) and ends.
    void BeginPass(std::size_t rows);
    void EndPass();

private:
    HWND list_ = nullptr;
    RowEventHold hold_;
};

// Flips HDS_BUTTONS on the list's column header and lets the list recompute its frame. A list's
// header has the button look when the list is made: flipped once, its columns neither look nor
// act like push buttons.
void ToggleHeaderButtons(HWND list);

}  // namespace qorvani
