// The message lines of the supported toolchains, the lines that only look like them, and the
// index that finds them once in a growing output and walks through them.
#include "build/MessageIndex.h"
#include "build/ToolMessage.h"
#include "framework/Unicode.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {
using Severity = ToolMessage::Severity;

// What a line is: no message (severity ignored), a message naming no line (empty file), or
// one naming a file and line.
struct LineCase {
    const char* name;
    std::wstring line;
    bool bMessage;
    Severity severity;
    const char* file;
    int line_;
};

void PrintTo(const LineCase& c, std::ostream* out)
{
    *out << c.name;
}

const LineCase kLines[] = {
    {"Masm5Error", L"HELLO.ASM(12): error A2009: Symbol not defined: FOO", true, Severity::Error, "HELLO.ASM", 12},
    {"Masm5Warning", L"HELLO.ASM(7): warning A4001: Extra characters on line", true, Severity::Warning, "HELLO.ASM", 7},
    {"Ml6Error", L"hello.asm(12) : error A2006: undefined symbol : FOO", true, Severity::Error, "hello.asm", 12},
    {"Ml6FatalWithFolder", L"C:\\work\\inc\\io.inc(3) : fatal error A1000: cannot open file", true, Severity::Error,
     "C:\\work\\inc\\io.inc", 3},
    {"TasmError", L"**Error** HELLO.ASM(12) Undefined symbol: FOO", true, Severity::Error, "HELLO.ASM", 12},
    {"TasmWarning", L"*Warning* HELLO.ASM(7) Argument needs type override", true, Severity::Warning, "HELLO.ASM", 7},
    {"TasmFatal", L"**Fatal** ..\\INC\\IO.INC(40) Out of memory", true, Severity::Error, "..\\INC\\IO.INC", 40},
    {"A51Error", L"*** ERROR #A45 IN 12 (HELLO.A51, LINE 12): UNDEFINED SYMBOL", true, Severity::Error, "HELLO.A51",
     12},
    {"A51Warning", L"*** WARNING #A41 IN 30 (HELLO.A51, LINE 29): MISSING 'END' STATEMENT", true, Severity::Warning,
     "HELLO.A51", 29},
    // Korvane's own korvane-asm51, with its text in Chinese.
    {"KorvaneAsm51Error", L"hello.a51(7): error A51-2: \u672a\u5b9a\u4e49\u7684\u7b26\u53f7 FOO", true, Severity::Error, "hello.a51", 7},
    {"KorvaneAsm51Warning", L"hello.a51(30): warning A51-40: \u6e90\u7a0b\u5e8f\u6ca1\u6709 END", true, Severity::Warning,
     "hello.a51", 30},
    {"GnuError", L"hello.asm:12: error: symbol `foo' undefined", true, Severity::Error, "hello.asm", 12},
    {"GnuColumnWarning", L"src/hello.asm:12:5: warning: label alone on a line", true, Severity::Warning,
     "src/hello.asm", 12},
    {"GnuWithoutSeverity", L"hello.asm:3: junk at end of line", true, Severity::Other, "hello.asm", 3},
    {"As31Warning", L"Warning, line 5, syntax error near \"mvo \".", true, Severity::Warning, "", 5},
    {"As31Error", L"Error, line 12, Undefined symbol", true, Severity::Error, "", 12},
    {"LongMessage", std::wstring(L"hello.asm(9) : error A2008: ") + std::wstring(100000, L'x'), true,
     Severity::Error, "hello.asm", 9},

    {"LinkError", L"LINK : error L2029: 'FOO' : unresolved external", true, Severity::Error, "", 0},
    {"LinkWarning", L"LINK : warning L4021: no stack segment", true, Severity::Warning, "", 0},
    {"MlFatalWithoutLine", L"MASM : fatal error A1000: cannot open file : hello.asm", true, Severity::Error, "", 0},
    {"TlinkError", L"Error: Undefined symbol FOO in module HELLO.ASM", true, Severity::Error, "", 0},
    {"JwasmWithoutLine", L"Error A2106: Cannot open file: \"nothere.inc\" [ENOENT]", true, Severity::Error, "", 0},
    {"TlinkWarning", L"Warning: No stack", true, Severity::Warning, "", 0},
    {"TasmFatalWithoutLine", L"**Fatal** Command line: Can't locate file: HELLO.ASM", true, Severity::Error, "", 0},
    // A path quoted in a message's own text is not where the message points.
    {"LinkQuotingALine", L"LINK : fatal error L1093: HELLO.ASM(12) : object not found", true, Severity::Error, "",
     0},
    {"TlinkQuotingALine", L"Error: Undefined symbol FOO in module HELLO.ASM(12)", true, Severity::Error, "", 0},
    // Words between the name and its bracket: TASM's marker still makes it an error.
    {"TasmTextBeforeTheBracket", L"**Error** HELLO.ASM near(12) Undefined symbol", true, Severity::Error, "", 0},

    {"MasmLineZero", L"HELLO.ASM(0): error A2009: Symbol not defined: FOO", false, Severity::Other, "", 0},
    {"TasmLineZero", L"**Error** HELLO.ASM(0) Undefined symbol: FOO", false, Severity::Other, "", 0},
    {"A51LineZero", L"*** ERROR #A45 IN 12 (HELLO.A51, LINE 0): UNDEFINED SYMBOL", false, Severity::Other, "", 0},
    {"GnuLineZero", L"hello.asm:0: error: x", false, Severity::Other, "", 0},
    {"LeadingZeros", L"HELLO.ASM(012): error A2009: x", false, Severity::Other, "", 0},
    {"MasmTextBeforeTheBracket", L"HELLO.ASM near(12): error A2009: x", false, Severity::Other, "", 0},
    {"QuotedPathInText", L"Assembling: C:\\work\\hello.asm(12): error A2009", false, Severity::Other, "", 0},
    {"Echo", L"C:\\work>masm.exe hello.asm;", false, Severity::Other, "", 0},
    {"Banner", L"Microsoft (R) Macro Assembler Version 5.10", false, Severity::Other, "", 0},
    {"Totals", L"      1 Severe  Errors", false, Severity::Other, "", 0},
    {"JwasmSummary", L"hello.asm: 15 lines, 1 passes, 0 ms, 1 warnings, 1 errors", false, Severity::Other, "", 0},
    {"As31NoLine", L"Error, no input file", false, Severity::Other, "", 0},
    {"Time", L"12:30:45 build started", false, Severity::Other, "", 0},
    {"StepEnd", L"\u7F16\u8BD1\u7ED3\u675F\uFF0C\u9000\u51FA\u7801 1\u3002", false, Severity::Other, "", 0},
};

class MessageLines : public ::testing::TestWithParam<LineCase> {};

std::wstring Lines(std::initializer_list<const wchar_t*> lines)
{
    std::wstring text;
    for (const wchar_t* line : lines)
        text += std::wstring(line) + L"\r\n";
    return text;
}
}

TEST_P(MessageLines, AreRecognisedByTheirForm)
{
    const LineCase& c = GetParam();
    std::optional<ToolMessage> message = RecogniseToolMessage(c.line);
    ASSERT_EQ(message.has_value(), c.bMessage);
    if (!message)
        return;
    EXPECT_EQ(message->severity, c.severity);
    EXPECT_EQ(Narrow(message->strFile), c.file);
    EXPECT_EQ(message->nLine, c.line_);
    EXPECT_EQ(message->HasLocation(), c.line_ > 0);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageLines, ::testing::ValuesIn(kLines),
                         [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(MessageIndex, TakesInLinesAsTheyCompleteAndCountsThem)
{
    CMessageIndex index;
    const std::wstring first =
        Lines({L"banner", L"A.ASM(1): error A2009: x", L"A.ASM(2): warning A4001: y"}) + L"A.ASM(3";
    index.Append(first);
    ASSERT_EQ(index.Messages().size(), 2u) << "the unfinished line waits";
    EXPECT_EQ(index.Messages()[0].nOffset, 8u);
    EXPECT_EQ(index.Messages()[0].strLine, L"A.ASM(1): error A2009: x");

    // A line and its line break in pieces, the break itself split between two of them.
    for (const wchar_t* piece : {L"): error A2009: z\r", L"\nLINK : fatal error L1093: q\r\n"})
        index.Append(piece);
    EXPECT_EQ(index.Length(), first.size() + 48);
    ASSERT_EQ(index.Messages().size(), 4u);
    EXPECT_EQ(index.Messages()[2].nOffset, first.size() - 7);
    EXPECT_EQ(index.Messages()[2].strLine, L"A.ASM(3): error A2009: z");
    EXPECT_EQ(index.Messages()[3].nOffset, first.size() + 19);
    EXPECT_EQ(index.Counts().nErrors, 3);
    EXPECT_EQ(index.Counts().nWarnings, 1);

    // Any character of a message's line, its line break included, finds it; others do not.
    const size_t second = index.Messages()[1].nOffset;
    EXPECT_EQ(index.MessageAt(second), &index.Messages()[1]);
    EXPECT_EQ(index.MessageAt(second + index.Messages()[1].strLine.size() + 1), &index.Messages()[1]);
    EXPECT_EQ(index.MessageAt(3), nullptr);

    index.Reset();
    EXPECT_TRUE(index.Messages().empty());
    EXPECT_EQ(index.Counts().nErrors, 0);
    index.Append(Lines({L"B.ASM(9): error A2009: x"}));
    EXPECT_EQ(index.Messages().at(0).message.strFile, L"B.ASM");
    EXPECT_EQ(index.Messages().at(0).nOffset, 0u);
}

TEST(MessageIndex, WalksFromTheLastVisitedAndStopsAtTheEnds)
{
    CMessageIndex index;
    EXPECT_EQ(index.Next(), nullptr);
    index.Append(Lines({L"A.ASM(1): error A1: a", L"text", L"A.ASM(2): error A1: b", L"A.ASM(3): error A1: c"}));
    const auto& messages = index.Messages();
    EXPECT_EQ(index.Previous(), nullptr) << "nothing before the top";
    EXPECT_EQ(index.Next(), &messages[0]);
    EXPECT_EQ(index.Next(), &messages[1]);
    EXPECT_EQ(index.Previous(), &messages[0]);
    index.Visit(messages[2]);
    EXPECT_EQ(index.Next(), nullptr);
    EXPECT_EQ(index.Previous(), &messages[1]);

    // Lines that arrive later join the walk where it stands.
    index.Append(Lines({L"A.ASM(4): error A1: d"}));
    index.Visit(index.Messages()[2]);
    EXPECT_EQ(index.Next()->message.nLine, 4);
    index.RestartWalk();
    EXPECT_EQ(index.Next()->message.nLine, 1);
}
