#pragma once
// The result list's menu (a right-click on a row, the Menu key, Shift+F10): its items, which of
// them can be chosen, and what each one does, through a narrow view of the window.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/core/Texts.h"
#include "checklist/core/ResultStore.h"

namespace qorvani {

enum ResultMenuCommand : int {
    kMenuOpenFolder = 1,
    kMenuCopyPath,
    kMenuSortBySize,
    kMenuSortByPath,
    kMenuSortAsFound,
    kMenuExportList,
};

struct ResultMenuItem {
    ResultMenuCommand command;  // 0 for a separator
    const wchar_t* text;
};

inline constexpr ResultMenuItem kResultMenuItems[] = {
    {kMenuOpenFolder, text::kOpenFolderItem},
    {kMenuCopyPath, text::kCopyPathItem},
    {ResultMenuCommand{}, nullptr},
    {kMenuSortBySize, text::kSortBySizeItem},
    {kMenuSortByPath, text::kSortByPathItem},
    {kMenuSortAsFound, text::kSortAsFoundItem},
    {ResultMenuCommand{}, nullptr},
    {kMenuExportList, text::kExportListItem},
};

struct ResultMenuState {
    bool enabled = false;
    bool marked = false;  // the order the rows are shown in
};
// An item's state: the file items need a row; the sort items and the export need rows, and no
// long command running (a scan, a selection pass or a delete works through the rows by their
// places, and an export taken meanwhile would hold half of them).
ResultMenuState StateOf(ResultMenuCommand command, const ResultStore& rows, std::optional<std::size_t> row,
                        bool busy);

// What the menu's commands reach in the window.
class ResultMenuView {
public:
    virtual ~ResultMenuView() = default;
    virtual void OpenFolderOf(const std::wstring& exactPath) = 0;  // the file selected in it
    virtual void CopyText(const std::wstring& text) = 0;          // onto the clipboard
    virtual void RowsReordered(std::optional<std::size_t> row) = 0;  // where the given row went
    virtual void ExportRows(const ResultStore& rows) = 0;            // every row, into a file the user names
};

// The menu's sort item for an order.
ResultMenuCommand SortCommandOf(RowOrder order);

// Carries out a chosen command for the given row (the one clicked, or the focused one), when
// its state lets it be chosen.
void RunResultMenuCommand(ResultMenuCommand command, ResultStore& rows, std::optional<std::size_t> row, bool busy,
                          ResultMenuView& view);

}  // namespace qorvani
