#pragma once
// The mask language: ? one character, * any run, # one digit, [list] / [!list] one character in
// or not in the list (a-b a range), every other character itself ("." included). The whole
// name must match the whole mask; comparison is by character code (callers upper-case both).
// A character is one wchar_t unit.
//
// Lists: a list runs from "[" to the next "]"; a "!" right after the "[" makes it a not-in
// list; three list characters x-y stand for the range x to y; a "-" anywhere else in a list
// is itself, and so is "[" inside a list. Masks that have no meaning of their own are read so:
//   - a "[" with no "]" after it is the character "[" itself;
//   - "[]" stands for nothing: it takes no character (so "A[]B" matches "AB");
//   - "[!]" is any one character (not in the empty list);
//   - a reversed range such as "Z-A" holds no character: "[Z-A]" matches nothing, "[!Z-A]"
//     any one character;
//   - a "]" outside a list is the character "]" itself.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/core/ActiveMasks.h"

namespace qorvani {

// One list of a mask ("[...]" or "[!...]"), as read from the mask's text.
struct MaskList {
    bool negated = false;    // "[!...]": one character not in the list
    std::wstring_view text;  // between "[" (or "[!") and "]": its ranges, see ForEachRange
    std::size_t end = 0;     // where the mask goes on, just past the "]"
    // "[]" takes no character ("[!]" is any one).
    bool TakesNothing() const { return !negated && text.empty(); }
};

// The list that opens at mask[open], a "["; none when no "]" follows (that "[" is then itself).
std::optional<MaskList> ListAt(std::wstring_view mask, std::size_t open);

// Calls take(low, high) for each range of a list's text, in order: three characters x-y are the
// range x to y (a reversed one holds no character), any other character the range of itself.
template <class Take>
void ForEachRange(std::wstring_view text, Take take) {
    for (std::size_t j = 0; j < text.size();) {
        if (j + 2 < text.size() && text[j + 1] == L'-') {
            take(text[j], text[j + 2]);
            j += 3;
        } else {
            take(text[j], text[j]);
            ++j;
        }
    }
}

class CompiledMask {
public:
    explicit CompiledMask(std::wstring_view mask);
    bool Matches(std::wstring_view name) const {
        // Most masks end in a plain character ("*.BAK"): most names fail on their last one.
        if (endsInLiteral_ && (name.empty() || name.back() != finalLiteral_)) return false;
        return MatchesWhole(name);
    }

private:
    enum class Kind : unsigned char { Literal, AnyChar, Digit, InList, NotInList, Star };
    // One mask item. Every item but Star stands for exactly one character.
    struct Item {
        Kind kind;
        wchar_t literal;            // Literal
        unsigned int firstRange;    // InList / NotInList: ranges_[firstRange, firstRange + rangeCount)
        unsigned int rangeCount;
    };
    struct Range {
        wchar_t low;
        wchar_t high;
    };

    bool MatchesWhole(std::wstring_view name) const;
    bool ItemMatches(const Item& item, wchar_t c) const;
    bool MatchesMiddle(std::wstring_view middle) const;

    std::vector<Item> items_;       // runs of '*' are kept as one Star
    std::vector<Range> ranges_;
    std::size_t singleCount_ = 0;   // items that are not Star: the shortest name that can match
    std::size_t firstStar_ = 0;     // index of the first Star; items_.size() when there is none
    std::size_t lastStar_ = 0;      // index of the last Star
    bool endsInLiteral_ = false;    // the last item is a Literal, finalLiteral_
    wchar_t finalLiteral_ = 0;
};

// The active masks compiled once per scan (the type list cannot change while a scan runs).
class MaskSet {
public:
    MaskSet() = default;
    explicit MaskSet(const ActiveMasks& masks);
    bool Matches(std::wstring_view upperName) const { return FirstMatch(upperName).has_value(); }
    // The position, among the active masks in their order, of the first one the name matches.
    std::optional<std::size_t> FirstMatch(std::wstring_view upperName) const;
    bool Empty() const { return masks_.empty(); }
private:
    std::vector<CompiledMask> masks_;
};

}  // namespace qorvani
