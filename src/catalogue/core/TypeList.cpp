#include "catalogue/core/TypeList.h"

#include "scan/core/UpperCase.h"

namespace qorvani {

void FillTypeList(StringSource& strings, TypeListView& list) {
    for (unsigned id = kFirstMaskId; id <= kLastMaskId; ++id)
        list.AddTypeRow(strings.Load(id), strings.Load(id + kDescriptionIdOffset));
}

void RebuildActiveMasks(TypeListView& list, ActiveMasks& masks) {
    masks.clear();
    const std::size_t rows = list.TypeRowCount();
    for (std::size_t row = 0; row < rows; ++row)
        if (list.TypeRowChecked(row)) masks.push_back(UpperCase(list.TypeRowText(row)));
}

}  // namespace qorvani
