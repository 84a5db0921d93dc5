#include <gtest/gtest.h>

#include <random>
#include <string>

#include "scan/core/UpperCase.h"
#include "scan/posix/Utf8Names.h"

using namespace qorvani;

namespace {

std::wstring Decoded(const std::string& bytes) {
    std::wstring text;
    DecodeFileName(bytes, text);
    return text;
}

std::string Encoded(const std::wstring& text) {
    std::string bytes;
    EncodeFileName(text, bytes);
    return bytes;
}

TEST(PosixNamesTest, DecodesUtf8AndEscapesEverythingElse) {
    EXPECT_EQ(Decoded("notes.bak"), L"notes.bak");
    EXPECT_EQ(Decoded(""), L"");
    EXPECT_EQ(Decoded("\xC3\xA9"), L"\u00E9");
    EXPECT_EQ(Decoded("\xE6\x96\x87"), L"\u6587");
    EXPECT_EQ(Decoded("\xF0\x9F\x98\x80"), std::wstring(1, static_cast<wchar_t>(0x1F600)));
    EXPECT_EQ(Decoded("a\xFF"), L"a\xDCFF");
    EXPECT_EQ(Decoded("\xC3("), L"\xDCC3(");                   // cut short
    EXPECT_EQ(Decoded("\xC0\xAF"), L"\xDCC0\xDCAF");            // overlong "/"
    EXPECT_EQ(Decoded("\xED\xA0\x80"), L"\xDCED\xDCA0\xDC80");  // a surrogate
    EXPECT_EQ(Decoded("\xF4\x90\x80\x80"), L"\xDCF4\xDC90\xDC80\xDC80");  // beyond U+10FFFF
    EXPECT_EQ(Decoded("\xE6\x96"), L"\xDCE6\xDC96");            // ends early
    EXPECT_EQ(Decoded("\x80x"), L"\xDC80x");                    // a lone continuation byte

    // Reusing the buffer leaves nothing of an earlier, longer name.
    std::wstring buffer;
    DecodeFileName("a-much-longer-name.txt", buffer);
    DecodeFileName("\xC3\xA9", buffer);
    EXPECT_EQ(buffer, L"\u00E9");
}

TEST(PosixNamesTest, EveryByteStringRoundTrips) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> byte(1, 255);
    const std::string pieces[] = {"\xC3\xA9", "\xE6\x96\x87", "\xF0\x9F\x98\x80", "a", "/"};
    std::uniform_int_distribution<int> piece(0, 4);
    for (int i = 0; i < 20000; ++i) {
        std::string bytes;
        for (int n = length(random); n > 0; --n) {
            if (n % 2 == 0) {
                bytes += pieces[piece(random)];
            } else {
                bytes.push_back(static_cast<char>(byte(random)));
            }
        }
        ASSERT_EQ(Encoded(Decoded(bytes)), bytes);
    }
    EXPECT_EQ(Encoded(L"\u00E9\u6587"), "\xC3\xA9\xE6\x96\x87");
}

TEST(PosixNamesTest, UpperCasesOneCharacterForOne) {
    EXPECT_EQ(UpperCase(L"notes.bak"), L"NOTES.BAK");
    EXPECT_EQ(UpperCase(L"*.#Res"), L"*.#RES");
    EXPECT_EQ(UpperCase(L"r\u00E9sum\u00E9"), L"R\u00C9SUM\u00C9");
    EXPECT_EQ(UpperCase(L"\u00FF"), L"\u0178");
    EXPECT_EQ(UpperCase(L"\u00DF"), L"\u00DF");                 // no one-character capital
    EXPECT_EQ(UpperCase(L"\u6587\u6863"), L"\u6587\u6863");
    EXPECT_EQ(UpperCase(L"x\xDCFF"), L"X\xDCFF");               // escaped bytes stay
    std::wstring text = L"mixed \u00E0 Case";
    UpperCaseInPlace(text);
    EXPECT_EQ(text, L"MIXED \u00C0 CASE");
}

}  // namespace
