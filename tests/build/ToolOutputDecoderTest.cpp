// Decoding the tools' output piece by piece: what each piece shows, across every boundary
// that can split a character, a line end or a run of zero bytes.
#include "build/ToolOutputDecoder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {
struct DecodeCase {
    const char* name;
    std::vector<std::string> pieces;
    // What each piece shows, then what the end of the output adds.
    std::vector<std::wstring> shown;
    std::wstring atEnd;
};

void PrintTo(const DecodeCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string Bytes(const char* text, size_t size)
{
    return std::string(text, size);
}

// D6 D0 is U+4E2D, 81 5C is U+4E57 (its trail byte is a backslash), A1 AD is U+2026.
const DecodeCase kCases[] = {
    {"Ascii", {"mov ax, 1"}, {L"mov ax, 1"}, L""},
    {"WholePair", {"ab\xD6\xD0"}, {L"ab\u4E2D"}, L""},
    {"PairSplitAcrossPieces", {"ab\xD6", "\xD0" "cd"}, {L"ab", L"\u4E2Dcd"}, L""},
    {"TrailByteThatIsABackslash", {"\x81\x5C" "x", "\xA1", "\xAD"}, {L"\u4E57x", L"", L"\u2026"}, L""},
    {"LoneLineFeedsBecomeCrLf", {"a\nb\n", "c", "\nd"}, {L"a\r\nb\r\n", L"c", L"\r\nd"}, L""},
    {"CrLfKeptWhole", {"a\r\nb"}, {L"a\r\nb"}, L""},
    {"CrLfSplitAcrossPieces", {"one\r", "\ntwo"}, {L"one\r", L"\ntwo"}, L""},
    {"ZeroBytesShowAsBlanks", {Bytes("abc\0def", 7), Bytes("\0\0x", 3)}, {L"abc def", L"  x"}, L""},
    {"LeadByteBeforeAZeroByte", {Bytes("\xD6\0z", 3)}, {L"\xFFFD z"}, L""},
    {"LeadByteBeforeALineFeed", {"\xD6\nz"}, {L"\xFFFD\r\nz"}, L""},
    {"HeldLeadByteWithoutATrailInTheNextPiece", {"\r", "\xD6", "\n"}, {L"\r", L"", L"\xFFFD\r\n"}, L""},
    {"LeadByteAtTheEndOfTheOutput", {"ab\xD6"}, {L"ab"}, L"\xFFFD"},
    {"EmptyPieceKeepsAHeldLeadByte", {"\xD6", "", "\xD0"}, {L"", L"", L"\u4E2D"}, L""},
    // A line of UTF-8 (E4 BD A0 is U+4F60), also split, and each line deciding for itself.
    {"Utf8Line", {"\xE4\xBD\xA0 ok\n"}, {L"\u4F60 ok\r\n"}, L""},
    {"Utf8SplitAcrossPieces", {"a\xE4\xBD", "\xA0" "b"}, {L"a", L"\u4F60b"}, L""},
    {"EachLineItsOwnCode", {"\xE4\xBD\xA0\n\xD6\xD0\n"}, {L"\u4F60\r\n\u4E2D\r\n"}, L""},
    // CE BB alone would be UTF-8, but D6 C3 after it is not: GBK's U+4F4D U+7F6E.
    {"GbkThatBeginsAsUtf8Would", {"\xCE\xBB\xD6\xC3"}, {L"\u4F4D\u7F6E"}, L""},
};

class PieceDecoding : public ::testing::TestWithParam<DecodeCase> {};

std::wstring DecodeAll(const std::vector<std::string>& pieces)
{
    CToolOutputDecoder decoder;
    std::wstring text;
    for (const std::string& piece : pieces)
        text += decoder.Decode(piece);
    return text + decoder.Finish();
}
}

TEST_P(PieceDecoding, ShowsEachPieceAsFarAsItIsWhole)
{
    const DecodeCase& c = GetParam();
    CToolOutputDecoder decoder;
    ASSERT_EQ(c.pieces.size(), c.shown.size());
    for (size_t i = 0; i < c.pieces.size(); ++i)
        EXPECT_EQ(decoder.Decode(c.pieces[i]), c.shown[i]) << "piece " << i;
    EXPECT_EQ(decoder.Finish(), c.atEnd);
}

INSTANTIATE_TEST_SUITE_P(Table, PieceDecoding, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(PieceDecodingBoundaries, EveryBoundaryGivesTheTextOfTheWholeOutput)
{
    const std::string output = "C:\\work>masm hello.asm;\r\n\xD6\xD0\x81\x5C" + Bytes("\0", 1) + "x\ny\r\n\xE4\xBD\xA0\r\n\xA1\xAD\xD6";
    const std::wstring whole = DecodeAll({output});
    EXPECT_EQ(whole, L"C:\\work>masm hello.asm;\r\n\u4E2D\u4E57 x\r\ny\r\n\u4F60\r\n\u2026\xFFFD");
    for (size_t cut = 0; cut <= output.size(); ++cut)
        EXPECT_EQ(DecodeAll({output.substr(0, cut), output.substr(cut)}), whole) << "cut at " << cut;
    std::vector<std::string> bytes;
    for (char c : output)
        bytes.emplace_back(1, c);
    EXPECT_EQ(DecodeAll(bytes), whole);
}

TEST(PieceDecodingBoundaries, FinishStartsTheNextOutputAfresh)
{
    CToolOutputDecoder decoder;
    decoder.Decode("a\r");
    decoder.Decode("\xD6");
    EXPECT_EQ(decoder.Finish(), L"\xFFFD");
    // Neither the held byte nor the carriage return carries over into the next step.
    EXPECT_EQ(decoder.Decode("\nb"), L"\r\nb");
}
