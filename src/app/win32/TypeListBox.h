#pragma once
// The type list: an ordinary check-box list view holding the catalogue rows.
#include <windows.h>

#include <cstddef>
#include <string>

#include "catalogue/core/TypeList.h"

namespace qorvani {

class TypeListBox final : public TypeListView {
public:
    void Attach(HWND list) { list_ = list; }
    HWND Handle() const { return list_; }

    void AddTypeRow(const std::wstring& mask, const std::wstring& description) override;
    std::size_t TypeRowCount() override;
    bool TypeRowChecked(std::size_t row) override;
    std::wstring TypeRowText(std::size_t row) override;
    void SetTypeRowChecked(std::size_t row, bool checked);

private:
    HWND list_ = nullptr;
};

}  // namespace qorvani
