#pragma once
// The About window's layout, in twips, in tab order.
#include "common/core/ControlLayout.h"
#include "common/core/Texts.h"

namespace qorvani {

enum AboutControlId : int { kIdAboutText = 2001, kIdAboutOkButton, kIdAboutContactBox };

inline constexpr int kAboutClientWidthTwips = 5295;
inline constexpr int kAboutClientHeightTwips = 3765;
inline constexpr ControlLayout kAboutLayout[] = {
    {kIdAboutText, L"about text", ControlKind::Label, L"", 120, 120, 4995, 2595},
    {kIdAboutOkButton, L"OK button", ControlKind::FlatButton, text::kAboutOkButton, 2040, 3240, 1335, 375},
    {kIdAboutContactBox, L"contact box", ControlKind::ReadOnlyTextBox, L"", 60, 2880, 5055, 315},
};

}  // namespace qorvani
