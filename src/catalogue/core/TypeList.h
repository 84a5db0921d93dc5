#pragma once
// The type list: one row per catalogue mask, and ActiveMasks rebuilt from its check boxes.
#include <cstddef>
#include <string>

#include "scan/core/ActiveMasks.h"

namespace qorvani {

inline constexpr unsigned kFirstMaskId = 101;
inline constexpr unsigned kLastMaskId = 126;
inline constexpr unsigned kDescriptionIdOffset = 909;  // description id = mask id + 909
inline constexpr std::size_t kCatalogueSize = kLastMaskId - kFirstMaskId + 1;

// The catalogue's string table: LoadStringW on Windows, the parsed .rc in the native tests.
class StringSource {
public:
    virtual ~StringSource() = default;
    virtual std::wstring Load(unsigned id) = 0;
};

class TypeListView {
public:
    virtual ~TypeListView() = default;
    virtual void AddTypeRow(const std::wstring& mask, const std::wstring& description) = 0;
    virtual std::size_t TypeRowCount() = 0;
    virtual bool TypeRowChecked(std::size_t row) = 0;     // rows from 0
    virtual std::wstring TypeRowText(std::size_t row) = 0;
};

// One row per mask id 101..126, in id order: the mask, then its description; all unchecked.
void FillTypeList(StringSource& strings, TypeListView& list);

// ActiveMasks from scratch: the upper-cased texts of the checked rows, top to bottom.
void RebuildActiveMasks(TypeListView& list, ActiveMasks& masks);

}  // namespace qorvani
