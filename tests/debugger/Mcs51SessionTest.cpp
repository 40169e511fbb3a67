// An 8051 program assembled by as31 with its listing, debugged: its source lines, a step over
// an LCALL that sends a byte and the step back that takes the byte back, a breakpoint after a
// loop, serial input that ends the program and that a step back cannot undo, a pause.
#include "DebuggerTestSupport.h"

#include "debug/Panes51.h"
#include "debug/Target51.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace mcs51;

using namespace dos;

using namespace DebuggerTest;

namespace {

class Mcs51Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_session.Start(Launch(Built("serial.hex"), m_source, m_breakpoints)).result, SessionResult::Started);
    }
    SourceLine Line(const std::string& text) const { return LineOf(m_source, "serial.asm", text); }
    std::string Registers() { return CPanes51(Target51(m_session)).Registers().text; }

    std::wstring m_source = Built("serial.asm");
    std::vector<SourceLine> m_breakpoints;
    CDebugSession m_session;
};

TEST_F(Mcs51Session, StepsOverACallThatSendsAByteAndBackAgain)
{
    EXPECT_EQ(*m_session.CurrentLine(), Line("mov     sp, #60h"));
    EXPECT_EQ(m_session.RunToLine(Line("lcall   send")).reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("mov     a, #'I'"));
    EXPECT_EQ(Target51(m_session).SerialText(), "H");
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(Target51(m_session).SerialText(), "HI");
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(Target51(m_session).SerialText(), "H");
    EXPECT_EQ(*m_session.CurrentLine(), Line("mov     a, #'I'"));
}

TEST_F(Mcs51Session, StepsIntoTheSubroutineAndOutOfIt)
{
    EXPECT_EQ(m_session.RunToLine(Line("lcall   send")).reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("send:   mov     sbuf, a"));
    EXPECT_EQ(Registers().substr(0, 40), "PC=002A A=48 B=00 PSW=00 SP=62 DPTR=0000");
    EXPECT_EQ(m_session.StepOut().reason, StopReason::Limit);
    EXPECT_EQ(*m_session.CurrentLine(), Line("mov     a, #'I'"));
    EXPECT_EQ(Target51(m_session).SerialText(), "H");
}

TEST_F(Mcs51Session, SerialInputEndsTheProgramAndCannotBeSteppedBackOver)
{
    EXPECT_TRUE(m_session.SetLineBreakpoint(Line("mov     30h, a"), true));
    EXPECT_EQ(m_session.Continue().reason, StopReason::Breakpoint);
    EXPECT_NE(Registers().find(" A=0F "), std::string::npos) << Registers();
    // The byte comes while the program waits for it, as a user types it in the serial pane.
    auto running = std::async(std::launch::async, [this] { return m_session.Continue(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_session.Feed('Z');
    EXPECT_EQ(running.get().reason, StopReason::Ended);
    EXPECT_EQ(*m_session.CurrentLine(), Line("here:   sjmp    here"));
    EXPECT_NE(CPanes51(Target51(m_session)).Memory("I:30", 1).text.find("I:0030  0F 5A"), std::string::npos);
    const StopInfo refused = m_session.StepBack();
    EXPECT_EQ(refused.result, SessionResult::BackRefused);
    EXPECT_EQ(refused.limit, BackLimit::SerialRead);
}

TEST_F(Mcs51Session, APauseFromAnotherThreadStopsAProgramThatWaits)
{
    auto running = std::async(std::launch::async, [this] { return m_session.Continue(); });
    while (m_session.State() != RunState::Running)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m_session.Pause();
    EXPECT_EQ(running.get().reason, StopReason::Paused);
    EXPECT_EQ(*m_session.CurrentLine(), Line("jnb     ri, *"));
    EXPECT_EQ(m_session.State(), RunState::Stopped);
}

}
