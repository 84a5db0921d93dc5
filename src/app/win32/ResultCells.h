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

#include "checklist/core/ResultStore.h"
#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"
#include "common/win32/Reflector.h"

namespace qorvani {

class ResultCells final : public ReflectedControl {
public:
    explicit ResultCells(const ResultStore& rows) : rows_(rows) {}
    ~ResultCells();
    ResultCells(const ResultCells&) = delete;
    ResultCells& operator=(const ResultCells&) = delete;

    // Starts drawing list's cells. Creates the tip, whose request for its text goes to the list's
    // parent, to be reflected to these cells (OnReflectedNotify) as every control's notification is.
    void Attach(HWND list);
    // The list's DPI changed: the cell margins follow it.
    void SetDpi(int dpi) { dpi_ = dpi; }

    // The list's NM_CUSTOMDRAW, as its owner receives it.
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw);
    // A message of the list, from its owner's subclass before the list handles it: the pointer's
    // moves, rests and leaving show and hide the tip, a click, the wheel or a key hides it.
    void OnListMessage(UINT message, LPARAM lParam);
    // The tip's TTN_GETDISPINFOW: the text of the row under the pointer. Others give 0.
    LRESULT OnReflectedNotify(NMHDR& header) override;
    // The text of a cell for LVN_GETDISPINFOW: the first column's path cut to the column while the
    // list paints, whole otherwise; the second column's size; the empty text for any other
    // column, and for a row the store does not hold.
    std::wstring Text(int row, int column);
    // The whole text of a row whose first column is drawn cut, else the empty text (a row the
    // store does not hold included).
    std::wstring TipText(int row);
    // The row under the pointer as the tip sees it (-1 when none).
    int TipRow() const { return tipRow_; }
    HWND Tip() const { return tip_; }

private:
    void OnMouseMove(LPARAM lParam);
    void ShowTip();
    void HideTip();
    TTTOOLINFOW Tool() const;
    // Pixels that the column leaves for its text.
    int TextWidth() const;
    std::wstring Fitted(std::size_t row, const std::wstring& whole, int width);

    const ResultStore& rows_;
    HWND list_ = nullptr;
    HWND tip_ = nullptr;
    HWND notified_ = nullptr;  // the list's parent: the tip's tool is its
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
