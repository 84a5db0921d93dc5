#pragma once
// The type list: an ordinary check-box list view holding the catalogue rows. It handles its own
// notifications, which its parent reflects to it: no label editing, and a check box changed.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "catalogue/core/TypeList.h"
#include "common/win32/ListViews.h"
#include "common/win32/Reflector.h"

namespace qorvani {

class TypeListBox final : public TypeListView, public ReflectedControl {
public:
    // Takes over the list view; checkChanged runs after each row whose check box changed.
    void Attach(HWND list, std::function<void()> checkChanged) {
        list_ = list;
        checkEvents_.Attach(list);
        checkChanged_ = std::move(checkChanged);
    }
    HWND Handle() const { return list_; }

    void AddTypeRow(const std::wstring& mask, const std::wstring& description) override;
    std::size_t TypeRowCount() override;
    bool TypeRowChecked(std::size_t row) override;
    std::wstring TypeRowText(std::size_t row) override;
    // Sets a row's check box from the program; its event goes out as CheckEvents says.
    void SetTypeRowChecked(std::size_t row, bool checked);
    CheckEvents& ProgramCheckEvents() { return checkEvents_; }

    LRESULT OnReflectedNotify(NMHDR& header) override;

private:
    HWND list_ = nullptr;
    CheckEvents checkEvents_;
    std::function<void()> checkChanged_;
};

}  // namespace qorvani
