// The panes of a MASM program's session: what each shows at a stop and what it marks as the
// last step's changes, the edits made from them.
#include "DebuggerTestSupport.h"

#include "debug/DosPanes.h"
#include "debug/DosTarget.h"

#include <gtest/gtest.h>

using namespace dos;

using namespace DebuggerTest;

namespace {

void PrintMarks(const std::vector<TextMark>& marks, std::ostream& out)
{
    for (const TextMark& mark : marks)
        out << "(" << mark.line << "," << mark.column << "," << mark.length << ")";
}

class DosPanes : public SumSession {
protected:
    SourceLine Line(const std::string& text, const std::string& file = "SUM.ASM") const { return LineOf(m_source, file, text); }
    static std::string Lines(const std::string& text, size_t count)
    {
        size_t end = 0;
        for (size_t i = 0; i < count && end != std::string::npos; ++i)
            end = text.find('\n', end + 1);
        return text.substr(0, end == std::string::npos ? text.size() : end + 1);
    }

    CDosPanes Panes() { return CDosPanes(m_session, DosTarget(m_session)); }
};

struct MarkCase {
    const char* line;
    std::vector<TextMark> marks;
};

// Each step marks the registers and flags it changed: digits at DEBUG's columns.
TEST_F(DosPanes, RegistersMarkWhatTheStepChanged)
{
    const MarkCase kCases[] = {
        {"MOV     AX, DSEG", {{0, 3, 4}, {1, 39, 4}}},
        {"MOV     DS, AX", {{1, 3, 4}, {1, 39, 4}}},
        {"XOR     AX, AX", {{0, 3, 4}, {1, 39, 4}, {1, 58, 2}, {1, 64, 2}}},
        {"ADD     SI, 2", {{0, 57, 4}, {1, 39, 4}, {1, 64, 2}}},
    };
    for (const MarkCase& c : kCases) {
        if (m_session.CurrentLine() != Line(c.line)) {
            ASSERT_EQ(m_session.RunToLine(Line(c.line)).reason, StopReason::Limit) << c.line;
        }
        m_session.StepInto();
        const PaneText pane = Panes().Registers();
        std::ostringstream shown;
        PrintMarks(pane.marks, shown);
        EXPECT_EQ(pane.marks, c.marks) << c.line << ": " << shown.str() << "\n" << pane.text;
    }
    EXPECT_EQ(Lines(Panes().Registers().text, 2),
              Expand("AX=0001  BX=0000  CX=0005  DX=0000  SP=0200  BP=0000  SI=0012  DI=0000\r\n"
                     "DS={DS}  ES=0118  SS={SS}  CS={CS}  IP=001A   NV UP EI PL NZ NA PE NC\r\n"));
}

TEST_F(DosPanes, MemoryShowsTheDataSegmentAndMarksTheBytesAStepWrote)
{
    ASSERT_EQ(m_session.RunToLine(Line("MOV     TOTAL, AX")).reason, StopReason::Limit);
    m_session.StepInto();
    const PaneText pane = Panes().Memory("", 2);
    EXPECT_EQ(pane.text, Expand("{DS}:0000  48 65 6C 6C 6F 2C 20 77-6F 72 6C 64 21 0D 0A 24   Hello, world!..$\r\n"
                                "{DS}:0010  01 00 02 00 03 00 04 00-05 00 0F 00 00 00 00 00   ................\r\n"));
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{1, 41, 2}, {1, 71, 1}}));
    ASSERT_EQ(pane.lineAddresses.size(), 2u);
    EXPECT_EQ(pane.lineAddresses[1], CMemory::Linear(Registers().ds(), 0x10));
    EXPECT_EQ(Panes().Memory("ds:si-4", 1).text.substr(0, 16), Expand("{DS}:0010  01 00"));
    EXPECT_EQ(Panes().Memory("SS:SP", 1).lineAddresses[0], CMemory::Linear(Registers().ss(), 0x200));
    EXPECT_FALSE(Panes().Memory("QQ:1", 1).valid);
}

TEST_F(DosPanes, StackMarksTheReturnAddressOfTheCall)
{
    ASSERT_EQ(m_session.RunToLine(Line("MOV     AH, 9", "PRINT.INC")).reason, StopReason::Limit);
    const PaneText pane = Panes().Stack(3);
    EXPECT_EQ(pane.text, Expand("{SS}:01FC  000F\r\n"
                                "{SS}:01FE  0026  -> {CS}:0026\r\n"
                                "{SS}:0200  6548\r\n"));
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{1, 11, 4}}));
}

TEST_F(DosPanes, VariablesShowTheirValuesByType)
{
    // At the entry DS is still the PSP's: a variable shows at its own segment all the same.
    EXPECT_EQ(Panes().Variables().text.substr(0, 28), Expand("MSG       BYTE   {DS}:0000  "));
    ASSERT_EQ(m_session.RunToLine(Line("MOV     TOTAL, AX")).reason, StopReason::Limit);
    m_session.StepInto();
    const PaneText pane = Panes().Variables();
    EXPECT_EQ(pane.text, Expand("MSG       BYTE   {DS}:0000  'Hello, world!',0D,0A,'$'\r\n"
                                "NUMS      WORD   {DS}:0010  0001 0002 0003 0004 0005\r\n"
                                "TOTAL     WORD   {DS}:001A  000F\r\n"));
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{2, 28, 4}}));
}

TEST_F(DosPanes, DisassemblyAroundTheCurrentInstruction)
{
    const PaneText pane = Panes().Disassembly(2, 2);
    EXPECT_EQ(pane.text, Expand("{CS}:0005 58            POP     AX\r\n"
                                "{CS}:0006 C3            RET\r\n"
                                "{CS}:0007 B8{DSB}        MOV     AX,{DS}\r\n"
                                "{CS}:000A 8ED8          MOV     DS,AX\r\n"
                                "{CS}:000C B90500        MOV     CX,0005\r\n"));
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{2, 0, 39}}));
    EXPECT_EQ(pane.lineAddresses[2], CMemory::Linear(Registers().cs(), 7));
    m_session.StepInto();
    m_session.StepInto();
    EXPECT_EQ(Panes().Disassembly(3, 0).text.substr(0, 45), Expand("{CS}:0006 C3            RET\r\n{CS}:0007 B8{DSB}"));
}

// At the end the program's last line is the INT that ended it, not the bytes after it.
TEST_F(DosPanes, AnEndedProgramShowsTheIntThatEndedIt)
{
    ASSERT_EQ(m_session.Continue().reason, StopReason::Ended);
    const PaneText pane = Panes().Disassembly(2, 2);
    ASSERT_EQ(pane.marks.size(), 1u);
    const size_t line = static_cast<size_t>(pane.marks[0].line);
    const std::string marked = Lines(pane.text, line + 1).substr(Lines(pane.text, line).size());
    EXPECT_NE(marked.find("INT     21"), std::string::npos) << pane.text;
}

TEST_F(DosPanes, ScreenAndEdits)
{
    ASSERT_EQ(m_session.RunToLine(Line("MOV     AX, 4C07H")).reason, StopReason::Limit);
    EXPECT_EQ(Lines(Panes().Screen().text.text, 3), "Hello, world!\r\nHello, world!\r\n\r\n");
    EXPECT_TRUE(Panes().EditRegister("ax", 0x1234));
    EXPECT_TRUE(Panes().EditRegister("ES", 0xB800));
    EXPECT_FALSE(Panes().EditRegister("AL", 1));
    EXPECT_EQ(Registers().ax(), 0x1234);
    EXPECT_EQ(Registers().es(), 0xB800);
    Panes().EditMemory(Panes().Memory("DS:0", 1).lineAddresses[0], 'J');
    EXPECT_EQ(Panes().Variables().text.substr(0, 39), Expand("MSG       BYTE   {DS}:0000  'Jello, wor"));
    EXPECT_EQ(Panes().Memory("ES:0", 1).text.substr(0, 16), "B800:0000  48 07");
}

}
