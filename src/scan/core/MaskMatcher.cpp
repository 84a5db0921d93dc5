#include "scan/core/MaskMatcher.h"

namespace qorvani {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::optional<MaskList> ListAt(std::wstring_view mask, std::size_t open) {
    const std::size_t close = mask.find(L']', open + 1);
    if (close == std::wstring_view::npos) return std::nullopt;
    MaskList list;
    list.text = mask.substr(open + 1, close - open - 1);
    list.negated = !list.text.empty() && list.text[0] == L'!';
    if (list.negated) list.text.remove_prefix(1);
    list.end = close + 1;
    return list;
}

CompiledMask::CompiledMask(std::wstring_view mask) {
    for (std::size_t i = 0; i < mask.size();) {
        const wchar_t c = mask[i];
        if (c == L'*') {
            if (items_.empty() || items_.back().kind != Kind::Star) {
                items_.push_back({Kind::Star, 0, 0, 0});
            }
            ++i;
        } else if (c == L'?') {
            items_.push_back({Kind::AnyChar, 0, 0, 0});
            ++i;
        } else if (c == L'#') {
            items_.push_back({Kind::Digit, 0, 0, 0});
            ++i;
        } else if (const std::optional<MaskList> list = c == L'[' ? ListAt(mask, i) : std::nullopt) {
            i = list->end;
            if (list->TakesNothing()) continue;
            Item item{list->negated ? Kind::NotInList : Kind::InList, 0,
                      static_cast<unsigned int>(ranges_.size()), 0};
            ForEachRange(list->text, [this](wchar_t low, wchar_t high) { ranges_.push_back({low, high}); });
            item.rangeCount = static_cast<unsigned int>(ranges_.size()) - item.firstRange;
            items_.push_back(item);
        } else {
            items_.push_back({Kind::Literal, c, 0, 0});
            ++i;
        }
    }

    firstStar_ = items_.size();
    lastStar_ = items_.size();
    for (std::size_t k = 0; k < items_.size(); ++k) {
        if (items_[k].kind == Kind::Star) {
            if (firstStar_ == items_.size()) firstStar_ = k;
            lastStar_ = k;
        } else {
            ++singleCount_;
        }
    }
    if (!items_.empty() && items_.back().kind == Kind::Literal) {
        endsInLiteral_ = true;
        finalLiteral_ = items_.back().literal;
    }
}

bool CompiledMask::ItemMatches(const Item& item, wchar_t c) const {
    switch (item.kind) {
    case Kind::Literal:
        return c == item.literal;
    case Kind::AnyChar:
        return true;
    case Kind::Digit:
        return IsDigit(c);
    case Kind::InList:
    case Kind::NotInList: {
        bool in = false;
        for (unsigned int r = item.firstRange; r < item.firstRange + item.rangeCount; ++r) {
            // A reversed range (low above high) holds no character.
            if (c >= ranges_[r].low && c <= ranges_[r].high) {
                in = true;
                break;
            }
        }
        return in == (item.kind == Kind::InList);
    }
    case Kind::Star:
        break;
    }
    return false;
}

// The part of the name between the first and the last star, against the items between them:
// each run of single items between two stars is placed at its leftmost fit after the run
// before it. Leftmost placement leaves the most room for the runs that follow, so no
// backtracking is needed and the cost stays within length of name times length of mask.
bool CompiledMask::MatchesMiddle(std::wstring_view middle) const {
    std::size_t pos = 0;
    std::size_t k = firstStar_ + 1;
    while (k < lastStar_) {
        std::size_t end = k;
        while (items_[end].kind != Kind::Star) ++end;
        const std::size_t runLength = end - k;
        const Item& first = items_[k];
        bool placed = false;
        for (; pos + runLength <= middle.size(); ++pos) {
            if (first.kind == Kind::Literal) {
                // Skip straight to the next place where the run's first character is.
                pos = middle.find(first.literal, pos);
                if (pos == std::wstring_view::npos || pos + runLength > middle.size()) break;
            }
            std::size_t j = 0;
            while (j < runLength && ItemMatches(items_[k + j], middle[pos + j])) ++j;
            if (j == runLength) {
                placed = true;
                break;
            }
        }
        if (!placed) return false;
        pos += runLength;
        k = end + 1;
    }
    return true;
}

bool CompiledMask::MatchesWhole(std::wstring_view name) const {
    const std::size_t n = name.size();
    const std::size_t count = items_.size();
    if (firstStar_ == count) {
        if (n != singleCount_) return false;
        for (std::size_t k = 0; k < count; ++k) {
            if (!ItemMatches(items_[k], name[k])) return false;
        }
        return true;
    }
    if (n < singleCount_) return false;
    // The items after the last star sit at the end of the name. Most masks are "*.EXT", so
    // this test, from the last character back, turns most names away at once.
    const std::size_t tail = count - lastStar_ - 1;
    for (std::size_t k = 1; k <= tail; ++k) {
        if (!ItemMatches(items_[count - k], name[n - k])) return false;
    }
    // The items before the first star sit at the start of the name.
    for (std::size_t k = 0; k < firstStar_; ++k) {
        if (!ItemMatches(items_[k], name[k])) return false;
    }
    if (firstStar_ == lastStar_) return true;
    return MatchesMiddle(name.substr(firstStar_, n - firstStar_ - tail));
}

MaskSet::MaskSet(const ActiveMasks& masks) {
    masks_.reserve(masks.size());
    for (const std::wstring& mask : masks) masks_.emplace_back(mask);
}

std::optional<std::size_t> MaskSet::FirstMatch(std::wstring_view upperName) const {
    for (std::size_t i = 0; i < masks_.size(); ++i)
        if (masks_[i].Matches(upperName)) return i;
    return std::nullopt;
}

}  // namespace qorvani
