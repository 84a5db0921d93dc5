#pragma once
// The mask language: ? one character, * any run, # one digit, [list] / [!list] one character in
// or not in the list (a-b a range), every other character itself ("." included). The whole
// name must match the whole mask; comparison is by character code (callers upper-case both).
#include <string>
#include <string_view>
#include <vector>

#include "common/core/SlotArray.h"

namespace qorvani {

class CompiledMask {
public:
    explicit CompiledMask(std::wstring_view mask);
    bool Matches(std::wstring_view name) const;
    // (implementation details are private to MaskMatcher.cpp)
private:
    struct Impl;
    std::wstring mask_;
    // Fields for fast paths are added by the implementation.
};

// The active masks compiled once per scan (the type list cannot change while a scan runs).
class MaskSet {
public:
    MaskSet() = default;
    explicit MaskSet(const ActiveMasks& masks);
    bool Matches(std::wstring_view upperName) const;
    bool Empty() const { return masks_.empty(); }
private:
    std::vector<CompiledMask> masks_;
};

// The reference form: true when the whole name matches the whole mask.
bool MaskMatches(std::wstring_view mask, std::wstring_view name);

// True if the upper-cased name matches one of ActiveMasks, slot 1 to the highest index.
bool MatchesActiveMask(const ActiveMasks& masks, std::wstring_view upperName);

}  // namespace qorvani
