#pragma once
// The matcher's reference forms, for the tests to judge the compiled one by: a plain recursive
// matcher read straight from the mask's text, and the active masks tried one compiled mask at a
// time (the scan compiles them all at once, MaskSet).
#include <string_view>

#include "scan/core/MaskMatcher.h"

namespace qorvani {

// True when the whole name matches the whole mask.
bool MaskMatches(std::wstring_view mask, std::wstring_view name);

// True if the upper-cased name matches one of ActiveMasks, slot 1 to the highest index.
bool MatchesActiveMask(const ActiveMasks& masks, std::wstring_view upperName);

}  // namespace qorvani
