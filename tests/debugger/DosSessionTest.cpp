// DOS programs built by nasm under the debugger: each kind of step from a line to the line it
// must reach, keys a waiting program takes one at a time, a CPU asleep in HLT, and how far back
// the history reaches.
#include "DebuggerTestSupport.h"

#include "debug/DebugResources.h"
#include "debug/DosTarget.h"
#include "machine/ScreenImage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace mcs51;

using namespace dos;

using namespace DebuggerTest;

namespace {

class DosSession : public ::testing::Test {
protected:
    StopInfo Start(const std::string& name)
    {
        m_name = name;
        return m_session.Start(Launch(Built(name + ".COM"), Built(name + ".ASM")));
    }
    SourceLine Line(const std::string& text) const { return LineOf(Built(m_name + ".ASM"), m_name + ".ASM", text); }
    CpuState& Registers() { return DosTarget(m_session).Registers(); }
    uint8_t Byte(uint16_t offset) { return DosTarget(m_session).ReadByte(CMemory::Linear(Registers().ds(), offset)); }
    bool WaitForScreen(const std::string& text)
    {
        for (int tries = 0; tries < 500; ++tries) {
            if (ScreenText(m_session).find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::string m_name;
    CDebugSession m_session;
};

enum class Step { Into, Over, Out };

struct StepCase {
    const char* from;
    Step step;
    const char* to;
};

// The lab box of the settings on the machine's bus, in a pane of its own: the switches set on
// it reach the LEDs through the program's 8255; a session without a box has no such pane.
TEST_F(DosSession, TheLabBoxIsOnTheBusAndInItsPane)
{
    DebugLaunch launch = Launch(Built("LABLEDS.COM"), Built("LABLEDS.ASM"));
    launch.labBox = "288";
    ASSERT_EQ(m_session.Start(std::move(launch)).result, SessionResult::Started);
    const CDebugPane* pane = m_session.Pane(IDC_DEBUG_LAB_BOX);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->Info().kind, PaneKind::Device);
    DosTarget(m_session).LabBox()->SetSwitches(0xA5);
    // The LEDs show what a person sees over the last 20 ms of the machine's time.
    auto running = std::async(std::launch::async, [this] { return m_session.Continue(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    m_session.Pause();
    EXPECT_EQ(running.get().reason, StopReason::Paused);
    const PaneContent content = pane->Content({});
    EXPECT_NE(content.text.text.find("LED: 10100101\r\n"), std::string::npos) << content.text.text;
    EXPECT_EQ(content.image.kind, machine::ScreenImage::Kind::Pixels);

    CDebugSession plain;
    ASSERT_EQ(plain.Start(Launch(Built("LABLEDS.COM"), Built("LABLEDS.ASM"))).result, SessionResult::Started);
    EXPECT_EQ(plain.Pane(IDC_DEBUG_LAB_BOX), nullptr);
}

TEST_F(DosSession, EachKindOfStepReachesItsLine)
{
    const StepCase kCases[] = {
        {"call    sub1", Step::Over, "mov     cx, 3"},
        {"call    sub1", Step::Into, "sub1:   call    sub2"},
        {"sub1:   call    sub2", Step::Out, "mov     cx, 3"},
        {"sub2:   nop", Step::Out, "ret"},
        {"rep     movsb", Step::Into, "rep     movsb"},
        {"rep     movsb", Step::Over, "mov     cx, 4"},
        {"loop    again", Step::Over, "again:  inc     bx"},
        {"int     60h", Step::Over, "mov     ax, 4C00h"},
        {"int     60h", Step::Into, "inc     dx"},
        {"inc     dx", Step::Out, "mov     ax, 4C00h"},
    };
    for (const StepCase& c : kCases) {
        ASSERT_EQ(Start("steps").result, SessionResult::Started);
        ASSERT_EQ(m_session.RunToLine(Line(c.from)).reason, StopReason::Limit) << c.from;
        const StopInfo stop = c.step == Step::Into ? m_session.StepInto() : c.step == Step::Over ? m_session.StepOver() : m_session.StepOut();
        EXPECT_EQ(stop.reason, StopReason::Limit) << c.from;
        EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line(c.to)) << c.from;
    }
}

TEST_F(DosSession, RepeatedStringInstructionsStepByElementOrWhole)
{
    ASSERT_EQ(Start("steps").result, SessionResult::Started);
    ASSERT_EQ(m_session.RunToLine(Line("rep     movsb")).reason, StopReason::Limit);
    const uint16_t target = Registers().di();
    m_session.StepInto();
    EXPECT_EQ(Registers().cx(), 2) << "one element, as the 8086 traces it";
    EXPECT_EQ(Byte(target), 'a');
    EXPECT_EQ(Byte(static_cast<uint16_t>(target + 1)), 0);
    m_session.StepOver();
    EXPECT_EQ(Registers().cx(), 0);
    EXPECT_EQ(Byte(static_cast<uint16_t>(target + 2)), 'c');
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(Registers().cx(), 2);
    EXPECT_EQ(Byte(static_cast<uint16_t>(target + 1)), 0);
}

// Keys come one at a time while the program waits in INT 21h 0Ah; each is taken once.
TEST_F(DosSession, AWaitingProgramTakesEachKeyOnceAndAStepBackStopsAtThem)
{
    ASSERT_EQ(Start("keys").result, SessionResult::Started);
    auto running = std::async(std::launch::async, [this] { return m_session.Continue(); });
    ASSERT_TRUE(WaitForScreen("Name?"));
    while (m_session.State() != RunState::WaitingForKey)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (const uint16_t key : {0x1E61, 0x3062, 0x2E63}) {
        m_session.Feed(key);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    ASSERT_TRUE(WaitForScreen("Name? abc"));
    m_session.Feed(0x1C0D);
    m_session.Feed(0x2D78);
    const StopInfo end = running.get();
    EXPECT_EQ(end.reason, StopReason::Ended);
    EXPECT_EQ(end.exitCode, 'x');
    EXPECT_EQ(ScreenText(m_session).substr(0, 10), "Name? abc\n");
    const StopInfo refused = m_session.StepBack();
    EXPECT_EQ(refused.result, SessionResult::BackRefused);
    EXPECT_EQ(refused.limit, BackLimit::Ended);
}

TEST_F(DosSession, AKeyReadIsAPointAStepBackCannotPass)
{
    ASSERT_EQ(Start("keys").result, SessionResult::Started);
    for (const uint16_t key : {0x1E61, 0x1C0D})
        m_session.Feed(key);
    ASSERT_EQ(m_session.RunToLine(Line("xor     ah, ah")).reason, StopReason::Limit);
    EXPECT_EQ(ScreenText(m_session).substr(0, 8), "Name? a\n");
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack) << "a step after the keys undoes";
    const StopInfo refused = m_session.StepBack();
    EXPECT_EQ(refused.result, SessionResult::BackRefused);
    EXPECT_EQ(refused.limit, BackLimit::KeyRead);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("xor     ah, ah"));
}

// Without a listing the program still debugs by addresses; the disassembly is its source.
TEST_F(DosSession, AProgramWithoutASourceMapDebugsByAddresses)
{
    DebugLaunch launch;
    launch.program = Built("steps.COM");
    ASSERT_EQ(m_session.Start(launch).result, SessionResult::Started);
    EXPECT_FALSE(m_session.CurrentLine());
    const uint32_t call = m_session.Target()->ImageBase() + 0x108;
    launch.addressBreakpoints = {call};
    ASSERT_EQ(m_session.Start(launch).result, SessionResult::Started);
    EXPECT_EQ(m_session.Continue().reason, StopReason::Breakpoint);
    EXPECT_EQ(m_session.Target()->Pc(), call);
    EXPECT_EQ(m_session.StepOver().reason, StopReason::Limit);
    EXPECT_EQ(m_session.Target()->Pc(), call + 3);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(m_session.Target()->Pc(), call);
}

// A key the user typed stays typed: stepping back over the step it came with keeps it waiting.
TEST_F(DosSession, AKeyTypedStaysTypedWhateverIsSteppedBack)
{
    ASSERT_EQ(Start("keys").result, SessionResult::Started);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    m_session.Feed(0x1E61);
    EXPECT_EQ(m_session.StepInto().reason, StopReason::Limit);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    m_session.Feed(0x1C0D);
    m_session.Feed(0x2D78);
    const StopInfo end = m_session.Continue();
    EXPECT_EQ(end.reason, StopReason::Ended);
    EXPECT_EQ(end.exitCode, 'x');
    EXPECT_EQ(ScreenText(m_session).substr(0, 8), "Name? a\n");
}

// The screen pane shows the picture as it was before the steps gone back: the mode set, a
// pixel written through A000h and its DAC entry through the ports.
TEST_F(DosSession, AStepBackPutsThePictureBack)
{
    ASSERT_EQ(Start("pixel13").result, SessionResult::Started);
    auto screen = [this] { return m_session.Content(PaneOf(m_session, IDC_DEBUG_SCREEN), PaneQuery{}).image; };
    const machine::ScreenImage text = screen();
    ASSERT_EQ(m_session.RunToLine(Line("mov     byte [es:0], 4")).reason, StopReason::Limit);
    const machine::ScreenImage black = screen();
    EXPECT_EQ(black.kind, machine::ScreenImage::Kind::Pixels);
    ASSERT_EQ(m_session.RunToLine(Line("mov     ax, 4C00h")).reason, StopReason::Limit);
    EXPECT_EQ(screen().pixels.at(0), 0xFFFFFFu) << "colour 4 made white";
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(screen(), black);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(screen(), text);
}

TEST_F(DosSession, ACpuAsleepInHltWakesAtTheTimersTicks)
{
    ASSERT_EQ(Start("idle").result, SessionResult::Started);
    const StopInfo end = m_session.Continue();
    EXPECT_EQ(end.reason, StopReason::Ended);
    EXPECT_EQ(end.exitCode, 5);
}

// A run of just over 100,000 instructions is undone whole, the memory it counted in too; one
// of several hundred thousand is beyond the history and is refused, leaving the program as it was.
TEST_F(DosSession, StepsBackOverAHundredThousandInstructions)
{
    ASSERT_EQ(Start("longrun").result, SessionResult::Started);
    const uint16_t countOffset = 0x100 + 0x1C;
    ASSERT_EQ(m_session.RunToLine(Line("done1:")).reason, StopReason::Limit);
    EXPECT_GT(m_session.Target()->Executed(), 100000u);
    EXPECT_EQ(Byte(countOffset) | Byte(countOffset + 1) << 8, 50000);
    EXPECT_EQ(m_session.StepBack().result, SessionResult::SteppedBack);
    EXPECT_EQ(Byte(countOffset) | Byte(countOffset + 1) << 8, 0);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("start:"));
    ASSERT_EQ(m_session.RunToLine(Line("done1:")).reason, StopReason::Limit);
    ASSERT_EQ(m_session.RunToLine(Line("done2:")).reason, StopReason::Limit);
    const StopInfo refused = m_session.StepBack();
    EXPECT_EQ(refused.result, SessionResult::BackRefused);
    EXPECT_EQ(refused.limit, BackLimit::HistoryExhausted);
    EXPECT_EQ(m_session.CurrentLine().value_or(SourceLine{}), Line("done2:"));
}

}
