#include "MaskReference.h"

namespace qorvani {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// True when c is in the list text (the part between "[" or "[!" and "]").
bool InListText(std::wstring_view list, wchar_t c) {
    bool in = false;
    // A reversed range (low above high) holds no character.
    ForEachRange(list, [&](wchar_t low, wchar_t high) { in = in || (c >= low && c <= high); });
    return in;
}

// Plain recursive matcher, read straight from the mask text.
bool MatchFrom(std::wstring_view mask, std::wstring_view name) {
    if (mask.empty()) return name.empty();
    const wchar_t m = mask[0];
    if (m == L'*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (MatchFrom(mask.substr(1), name.substr(skip))) return true;
        }
        return false;
    }
    if (m == L'[') {
        if (const std::optional<MaskList> list = ListAt(mask, 0)) {
            const std::wstring_view rest = mask.substr(list->end);
            if (list->TakesNothing()) return MatchFrom(rest, name);
            if (name.empty()) return false;
            return InListText(list->text, name[0]) != list->negated && MatchFrom(rest, name.substr(1));
        }
        // No closing bracket: the "[" is an ordinary character.
    }
    if (name.empty()) return false;
    const bool one = m == L'?' || (m == L'#' ? IsDigit(name[0]) : name[0] == m);
    return one && MatchFrom(mask.substr(1), name.substr(1));
}

}  // namespace

bool MaskMatches(std::wstring_view mask, std::wstring_view name) { return MatchFrom(mask, name); }

bool MatchesActiveMask(const ActiveMasks& masks, std::wstring_view upperName) {
    for (const std::wstring& mask : masks) {
        if (CompiledMask(mask).Matches(upperName)) return true;
    }
    return false;
}

}  // namespace qorvani
