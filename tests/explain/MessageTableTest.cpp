// The message tables walked: every entry explained, no number or text twice, each tool's line
// forms keyed, and a number no table lists said to be unknown.
#include "explain/MessageExplainer.h"

#include <gtest/gtest.h>

#include <set>

namespace explain {

namespace {

const MessageTool kTools[] = {MessageTool::Masm, MessageTool::Tasm, MessageTool::Link, MessageTool::As31, MessageTool::Asm51};

TEST(MessageTables, EveryEntryHasAShortAndAFullText)
{
    for (MessageTool tool : kTools) {
        for (const MessageEntry& entry : MessagesOf(tool)) {
            const std::wstring name = entry.pszPattern ? entry.pszPattern : std::to_wstring(entry.nNumber);
            EXPECT_GT(std::wstring_view(entry.pszShort).size(), 1u) << name;
            EXPECT_EQ(std::wstring_view(entry.pszShort).find(L'\n'), std::wstring_view::npos) << name;
            EXPECT_NE(std::wstring_view(entry.pszFull).find(L"含义："), std::wstring_view::npos) << name;
            EXPECT_NE(std::wstring_view(entry.pszFull).find(L"处理："), std::wstring_view::npos) << name;
        }
    }
}

TEST(MessageTables, NumbersAndTextsAreUnique)
{
    for (MessageTool tool : kTools) {
        std::set<int> numbers;
        std::set<std::wstring> patterns;
        for (const MessageEntry& entry : MessagesOf(tool)) {
            EXPECT_NE(entry.nNumber == 0, entry.pszPattern == nullptr) << "either a number or a text";
            if (entry.nNumber != 0)
                EXPECT_TRUE(numbers.insert(entry.nNumber).second) << entry.nNumber;
            else
                EXPECT_TRUE(patterns.insert(entry.pszPattern).second) << entry.pszPattern;
        }
    }
}

// Each text-keyed entry is the one its own text finds (an earlier, wider pattern would hide it).
TEST(MessageTables, EveryTextFindsItsOwnEntry)
{
    for (MessageTool tool : kTools) {
        for (const MessageEntry& entry : MessagesOf(tool)) {
            if (entry.pszPattern == nullptr)
                continue;
            std::wstring text = entry.pszPattern;
            for (size_t at = text.find(L'*'); at != std::wstring::npos; at = text.find(L'*'))
                text.replace(at, 1, L" X ");
            EXPECT_EQ(FindMessage({tool, 0, text}), &entry) << text;
        }
    }
}

// The numbers MASM 5.10 and LINK 3.65 use (MASM's gaps are numbers its table skips), and
// every message of Korvane's own assembler.
TEST(MessageTables, ListsTheToolsNumbers)
{
    std::set<int> masm, link;
    for (const MessageEntry& entry : MasmMessages()) masm.insert(entry.nNumber);
    for (const MessageEntry& entry : LinkMessages()) link.insert(entry.nNumber);
    const std::set<int> masmGaps = {2021, 2033, 2037, 2041, 2054, 2081, 2082};
    for (int number = 2000; number <= 2116; ++number)
        EXPECT_EQ(masm.count(number), masmGaps.count(number) ? 0u : 1u) << number;
    // Every number LINK 3.65 holds beside its messages' texts.
    for (int number : {1001, 1002, 1003, 1004, 1006, 1007, 1008, 1009, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027, 1043,
                       1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1056, 1057, 1063, 1070, 1071, 1072, 1077,
                       1080, 1081, 1083, 1084, 1085, 1086, 1087, 1088, 1089, 1090, 1091, 1093, 1101, 1102, 1103, 1104, 1113,
                       1114, 1115, 1123, 2001, 2002, 2003, 2005, 2011, 2012, 2013, 2024, 2025, 2029, 2041, 2043, 2044, 4003,
                       4012, 4015, 4016, 4020, 4021, 4031, 4034, 4045, 4050, 4051, 4053, 4054})
        EXPECT_EQ(link.count(number), 1u) << number;
    std::set<int> asm51;
    for (const MessageEntry& entry : Asm51Messages()) asm51.insert(entry.nNumber);
    for (int number = 1; number <= 19; ++number)
        EXPECT_EQ(asm51.count(number), 1u) << number;
    EXPECT_EQ(asm51.count(40), 1u);
}

struct KeyCase {
    const wchar_t* line;
    MessageTool tool;
    int number;
    const wchar_t* text;
};

const KeyCase kKeyCases[] = {
    {L"HELLO.ASM(4): error A2009: Symbol not defined: FOO", MessageTool::Masm, 2009, L"Symbol not defined: FOO"},
    // MASM's warning A4031 is its message 31, listed as A2031.
    {L"e.asm(12): warning A4031: Operand types must match", MessageTool::Masm, 4031, L"Operand types must match"},
    {L"Unable to open input file: nofile.asm", MessageTool::Masm, 0, L"Unable to open input file: nofile.asm"},
    {L"Open procedures: WORK", MessageTool::Masm, 0, L"Open procedures: WORK"},
    {L"w2.asm(3): warning A5104: Jump within short distance", MessageTool::Masm, 5104, L"Jump within short distance"},
    {L"LINK : error L2029: Unresolved externals:", MessageTool::Link, 2029, L"Unresolved externals:"},
    {L"LINK : warning L4021: no stack segment", MessageTool::Link, 4021, L"no stack segment"},
    {L"LINK : fatal error L1093: X.OBJ : object not found", MessageTool::Link, 1093, L"X.OBJ : object not found"},
    {L"**Error** HELLO.ASM(12) Undefined symbol: FOO", MessageTool::Tasm, 0, L"Undefined symbol: FOO"},
    {L"*Warning* HELLO.ASM(7) Argument needs type override", MessageTool::Tasm, 0, L"Argument needs type override"},
    {L"**Fatal** Command line: Can't locate file: X.ASM", MessageTool::Tasm, 0, L"Command line: Can't locate file: X.ASM"},
    {L"Error: Undefined symbol FOO in module HELLO.ASM", MessageTool::Tasm, 0, L"Undefined symbol FOO in module HELLO.ASM"},
    {L"Warning, line 2, Undefined symbol foo.", MessageTool::As31, 0, L"Undefined symbol foo."},
    {L"Error, line 3, Location counter has exceeded 16-bits.", MessageTool::As31, 0, L"Location counter has exceeded 16-bits."},
    {L"Cannot open include file: lude ", MessageTool::As31, 0, L"Cannot open include file: lude "},
    {L"BLINK.A51(7): error A51-4: 不认识的指令或伪指令 MOVX", MessageTool::Asm51, 4, L"不认识的指令或伪指令 MOVX"},
    {L"BLINK.A51(9): warning A51-40: 源程序没有 END", MessageTool::Asm51, 40, L"源程序没有 END"},
};

TEST(MessageKeys, EachToolsLineForm)
{
    for (const KeyCase& c : kKeyCases) {
        const std::optional<MessageKey> key = MessageKeyOf(c.line);
        ASSERT_TRUE(key) << c.line;
        EXPECT_EQ(key->tool, c.tool) << c.line;
        EXPECT_EQ(key->nNumber, c.number) << c.line;
        EXPECT_EQ(key->strText, c.text) << c.line;
        EXPECT_NE(FindMessage(*key), nullptr) << c.line;
    }
}

// Lines Debian's as31 2.3.1 printed for bad programs.
TEST(MessageKeys, As31sOwnLinesAreExplained)
{
    for (const wchar_t* line : {L"Warning, line 2, syntax error near \"foo \".", L"Warning, line 2, Attempt to redefine symbol: x.",
                                L"Warning, line 1, Relative offset exceeds -128 / +127.", L"Warning, line 1, Expression greater than 8-bits.",
                                L"Warning, line 1, Address outside current 2K page.", L"Warning, line 1, String terminated improperly.",
                                L"Warning, line 1, Missing quote in character constant.", L"Warning, line 1, Expression is undefined in pass 1.",
                                L"Cannot open input file: nofile.asm"}) {
        const std::optional<MessageKey> key = MessageKeyOf(line);
        ASSERT_TRUE(key) << line;
        EXPECT_EQ(key->tool, MessageTool::As31) << line;
        EXPECT_NE(FindMessage(*key), nullptr) << line;
    }
}

TEST(MessageKeys, LinesThatAreNoMessage)
{
    for (const wchar_t* line : {L"  47216 + 458492 Bytes symbol space free", L"      0 Warning Errors", L"Begin Pass #1",
                                L"Microsoft (R) Macro Assembler Version 5.10", L"mov ax, error"})
        EXPECT_FALSE(ExplainMessage(line)) << line;
}

TEST(MessageExplanations, UnknownNumberSaysSo)
{
    for (const wchar_t* line : {L"e.asm(3): error A2999: Something new", L"LINK : error L2999: something",
                                L"x.a51(1): error A51-99: 新的消息", L"**Error** X.ASM(1) A message nobody listed"}) {
        const std::optional<Explanation> explanation = ExplainMessage(line);
        ASSERT_TRUE(explanation) << line;
        EXPECT_NE(explanation->strShort.find(L"没有说明"), std::wstring::npos) << line;
        EXPECT_NE(explanation->strFull.find(L"不在 Korvane 已知的消息表中"), std::wstring::npos) << line;
    }
    EXPECT_NE(ExplainMessage(L"e.asm(3): error A2999: x")->strShort.find(L"2999"), std::wstring::npos);
}

}  // namespace

}  // namespace explain
