// The main window's side that the commands reach: the views they are given (ScanView, WalkSink,
// DeleteView, SelectionView) and the live display that the pacer has repainted.
#include "app/win32/MainWindow.h"

#include <mmsystem.h>

#include <utility>

#include "app/core/Layout.h"
#include "checklist/core/CheckedTotal.h"
#include "common/win32/ControlFactory.h"

namespace qorvani {

// --- ScanView: the rows, the caption, the status and what a scan reads ---

void MainWindow::ClearResults() { results_.Clear(); }

void MainWindow::ShowFoundRows() { results_.ShowAllRows(); }

std::size_t MainWindow::ResultCount() { return rows_.Count(); }

void MainWindow::SetResultCaption(std::wstring_view text) {
    SetWindowTextW(Control(kIdResultCaption), std::wstring(text).c_str());
}

void MainWindow::SetStatusText(std::wstring_view text) {
    SetStatusNow(std::wstring(text));  // a folder or path not yet shown is dropped
}

bool MainWindow::AllDrivesChecked() { return SendMessageW(Control(kIdAllDrivesBox), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::wstring MainWindow::PathText() { return ControlText(Control(kIdPathBox)); }

std::uint32_t MainWindow::Milliseconds() { return timeGetTime(); }

// --- WalkSink: the found files ---

void MainWindow::ShowFolder(const std::wstring& path) { ShowStatusSoon(text::kScanningFolderPrefix + path); }

// A found file becomes a row of the checklist at once; the list learns of it at a repaint.
void MainWindow::AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) {
    rows_.Append(folder, name, facts.size);
}

// --- DeleteView ---

DeleteAnswer MainWindow::AskDeleteConfirmation() {
    switch (MessageBoxW(hwnd_, text::kDeleteQuestion, text::kDeleteTitle, MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3)) {
        case IDYES: return DeleteAnswer::Yes;
        case IDNO: return DeleteAnswer::No;
        default: return DeleteAnswer::Cancel;
    }
}

bool MainWindow::AskDeleteForGood(std::size_t files) {
    // Yes and No only, No the default: Esc and Enter keep the files.
    return MessageBoxW(hwnd_, ForGoodQuestion(files).c_str(), text::kDeleteTitle,
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

void MainWindow::RowsKept() { results_.RowsRebuilt(); }

void MainWindow::ShowDeleting(const std::wstring& path) { ShowStatusSoon(text::kDeletingPrefix + path); }

// --- SelectionView ---

bool MainWindow::ListEnabled(SelectionList list) {
    return IsWindowEnabled(list == SelectionList::Results ? results_.Handle() : types_.Handle()) != FALSE;
}

std::size_t MainWindow::RowCount(SelectionList list) {
    // A close asked during a pass empties the lists as far as the pass can see, so it ends.
    if (closePending_) return 0;
    return list == SelectionList::Results ? rows_.Count() : types_.TypeRowCount();
}

void MainWindow::SetRowChecked(SelectionList list, std::size_t row, bool checked) {
    if (list == SelectionList::Results)
        results_.SetChecked(row, checked);
    else
        types_.SetTypeRowChecked(row, checked);
}

void MainWindow::RebuildActiveMasks() { qorvani::RebuildActiveMasks(types_, activeMasks_); }

// --- The live display: the status bar and the result list, repainted when the pacer says ---

void MainWindow::ShowStatusSoon(std::wstring text) {
    pendingStatus_ = std::move(text);
    statusPending_ = true;
}

void MainWindow::SetStatusNow(const std::wstring& text) {
    statusPending_ = false;
    status_.SetText(text);
    ShowCheckedTotal();
}

void MainWindow::ShowCheckedTotal() { status_.SetTotal(CheckedTotalShown(rows_)); }

void MainWindow::RepaintLive() {
    if (statusPending_) SetStatusNow(pendingStatus_);
    else ShowCheckedTotal();
    results_.Refresh();
    // The command handles no messages between its points, so paint now rather than wait for it.
    UpdateWindow(status_.Handle());
}

}  // namespace qorvani
