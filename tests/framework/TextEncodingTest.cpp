// How document bytes are read as text and written back: which encoding a file is taken to be
// in, and that every text of either encoding comes back as the same bytes.
#include "framework/TextEncoding.h"
#include "framework/Unicode.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const TextEncoding kGbk{TextEncoding::Kind::Gbk, false};
const TextEncoding kUtf8{TextEncoding::Kind::Utf8, false};
const TextEncoding kUtf8WithMark{TextEncoding::Kind::Utf8, true};

// Random text of every plane but the surrogates, as UTF-8.
std::string RandomUtf8(std::mt19937& random, size_t characters)
{
    std::uniform_int_distribution<unsigned long> codePoint(0x20, 0x10FFFF);
    std::wstring text;
    while (text.size() < characters) {
        unsigned long c = codePoint(random);
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        if (c >= 0x10000) {
            c -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (c >> 10));
            text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            text += static_cast<wchar_t>(c);
        }
    }
    return Narrow(text);
}

std::string RoundTrip(const std::string& bytes)
{
    TextEncoding encoding = DetectEncoding(bytes);
    return EncodeText(DecodeText(bytes, encoding), encoding);
}
}

TEST(TextEncoding, UnmarkedTextIsUtf8OnlyWhenWellFormedAndNotAllAscii)
{
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {"mark", "\xEF\xBB\xBF" "mov ax, 1", kUtf8WithMark},
        {"mark alone", "\xEF\xBB\xBF", kUtf8WithMark},
        {"Chinese in UTF-8", "; \xE4\xB8\xAD", kUtf8},
        {"ASCII", "mov ax, 1\r\n", kGbk},
        {"empty", "", kGbk},
        {"Chinese in GBK", Gbk(";中文"), kGbk},
        {"truncated", "; \xE4\xB8", kGbk},
        {"stray continuation", "; \x80", kGbk},
        {"overlong slash", "; \xC0\xAF", kGbk},
        {"overlong three bytes", "; \xE0\x80\xAF", kGbk},
        {"surrogate half", "; \xED\xA0\x80", kGbk},
        {"past U+10FFFF", "; \xF4\x90\x80\x80", kGbk},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectEncoding(c.bytes), c.expected) << c.name;
}

TEST(TextEncoding, EveryGbkPairComesBackUnchanged)
{
    const std::string bytes = EveryGbkPair();
    ASSERT_EQ(DetectEncoding(bytes), kGbk);
    EXPECT_EQ(RoundTrip(bytes), bytes);
}

TEST(TextEncoding, RandomUtf8ComesBackUnchangedWithAndWithoutItsMark)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 200; ++round) {
        std::string text = RandomUtf8(random, 1 + round % 50);
        for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text}) {
            ASSERT_EQ(DetectEncoding(bytes).kind, TextEncoding::Kind::Utf8) << round;
            ASSERT_EQ(RoundTrip(bytes), bytes) << round;
        }
    }
}

TEST(TextEncoding, TextIsWrittenInTheDocumentsEncoding)
{
    const std::wstring typed = L"\x4E2D";
    EXPECT_EQ(EncodeText(typed, kGbk), "\xD6\xD0");
    EXPECT_EQ(EncodeText(typed, kUtf8), "\xE4\xB8\xAD");
    EXPECT_EQ(EncodeText(typed, kUtf8WithMark), "\xEF\xBB\xBF\xE4\xB8\xAD");
    // The mark is read as no text.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xE4\xB8\xAD", kUtf8WithMark), typed);
}

TEST(TextEncoding, MalformedUtf8IsReadAsGbkAndLossIsDetectable)
{
    // A truncated character is a valid GBK pair: read as GBK, it comes back whole.
    const std::string truncated = "; \xE4\xB8";
    EXPECT_EQ(RoundTrip(truncated), truncated);
    // A lead byte with nothing valid after it does not survive: the editor warns of such files.
    const std::string broken = "; \x81 x";
    EXPECT_NE(RoundTrip(broken), broken);
}

TEST(Unicode, LengthsCountGbkBytes)
{
    EXPECT_EQ(GbkLength("a中b"), 4u);
    EXPECT_EQ(GbkLength(""), 0u);
    EXPECT_TRUE(EqualsIgnoringCase("C:\\Work\\Hello.ASM", "c:\\work\\hello.asm"));
    EXPECT_FALSE(EqualsIgnoringCase("hello.asm", "hello.as"));
    bool lossy = false;
    EncodeCodePage(L"J\x00F6rg", kGbkCodePage, &lossy);
    EXPECT_TRUE(lossy) << "GBK has no o with diaeresis";
    EncodeCodePage(L"\x4E2D", kGbkCodePage, &lossy);
    EXPECT_FALSE(lossy);
}

// What the fast decoding vouches for is what the system decodes and gives the same bytes back;
// what it declines is left to encoding the text again.
TEST(TextEncoding, ExactDecodingVouchesOnlyForTextThatComesBack)
{
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        bool vouched;
    } cases[] = {
        {"every GBK pair", EveryGbkPair(), kGbk, true},
        {"ASCII", "mov ax, 1\r\n", kGbk, true},
        {"empty", "", kGbk, true},
        {"Chinese in GBK", Gbk(";中文\r\n\tdb '你好$'"), kGbk, true},
        {"zero byte", std::string("mov\0ax", 6), kGbk, false},
        {"lone lead byte at the end", ";\xB0", kGbk, false},
        {"lead byte before a blank", "; \x81 x", kGbk, false},
        {"lead byte before 7F", "; \x81\x7F", kGbk, false},
        {"single byte above ASCII", "; \x80", kGbk, false},
        {"UTF-8", "; \xE4\xB8\xAD", kUtf8, true},
        {"UTF-8 with its mark", "\xEF\xBB\xBF; \xE4\xB8\xAD", kUtf8WithMark, true},
        {"UTF-8 with a zero byte", std::string("\xE4\xB8\xAD\0", 4), kUtf8, false},
        {"marked but malformed", "\xEF\xBB\xBF; \x81", kUtf8WithMark, false},
    };
    for (const Case& c : cases) {
        const std::optional<std::wstring> text = DecodeExactly(c.bytes, c.encoding);
        EXPECT_EQ(text.has_value(), c.vouched) << c.name;
        if (text) {
            EXPECT_EQ(*text, DecodeText(c.bytes, c.encoding)) << c.name;
            EXPECT_EQ(EncodeText(*text, c.encoding), c.bytes) << c.name;
        }
    }
}

TEST(TextEncoding, RandomGbkTextIsDecodedAsTheSystemDecodesIt)
{
    const std::string pairs = EveryGbkPair();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<size_t> pick(0, pairs.size() - 2);
    std::uniform_int_distribution<int> ascii('!', '~');
    for (int round = 0; round < 100; ++round) {
        // Two bytes of the table from anywhere (a pair, or the halves of two), or a character
        // of ASCII.
        std::string bytes;
        for (int i = 0; i < 500; ++i) {
            const size_t at = pick(random);
            if (IsGbkLeadByte(static_cast<unsigned char>(pairs[at])))
                bytes += pairs.substr(at, 2);
            else
                bytes += static_cast<char>(ascii(random));
        }
        const std::optional<std::wstring> text = DecodeExactly(bytes, kGbk);
        const std::wstring system = DecodeText(bytes, kGbk);
        // Vouched for or not, only the bytes the system gives back unchanged may pass.
        if (text) {
            ASSERT_EQ(*text, system) << round;
            ASSERT_EQ(EncodeText(*text, kGbk), bytes) << round;
        } else {
            ASSERT_NE(EncodeText(system, kGbk), bytes) << round;
        }
    }
}
