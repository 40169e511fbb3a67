// A MASM 5.10 program with a data segment, a loop and calls into an INCLUDE file, assembled
// with a listing and linked with a map by the real tools, debugged from its entry to its end.
#include "DebuggerTestSupport.h"

#include "debug/DosTarget.h"

#include <gtest/gtest.h>

using namespace mcs51;

using namespace dos;

using namespace DebuggerTest;

namespace {

class MasmSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopySources({"SUM.ASM", "PRINT.INC"}, m_folder.Path());
        BuildMasm("SUM", m_folder.Path());
        m_source = m_folder.File("SUM.ASM");
        m_program = m_folder.File("SUM.EXE");
    }

    SourceLine Line(const std::string& text, const std::string& file = "SUM.ASM") const
    {
        return LineOf(m_source, file, text);
    }
    CpuState& Registers() { return DosTarget(m_session).Registers(); }

    CScratchFolder m_folder;
    std::wstring m_source;
    std::wstring m_program;
    CDebugSession m_session;
};

TEST_F(MasmSession, StopsAtTheEntrysLineAndStepsToTheDataSegment)
{
    ASSERT_EQ(m_session.Start(Launch(m_program, m_source)).result, SessionResult::Started);
    ASSERT_TRUE(m_session.CurrentLine());
    EXPECT_EQ(*m_session.CurrentLine(), Line("MOV     AX, DSEG"));
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(Registers().ax(), Registers().ds());
    EXPECT_EQ(*m_session.CurrentLine(), Line("MOV     CX, 5"));
}

TEST_F(MasmSession, StopsAfterTheLoopWithItsSumAndEndsWithTheExitCode)
{
    ASSERT_EQ(m_session.Start(Launch(m_program, m_source, {Line("MOV     TOTAL, AX")})).result, SessionResult::Started);
    EXPECT_EQ(m_session.Continue().reason, StopReason::Breakpoint);
    EXPECT_EQ(*m_session.CurrentLine(), Line("MOV     TOTAL, AX"));
    EXPECT_EQ(Registers().ax(), 15);
    const StopInfo end = m_session.Continue();
    EXPECT_EQ(end.reason, StopReason::Ended);
    EXPECT_EQ(end.exitCode, 7);
    EXPECT_EQ(m_session.State(), RunState::Ended);
}

TEST_F(MasmSession, SteppingOverAPrintingCallShowsItsTextAndAStepBackTakesItAway)
{
    ASSERT_EQ(m_session.Start(Launch(m_program, m_source)).result, SessionResult::Started);
    EXPECT_EQ(m_session.RunToLine(Line("CALL    PRINTS")).reason, StopReason::Limit);
    EXPECT_EQ(ScreenText(m_session).find("Hello"), std::string::npos);
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(ScreenText(m_session).substr(0, 14), "Hello, world!\n");
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(ScreenText(m_session).substr(0, 28), "Hello, world!\nHello, world!\n");
    EXPECT_EQ(*m_session.CurrentLine(), Line("MOV     AX, 4C07H"));
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(ScreenText(m_session).substr(0, 15), "Hello, world!\n\n");
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(ScreenText(m_session).find("Hello"), std::string::npos);
    EXPECT_EQ(*m_session.CurrentLine(), Line("CALL    PRINTS"));
    // The run to the line is undone whole, back to the entry; nothing ran before it.
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(*m_session.CurrentLine(), Line("MOV     AX, DSEG"));
    const StopInfo refused = m_session.StepBack();
    EXPECT_EQ(refused.result, SessionResult::BackRefused);
    EXPECT_EQ(refused.limit, BackLimit::Start);
}

TEST_F(MasmSession, StepsIntoTheIncludedProcedureAndOutOfIt)
{
    ASSERT_EQ(m_session.Start(Launch(m_program, m_source)).result, SessionResult::Started);
    EXPECT_EQ(m_session.RunToLine(Line("CALL    PRINTS")).reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("PUSH    AX", "PRINT.INC"));
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepOut().reason, StopReason::Limit);
    // Back in MAIN at the second of its two calls.
    const SourceLine call = Line("CALL    PRINTS");
    EXPECT_EQ(*m_session.CurrentLine(), (SourceLine{call.file, call.line + 1}));
}

}
