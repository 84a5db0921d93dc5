#pragma once
// A window's layout as a table: one row per control, positions in twips (1/1440 inch). A window
// creates its controls from its table in the table's order, which makes their z order and so the
// order the Tab key visits them in: the table's order is the tab order. The tests check the real
// window against the same table.
#include <cstddef>
#include <span>
#include <string_view>

namespace qorvani {

enum class ControlKind { FlatButton, Label, TextBox, ReadOnlyTextBox, CheckBox, ListView, StatusBar };

struct ColumnLayout {
    std::wstring_view header;
    int widthTwips;
};

struct ControlLayout {
    int id;                  // the control's window identifier
    std::wstring_view role;  // what the control is for, e.g. L"scan button"
    ControlKind kind;
    std::wstring_view text;  // text at start
    int left, top, width, height;
    std::span<const ColumnLayout> columns = {};  // a list view's columns
    bool ownerData = false;                      // a list view whose rows the program keeps
};

// Twips to pixels at the given dots per inch, rounded to the nearest pixel (as MulDiv rounds).
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long product = static_cast<long long>(twips) * dpi;
    return static_cast<int>(product >= 0 ? (product + 720) / 1440 : -((-product + 720) / 1440));
}

// The layout row of a control identifier, or nullptr.
template <std::size_t N>
constexpr const ControlLayout* FindControl(const ControlLayout (&table)[N], int id) {
    for (const auto& row : table)
        if (row.id == id) return &row;
    return nullptr;
}

}  // namespace qorvani
