#pragma once
// The flat button's stored properties, "Captain" (text, default empty) and "Enabled" (Boolean,
// default true). A missing key reads as its default; a value equal to its default is left out
// when saving.
#include <string>

#include "controls/core/PropertyBag.h"

namespace qorvani {

inline constexpr wchar_t kCaptainKey[] = L"Captain";
inline constexpr wchar_t kEnabledKey[] = L"Enabled";

struct FlatButtonProperties {
    std::wstring captain;
    bool enabled = true;
};

// Reads both properties. An "Enabled" stored as text is read like the form data write it
// ("True"/"False", "-1"/"0", "1"); any other text or a value of the wrong kind reads as the
// default.
FlatButtonProperties LoadFlatButtonProperties(const PropertyBag& bag);

// Writes "Captain", then "Enabled"; a value equal to its default is removed from the bag instead.
void SaveFlatButtonProperties(PropertyBag& bag, const FlatButtonProperties& properties);

}  // namespace qorvani
