// Differential fuzzing of the mask matcher with structured cases: catalogue-like masks mutated
// one step at a time (lists opened, closed, negated, reversed, starred...) and names made to
// nearly match them. Every pair is judged by three matchers that must agree: the compiled one
// (CompiledMask / MaskSet, what the scan uses), the plain recursive reference (MaskMatches), and
// a small table-driven matcher written here from the language's rules alone.
//
// QORVANI_SOAK=1 raises the count to millions of pairs; QORVANI_FUZZ_PAIRS=N sets it, and
// QORVANI_FUZZ_SEED=S replays another sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "CatalogueStrings.h"
#include "MaskReference.h"
#include "scan/core/MaskMatcher.h"

using namespace qorvani;

namespace {

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::strtoull(text, nullptr, 10);
}

bool Soak() { return EnvNumber("QORVANI_SOAK", 0) != 0; }

// --- a third matcher, from the rules as documented in MaskMatcher.h -----------------------------
// The mask is first read into items (one character each, or a star), then matched with the
// classic table over (item, position): no recursion, no shortcuts.
struct RefItem {
    enum Kind { Literal, Any, Digit, List, NotList, Star } kind = Literal;
    wchar_t literal = 0;
    std::vector<std::pair<wchar_t, wchar_t>> ranges;
    bool Takes(wchar_t c) const {
        switch (kind) {
        case Literal: return c == literal;
        case Any: return true;
        case Digit: return c >= L'0' && c <= L'9';
        case List:
        case NotList: {
            bool in = false;
            for (const auto& [low, high] : ranges) in = in || (c >= low && c <= high);
            return in == (kind == List);
        }
        case Star: break;
        }
        return false;
    }
};

std::vector<RefItem> ReadMask(std::wstring_view mask) {
    std::vector<RefItem> items;
    for (std::size_t i = 0; i < mask.size();) {
        const wchar_t c = mask[i];
        if (c == L'[') {
            const std::size_t close = mask.find(L']', i + 1);
            if (close != std::wstring_view::npos) {
                std::wstring_view list = mask.substr(i + 1, close - i - 1);
                i = close + 1;
                RefItem item;
                item.kind = RefItem::List;
                if (!list.empty() && list.front() == L'!') {
                    item.kind = RefItem::NotList;
                    list.remove_prefix(1);
                } else if (list.empty()) {
                    continue;  // "[]" takes no character
                }
                for (std::size_t j = 0; j < list.size();) {
                    if (j + 2 < list.size() && list[j + 1] == L'-') {
                        item.ranges.emplace_back(list[j], list[j + 2]);
                        j += 3;
                    } else {
                        item.ranges.emplace_back(list[j], list[j]);
                        ++j;
                    }
                }
                items.push_back(item);
                continue;
            }
        }
        RefItem item;
        item.kind = RefItem::Literal;
        if (c == L'*') item.kind = RefItem::Star;
        if (c == L'?') item.kind = RefItem::Any;
        if (c == L'#') item.kind = RefItem::Digit;
        item.literal = c;
        items.push_back(item);
        ++i;
    }
    return items;
}

bool TableMatches(std::wstring_view mask, std::wstring_view name) {
    const std::vector<RefItem> items = ReadMask(mask);
    // reach[j]: the items read so far can take exactly the first j characters of the name.
    std::vector<char> reach(name.size() + 1, 0), next(name.size() + 1, 0);
    reach[0] = 1;
    for (const RefItem& item : items) {
        std::fill(next.begin(), next.end(), 0);
        if (item.kind == RefItem::Star) {
            char any = 0;
            for (std::size_t j = 0; j <= name.size(); ++j) {
                any = any || reach[j];
                next[j] = any;
            }
        } else {
            for (std::size_t j = 0; j < name.size(); ++j)
                if (reach[j] && item.Takes(name[j])) next[j + 1] = 1;
        }
        reach.swap(next);
    }
    return reach[name.size()] != 0;
}

// --- the generator ------------------------------------------------------------------------------
// Characters that stress the language, and plain ones.
constexpr wchar_t kStress[] = {L'[', L']', L'!', L'-', L'*', L'?', L'#', L'.', L'0', L'5', L'9',
                               L'A', L'B', L'Z', L'~', L'$', L'_', L'文', L'\u00C9'};
constexpr wchar_t kNameChars[] = {L'A', L'B', L'C', L'Z', L'0', L'1', L'9', L'.', L'-', L'[', L']',
                                  L'!', L'~', L'$', L'#', L'*', L'?', L'文', L'\u00C9', L' '};

class CaseMaker {
public:
    explicit CaseMaker(std::uint64_t seed) : random_(seed) {
        for (const auto& [id, text] : testsupport::ReadCatalogueRc()) {
            if (id < 101 || id > 126) continue;
            std::wstring upper = text;
            for (wchar_t& c : upper)
                if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
            seeds_.push_back(upper);
        }
        // Masks of the same shape that use the parts of the language the catalogue does not.
        for (const wchar_t* extra : {L"*.[BT]AK", L"[!~]*.T?P", L"*.[0-9]##", L"[A-C-E]*.*", L"~[!$]*",
                                     L"*[]*.OLD", L"[!]??.BAK", L"*.[Z-A]", L"[[]*]", L"0[0-9A-F]*.NCH",
                                     L"*.#[!0-9]S", L"**.~*~"})
            seeds_.push_back(extra);
    }

    std::size_t SeedCount() const { return seeds_.size(); }

    std::wstring Mask() {
        std::wstring mask = seeds_[Below(seeds_.size())];
        const std::size_t steps = Below(4);  // 0 to 3 mutations: many masks stay close to the catalogue
        for (std::size_t s = 0; s < steps; ++s) Mutate(mask);
        // Bound the reference's backtracking: at most four stars.
        std::size_t stars = 0;
        for (wchar_t& c : mask)
            if (c == L'*' && ++stars > 4) c = L'?';
        return mask;
    }

    // A name shaped by the mask: every item replaced by a character it takes (or, now and then,
    // one it does not), every star by a short run; then perhaps one more edit.
    std::wstring NameFor(const std::wstring& mask) {
        std::wstring name;
        for (const RefItem& item : ReadMask(mask)) {
            if (item.kind == RefItem::Star) {
                for (std::size_t n = Below(4); n > 0; --n) name.push_back(Pick(kNameChars));
                continue;
            }
            name.push_back(CharFor(item));
        }
        switch (Below(6)) {
        case 0:
            if (!name.empty()) name[Below(name.size())] = Pick(kNameChars);
            break;
        case 1:
            name.insert(name.begin() + static_cast<std::ptrdiff_t>(Below(name.size() + 1)), Pick(kNameChars));
            break;
        case 2:
            if (!name.empty()) name.erase(name.begin() + static_cast<std::ptrdiff_t>(Below(name.size())));
            break;
        default:
            break;
        }
        return name;
    }

    std::wstring RandomName() {
        std::wstring name;
        for (std::size_t n = Below(10); n > 0; --n) name.push_back(Pick(kNameChars));
        return name;
    }

    std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random_() % n); }

private:
    template <std::size_t N>
    wchar_t Pick(const wchar_t (&chars)[N]) { return chars[Below(N)]; }

    wchar_t CharFor(const RefItem& item) {
        const bool wrong = Below(8) == 0;
        for (int attempt = 0; attempt < 8; ++attempt) {
            wchar_t c = Pick(kNameChars);
            if (!wrong) {
                if (item.kind == RefItem::Literal) return item.literal;
                if (item.kind == RefItem::Digit) c = static_cast<wchar_t>(L'0' + Below(10));
                if (item.kind == RefItem::List && !item.ranges.empty()) {
                    const auto& [low, high] = item.ranges[Below(item.ranges.size())];
                    if (low <= high) c = static_cast<wchar_t>(low + Below(static_cast<std::size_t>(high - low) + 1));
                }
            }
            if (item.Takes(c) != wrong) return c;
        }
        return Pick(kNameChars);
    }

    void Mutate(std::wstring& mask) {
        const std::size_t at = Below(mask.size() + 1);
        const auto pos = mask.begin() + static_cast<std::ptrdiff_t>(at);
        switch (Below(9)) {
        case 0:  // insert a stress character
            mask.insert(pos, Pick(kStress));
            break;
        case 1:  // drop a character (may leave a "[" unclosed or a "]" alone)
            if (!mask.empty()) mask.erase(mask.begin() + static_cast<std::ptrdiff_t>(Below(mask.size())));
            break;
        case 2:  // replace one
            if (!mask.empty()) mask[Below(mask.size())] = Pick(kStress);
            break;
        case 3: {  // turn a character into a list holding it
            if (mask.empty()) break;
            const std::size_t i = Below(mask.size());
            mask.replace(i, 1, std::wstring(L"[") + mask[i] + L"]");
            break;
        }
        case 4: {  // a negated list or a range, perhaps reversed
            static const std::array<std::wstring, 8> lists = {L"[!A]", L"[A-C]", L"[C-A]", L"[!0-9]", L"[-]",
                                                              L"[!]", L"[]", L"[A-C-E]"};
            mask.insert(at, lists[Below(lists.size())]);
            break;
        }
        case 5:  // a star
            mask.insert(pos, L'*');
            break;
        case 6:  // a digit place
            mask.insert(pos, L'#');
            break;
        case 7: {  // repeat a piece of the mask
            if (mask.empty()) break;
            const std::size_t from = Below(mask.size());
            const std::size_t length = 1 + Below(std::min<std::size_t>(4, mask.size() - from));
            mask.insert(at, mask.substr(from, length));
            break;
        }
        default:  // swap two neighbours ("[!" becomes "![", "-]" becomes "]-"...)
            if (mask.size() >= 2) {
                const std::size_t i = Below(mask.size() - 1);
                std::swap(mask[i], mask[i + 1]);
            }
            break;
        }
    }

    std::mt19937_64 random_;
    std::vector<std::wstring> seeds_;
};

std::string Show(const std::wstring& text) { return ::testing::PrintToString(text); }

// Which corners of the language a mask reaches, to check that the generator really goes there.
struct Corners {
    std::size_t unclosedBracket = 0, emptyList = 0, negatedEmpty = 0, reversedRange = 0, strayClose = 0,
                digitPlace = 0, manyStars = 0;
    void Note(const std::wstring& mask) {
        const std::size_t open = mask.rfind(L'[');
        if (open != std::wstring::npos && mask.find(L']', open + 1) == std::wstring::npos) ++unclosedBracket;
        if (mask.find(L"[]") != std::wstring::npos) ++emptyList;
        if (mask.find(L"[!]") != std::wstring::npos) ++negatedEmpty;
        if (mask.find(L"C-A") != std::wstring::npos) ++reversedRange;
        const std::size_t close = mask.find(L']');
        if (close != std::wstring::npos && close < mask.find(L'[')) ++strayClose;  // a "]" outside any list
        if (mask.find(L'#') != std::wstring::npos) ++digitPlace;
        std::size_t stars = 0;
        for (wchar_t c : mask) stars += c == L'*';
        if (stars >= 3) ++manyStars;
    }
};

TEST(MaskFuzzTest, MutatedCatalogueMasksAgreeAcrossThreeMatchers) {
    const std::uint64_t seed = EnvNumber("QORVANI_FUZZ_SEED", 0x51A7C0DEull);
    const std::uint64_t pairs = EnvNumber("QORVANI_FUZZ_PAIRS", Soak() ? 20000000 : 300000);
    CaseMaker maker(seed);
    ASSERT_EQ(maker.SeedCount(), 26u + 12u) << "the catalogue was not read";

    Corners corners;
    std::uint64_t matched = 0, disagreements = 0, done = 0;
    const auto start = std::chrono::steady_clock::now();
    while (done < pairs) {
        const std::wstring mask = maker.Mask();
        corners.Note(mask);
        const CompiledMask compiled(mask);
        // Several names per mask: most shaped by it, some random.
        for (int k = 0; k < 6 && done < pairs; ++k, ++done) {
            const std::wstring name = k < 5 ? maker.NameFor(mask) : maker.RandomName();
            const bool plain = MaskMatches(mask, name);
            const bool fast = compiled.Matches(name);
            const bool table = TableMatches(mask, name);
            matched += plain;
            if ((plain != fast || plain != table) && ++disagreements <= 10)
                ADD_FAILURE() << Show(mask) << " vs " << Show(name) << ": plain " << plain << ", compiled " << fast
                              << ", table " << table << " (seed " << seed << ")";
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("mask fuzz: %llu pairs, %llu matched, %llu disagreements, %.2f s, seed %llu\n",
                static_cast<unsigned long long>(done), static_cast<unsigned long long>(matched),
                static_cast<unsigned long long>(disagreements), seconds, static_cast<unsigned long long>(seed));
    EXPECT_EQ(disagreements, 0u);
    // Both answers come up often, and the generator reaches the language's odd corners.
    EXPECT_GT(matched, done / 10);
    EXPECT_LT(matched, done - done / 10);
    for (std::size_t count : {corners.unclosedBracket, corners.emptyList, corners.negatedEmpty, corners.reversedRange,
                              corners.strayClose, corners.digitPlace, corners.manyStars})
        EXPECT_GT(count, done / 6 / 1000);
}

// The scan tests a name against all active masks at once: MaskSet and MatchesActiveMask must
// give what the masks give one by one, for sets of one to five masks in any order.
TEST(MaskFuzzTest, MaskSetsAnswerAsTheirMasksDoOneByOne) {
    const std::uint64_t seed = EnvNumber("QORVANI_FUZZ_SEED", 0xAC71E5ull) + 1;
    const std::uint64_t rounds = Soak() ? 400000 : 20000;
    CaseMaker maker(seed);
    std::uint64_t disagreements = 0, hits = 0;
    for (std::uint64_t round = 0; round < rounds; ++round) {
        ActiveMasks active;
        std::vector<std::wstring> masks;
        for (std::size_t n = 1 + maker.Below(5); n > 0; --n) {
            masks.push_back(maker.Mask());
            active.push_back(masks.back());
        }
        const MaskSet set(active);
        for (int k = 0; k < 4; ++k) {
            const std::wstring name = k < 3 ? maker.NameFor(masks[maker.Below(masks.size())]) : maker.RandomName();
            bool any = false;
            for (const std::wstring& mask : masks) any = any || MaskMatches(mask, name);
            hits += any;
            const bool bySet = set.Matches(name);
            const bool byActive = MatchesActiveMask(active, name);
            if ((bySet != any || byActive != any) && ++disagreements <= 10)
                ADD_FAILURE() << "name " << Show(name) << " first mask " << Show(masks[0]) << ": one by one " << any
                              << ", MaskSet " << bySet << ", MatchesActiveMask " << byActive;
        }
    }
    EXPECT_EQ(disagreements, 0u);
    EXPECT_GT(hits, rounds);  // more than a quarter of the four names per round match
}

// Long names (file names run to 255 characters): the compiled matcher against the table one,
// where the recursive reference would take too long with several stars.
TEST(MaskFuzzTest, LongNamesAgreeWithTheTableMatcher) {
    CaseMaker maker(EnvNumber("QORVANI_FUZZ_SEED", 0x10C6ull) + 2);
    const int rounds = Soak() ? 200000 : 8000;
    int disagreements = 0, matched = 0;
    for (int round = 0; round < rounds; ++round) {
        std::wstring mask = maker.Mask();
        if (round % 2 == 0) mask = L"*" + mask + L"*";
        std::wstring name = maker.NameFor(mask);
        while (name.size() < 200) name = maker.NameFor(mask) + name;
        name.resize(200 + maker.Below(56));
        if (round % 3 == 0) name += maker.NameFor(mask);
        const bool table = TableMatches(mask, name);
        const bool fast = CompiledMask(mask).Matches(name);
        matched += table;
        if (table != fast && ++disagreements <= 10)
            ADD_FAILURE() << Show(mask) << " vs a name of " << name.size() << " characters " << Show(name)
                          << ": table " << table << ", compiled " << fast;
    }
    EXPECT_EQ(disagreements, 0);
    EXPECT_GT(matched, rounds / 20);
}

}  // namespace
