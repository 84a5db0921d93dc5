#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "MaskReference.h"
#include "scan/core/MaskMatcher.h"

using namespace qorvani;

namespace {

// Both the compiled matcher and the plain one must give the expected answer.
::testing::AssertionResult Gives(const std::wstring& mask, const std::wstring& name, bool expected) {
    const bool compiled = CompiledMask(mask).Matches(name);
    const bool plain = MaskMatches(mask, name);
    if (compiled == expected && plain == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ::testing::PrintToString(mask) << " vs "
                                         << ::testing::PrintToString(name) << ": compiled " << compiled
                                         << ", plain " << plain << ", expected " << expected;
}

#define EXPECT_MATCH(mask, name) EXPECT_TRUE(Gives(mask, name, true))
#define EXPECT_NO_MATCH(mask, name) EXPECT_TRUE(Gives(mask, name, false))

ActiveMasks Masks(std::initializer_list<const wchar_t*> masks) {
    ActiveMasks result;
    for (const wchar_t* mask : masks) result.push_back(mask);
    return result;
}

TEST(MaskMatcherTest, WildcardsAndLiterals) {
    EXPECT_MATCH(L"", L"");
    EXPECT_NO_MATCH(L"", L"A");
    EXPECT_MATCH(L"*", L"");
    EXPECT_MATCH(L"*", L"ANYTHING.AT.ALL");
    EXPECT_MATCH(L"?", L"X");
    EXPECT_NO_MATCH(L"?", L"");
    EXPECT_NO_MATCH(L"?", L"XY");
    EXPECT_MATCH(L"A?C", L"ABC");
    EXPECT_NO_MATCH(L"A?C", L"AC");
    // "." is an ordinary character, not the file system's extension dot.
    EXPECT_NO_MATCH(L"*.*", L"README");
    EXPECT_MATCH(L"*.*", L"READ.ME");
    EXPECT_MATCH(L"*.*", L".");
    EXPECT_NO_MATCH(L"A.B", L"AXB");
    // The whole name against the whole mask.
    EXPECT_NO_MATCH(L"*.BAK", L"X.BAKE");
    EXPECT_NO_MATCH(L"BAK", L"XBAK");
    EXPECT_MATCH(L"*.BAK", L".BAK");
    // By character code: the callers upper-case both sides.
    EXPECT_NO_MATCH(L"*.BAK", L"x.bak");
    // Several stars, with backtracking.
    EXPECT_MATCH(L"*A*B*C", L"XAYBZC");
    EXPECT_MATCH(L"*AB*AB", L"ABABAB");
    EXPECT_MATCH(L"A*A*A", L"AAA");
    EXPECT_NO_MATCH(L"A*A*A", L"AA");
    EXPECT_MATCH(L"**A**", L"A");
    EXPECT_MATCH(L"*?*?", L"XY");
    EXPECT_NO_MATCH(L"*?*?", L"X");
    EXPECT_MATCH(L"*A?C*", L"ZZABDABCZZ");
    EXPECT_NO_MATCH(L"*A?C*", L"ZZABDABZZ");
}

TEST(MaskMatcherTest, DigitsListsAndRanges) {
    EXPECT_MATCH(L"#", L"0");
    EXPECT_MATCH(L"#", L"9");
    EXPECT_NO_MATCH(L"#", L"A");
    EXPECT_NO_MATCH(L"#", L"#");
    EXPECT_NO_MATCH(L"#", L"\uFF11");  // a full-width digit is not 0 to 9
    EXPECT_MATCH(L"V##", L"V42");
    EXPECT_NO_MATCH(L"V##", L"V4");

    EXPECT_MATCH(L"[ABC]", L"B");
    EXPECT_NO_MATCH(L"[ABC]", L"D");
    EXPECT_NO_MATCH(L"[ABC]", L"");
    EXPECT_NO_MATCH(L"[ABC]", L"AB");
    EXPECT_MATCH(L"[A-C]X", L"BX");
    EXPECT_MATCH(L"[A-C]X", L"CX");
    EXPECT_NO_MATCH(L"[A-C]X", L"DX");
    EXPECT_MATCH(L"[0-9A-F]", L"E");
    EXPECT_NO_MATCH(L"[0-9A-F]", L"G");
    EXPECT_MATCH(L"[!A-C]", L"D");
    EXPECT_NO_MATCH(L"[!A-C]", L"B");
    EXPECT_NO_MATCH(L"[!A-C]", L"");
    EXPECT_MATCH(L"[!0-9]*", L"X1");
    EXPECT_NO_MATCH(L"[!0-9]*", L"1X");
    // Wildcard characters inside a list are themselves.
    EXPECT_MATCH(L"[*?#]", L"*");
    EXPECT_MATCH(L"[*?#]", L"#");
    EXPECT_NO_MATCH(L"[*?#]", L"A");
    EXPECT_MATCH(L"[[]", L"[");
    // "-" at either end of a list, or after a range, is itself.
    EXPECT_MATCH(L"[-A]", L"-");
    EXPECT_MATCH(L"[A-]", L"-");
    EXPECT_MATCH(L"[!-]", L"A");
    EXPECT_NO_MATCH(L"[!-]", L"-");
    EXPECT_MATCH(L"[A-C-E]", L"-");
    EXPECT_MATCH(L"[A-C-E]", L"E");
    EXPECT_NO_MATCH(L"[A-C-E]", L"D");
    // "!" not right after "[" is itself.
    EXPECT_MATCH(L"[A!]", L"!");
    // "]" outside a list is itself.
    EXPECT_MATCH(L"A]", L"A]");
}

TEST(MaskMatcherTest, MasksWithoutMeaningOfTheirOwn) {
    // A "[" that is never closed is the character itself.
    EXPECT_MATCH(L"[AB", L"[AB");
    EXPECT_NO_MATCH(L"[AB", L"A");
    EXPECT_MATCH(L"*[", L"X[");
    // "[]" takes no character.
    EXPECT_MATCH(L"A[]B", L"AB");
    EXPECT_NO_MATCH(L"A[]B", L"AXB");
    EXPECT_MATCH(L"[]", L"");
    EXPECT_MATCH(L"[]]", L"]");  // "[]" then a plain "]"
    // "[!]" is any one character.
    EXPECT_MATCH(L"[!]", L"!");
    EXPECT_MATCH(L"[!]", L"Q");
    EXPECT_NO_MATCH(L"[!]", L"");
    // A reversed range holds nothing.
    EXPECT_NO_MATCH(L"[Z-A]", L"M");
    EXPECT_NO_MATCH(L"[Z-A]", L"Z");
    EXPECT_NO_MATCH(L"[Z-A]", L"A");
    EXPECT_MATCH(L"[!Z-A]", L"M");
    EXPECT_MATCH(L"[Z-AM]", L"M");
}

// The one reading of a list that both matchers share: where it ends, whether it is negated, its
// ranges in order.
TEST(MaskMatcherTest, ListsAreReadOnce) {
    const std::optional<MaskList> list = ListAt(L"*.[!A-C[X-]Z", 2);
    ASSERT_TRUE(list.has_value());
    EXPECT_TRUE(list->negated);
    EXPECT_EQ(list->text, L"A-C[X-");
    EXPECT_EQ(list->end, 11u);
    EXPECT_FALSE(list->TakesNothing());
    std::wstring ranges;
    ForEachRange(list->text, [&](wchar_t low, wchar_t high) { ranges += std::wstring{low, high, L' '}; });
    EXPECT_EQ(ranges, L"AC [[ XX -- ");

    EXPECT_FALSE(ListAt(L"A[BC", 1).has_value());
    EXPECT_TRUE(ListAt(L"[]", 0)->TakesNothing());
    EXPECT_EQ(ListAt(L"[]]", 0)->end, 2u);
    EXPECT_FALSE(ListAt(L"[!]", 0)->TakesNothing());
    EXPECT_EQ(ListAt(L"[!]", 0)->text, L"");
}

TEST(MaskMatcherTest, CatalogueMasks) {
    // "~*.*" needs a dot somewhere after the "~".
    EXPECT_MATCH(L"~*.*", L"~WRL1.TMP");
    EXPECT_MATCH(L"~*.*", L"~.");
    EXPECT_NO_MATCH(L"~*.*", L"~LOCK");
    EXPECT_NO_MATCH(L"~*.*", L"X~A.B");
    // "#" is a digit, not the character "#".
    EXPECT_MATCH(L"*.#RES", L"A.1RES");
    EXPECT_NO_MATCH(L"*.#RES", L"A.#RES");
    // A 0, seven characters and .NCH.
    EXPECT_MATCH(L"0???????.NCH", L"0ABCDEFG.NCH");
    EXPECT_NO_MATCH(L"0???????.NCH", L"0ABCDEF.NCH");
    EXPECT_NO_MATCH(L"0???????.NCH", L"0ABCDEFGH.NCH");
    EXPECT_NO_MATCH(L"0???????.NCH", L"1ABCDEFG.NCH");
    EXPECT_MATCH(L"*.??~", L"REPORT.DO~");
    EXPECT_NO_MATCH(L"*.??~", L"REPORT.D~");
    EXPECT_MATCH(L"*.~*", L"A.~");
    EXPECT_MATCH(L"CHKLIST.*", L"CHKLIST.MS");
    EXPECT_NO_MATCH(L"CHKLIST.*", L"CHKLIST");
    EXPECT_MATCH(L"MSCREATE.DIR", L"MSCREATE.DIR");
    EXPECT_NO_MATCH(L"MSCREATE.DIR", L"XMSCREATE.DIR");
    EXPECT_MATCH(L"*.$$$", L"SETUP.$$$");
    EXPECT_MATCH(L"*.---", L"X.---");
}

TEST(MaskMatcherTest, NamesOutsideAscii) {
    EXPECT_MATCH(L"*.BAK", L"文档.BAK");
    EXPECT_MATCH(L"?.BAK", L"文.BAK");
    EXPECT_NO_MATCH(L"?.BAK", L"文档.BAK");
    EXPECT_MATCH(L"[一-龥]*", L"中文.TXT");
    EXPECT_NO_MATCH(L"[一-龥]*", L"A中文");
    EXPECT_MATCH(L"[!一-龥]*", L"A中文");
    EXPECT_MATCH(L"RÉSUMÉ.*", L"RÉSUMÉ.DOC");
    EXPECT_NO_MATCH(L"RÉSUMÉ.*", L"RESUME.DOC");
    EXPECT_MATCH(L"临时*", L"临时文件");
}

TEST(MaskMatcherTest, MaskSetAndActiveMasks) {
    const ActiveMasks none;
    EXPECT_TRUE(MaskSet(none).Empty());
    EXPECT_FALSE(MaskSet(none).Matches(L"A.BAK"));
    EXPECT_FALSE(MatchesActiveMask(none, L"A.BAK"));
    EXPECT_FALSE(MaskSet().Matches(L""));

    const ActiveMasks some = Masks({L"*.TMP", L"*.BAK", L"~*.*"});
    const MaskSet set(some);
    EXPECT_FALSE(set.Empty());
    for (const wchar_t* name : {L"A.TMP", L"NOTES.BAK", L"~X.Y"}) {
        EXPECT_TRUE(set.Matches(name));
        EXPECT_TRUE(MatchesActiveMask(some, name));
    }
    for (const wchar_t* name : {L"A.TXT", L"~LOCK", L"", L"BAK"}) {
        EXPECT_FALSE(set.Matches(name));
        EXPECT_FALSE(MatchesActiveMask(some, name));
    }
}

TEST(MaskMatcherTest, ManyStarsStayFast) {
    const std::wstring mask = L"*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*B";
    const std::wstring name(20000, L'A');
    const CompiledMask compiled(mask);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(compiled.Matches(name));
    EXPECT_TRUE(compiled.Matches(name + L"B"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 500);
}

// The compiled matcher against the plain one on many random masks and names, drawn from small
// alphabets so that matches, lists, ranges and odd brackets all come up often.
TEST(MaskMatcherTest, CompiledAgreesWithPlainOnRandomCases) {
    const std::wstring maskAlphabet = L"AB.1-*?#[]!Z文";
    const std::wstring nameAlphabet = L"AB.19-[]!Z文";
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> maskLength(0, 9);
    std::uniform_int_distribution<std::size_t> nameLength(0, 9);
    std::uniform_int_distribution<std::size_t> maskChar(0, maskAlphabet.size() - 1);
    std::uniform_int_distribution<std::size_t> nameChar(0, nameAlphabet.size() - 1);

    int matched = 0;
    int disagreements = 0;
    constexpr int kCases = 200000;
    for (int i = 0; i < kCases; ++i) {
        std::wstring mask;
        for (std::size_t n = maskLength(random); n > 0; --n) {
            mask.push_back(maskAlphabet[maskChar(random)]);
        }
        std::wstring name;
        for (std::size_t n = nameLength(random); n > 0; --n) {
            name.push_back(nameAlphabet[nameChar(random)]);
        }
        // Every other case takes a name made from the mask itself, so that it nearly matches.
        if (i % 2 == 1) {
            name.clear();
            for (wchar_t c : mask) {
                if (c == L'*') {
                    for (std::size_t n = nameLength(random) % 3; n > 0; --n) {
                        name.push_back(nameAlphabet[nameChar(random)]);
                    }
                } else if (c == L'?' || c == L'#') {
                    name.push_back(L'1');
                } else {
                    name.push_back(c);
                }
            }
        }
        const bool plain = MaskMatches(mask, name);
        const bool compiled = CompiledMask(mask).Matches(name);
        matched += plain ? 1 : 0;
        if (plain != compiled && ++disagreements <= 10) {
            ADD_FAILURE() << ::testing::PrintToString(mask) << " vs " << ::testing::PrintToString(name)
                          << ": plain " << plain << ", compiled " << compiled;
        }
    }
    EXPECT_EQ(disagreements, 0);
    // The cases must exercise both answers.
    EXPECT_GT(matched, kCases / 20);
    EXPECT_LT(matched, kCases - kCases / 20);
}

}  // namespace
