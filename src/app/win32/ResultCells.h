#pragma once
// The result list's cells as it shows them, read from the row store: the first column's path and
// the second's size. A path too long for the first column is drawn with its middle left out, so
// that its file name shows ("Z:\work\...\Downloads\old.tmp"), and a tip shows the whole path
// while the pointer rests on a row so drawn. Only the drawing changes: the row's text as other
// programs read it (LVM_GETITEMTEXTW), and as the delete uses it, stays whole.
//
// The list asks for the text of a cell both to draw it and to answer readers. The two are told
// apart by the paint cycle: between the list's CDDS_PREPAINT and CDDS_POSTPAINT custom-draw
// notifications the first column's text is the drawn one.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <unordered_map>

#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"
#include "checklist/core/ResultStore.h"

namespace qorvani {

class ResultCells {
public:
    explicit ResultCells(const ResultStore& rows) : rows_(rows) {}
    ~ResultCells();
    ResultCells(const ResultCells&) = delete;
    ResultCells& operator=(const ResultCells&) = delete;

    // Starts drawing list's cells. Creates the tip.
    void Attach(HWND list);
    // The list's DPI changed: the cell margins follow it.
    void SetDpi(int dpi) { dpi_ = dpi; }

    // The list's NM_CUSTOMDRAW, as its owner receives it.
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw);
    // The text of a cell for LVN_GETDISPINFOW: the first column's path cut to the column while the
    // list paints, whole otherwise; the second column's size; the empty text for any other
    // column, and for a row the store does not hold.
    std::wstring Text(int row, int column);
    // The whole text of a row whose first column is drawn cut, else the empty text.
    std::wstring TipText(int row);
    // The row under the pointer as the tip sees it (-1 when none).
    int TipRow() const { return tipRow_; }
    HWND Tip() const { return tip_; }

private:
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void OnMouseMove(LPARAM lParam);
    void ShowTip();
    void HideTip();
    bool OnTipNeedsText(NMHDR* header);
    // Pixels that the column leaves for its text.
    int TextWidth() const;
    std::wstring Fitted(std::size_t row, const std::wstring& whole, int width);

    const ResultStore& rows_;
    HWND list_ = nullptr;
    HWND tip_ = nullptr;
    int dpi_ = 96;
    bool painting_ = false;
    int paintWidth_ = 0;
    WindowDc measureDc_;  // the list's DC with its font, while painting
    SelectedObject measureFont_;
    int tipRow_ = -1;
    std::wstring tipText_;

    // The cut texts of the rows drawn lately, for one width.
    struct Fit {
        std::wstring whole;
        std::wstring shown;
    };
    std::unordered_map<std::size_t, Fit> fits_;
    int fitsWidth_ = -1;
};

}  // namespace qorvani
