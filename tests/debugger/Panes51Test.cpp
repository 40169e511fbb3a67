// The panes of an 8051 program's session: registers with PSW's bits, memory spaces, the stack
// with a call's return address, the disassembly around the PC, the ports, the edits.
#include "DebuggerTestSupport.h"

#include "debug/Panes51.h"
#include "debug/TimerPane51.h"

#include <gtest/gtest.h>

using namespace mcs51;

using namespace dos;

using namespace DebuggerTest;

namespace {

class Panes51 : public ::testing::Test {
protected:
    void SetUp() override
    {
        DebugLaunch launch = Launch(Built("serial.hex"), m_source);
        launch.realTime = false;
        ASSERT_EQ(m_session.Start(std::move(launch)).result, SessionResult::Started);
        ASSERT_EQ(m_session.RunToLine(LineOf(m_source, "serial.asm", "lcall   send")).reason, StopReason::Limit);
        m_session.StepInto();
    }

    std::wstring m_source = Built("serial.asm");
    CDebugSession m_session;
    CPanes51 Panes() { return CPanes51(Target51(m_session)); }
};

TEST_F(Panes51, RegistersWithPswsBitsNamedAndTheCallsChangesMarked)
{
    const PaneText pane = Panes().Registers();
    EXPECT_EQ(pane.text, "PC=002A A=48 B=00 PSW=00 SP=62 DPTR=0000\r\n"
                         "R0=00 R1=00 R2=00 R3=00 R4=00 R5=00 R6=00 R7=00\r\n"
                         "cycles=12\r\n"
                         "CY=0 AC=0 F0=0 RS1=0 RS0=0 OV=0 P=0\r\n");
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{0, 3, 4}, {0, 28, 2}}));
}

TEST_F(Panes51, MemorySpacesByTheirLetters)
{
    EXPECT_EQ(Panes().Memory("I:60", 1).text,
              "I:0060  00 13 00 00 00 00 00 00-00 00 00 00 00 00 00 00   ................\r\n");
    EXPECT_EQ(Panes().Memory("I:60", 1).marks, (std::vector<TextMark>{{0, 11, 2}, {0, 59, 1}})) << "the low byte the call pushed";
    EXPECT_EQ(Panes().Memory("S:98", 1).text.substr(0, 32), "S:0090  FF 00 00 00 00 00 00 00-");
    EXPECT_EQ(Panes().Memory("C:0", 1).text.substr(0, 25), "C:0000  75 81 60 75 89 20");
    EXPECT_EQ(Panes().Memory("SP", 1).lineAddresses[0], 0x60u);
    EXPECT_EQ(Panes().Memory("X:1234", 1).lineAddresses[0], 0x21230u);
    EXPECT_FALSE(Panes().Memory("Q:1", 1).valid);
}

TEST_F(Panes51, StackShowsTheReturnAddress)
{
    const PaneText pane = Panes().Stack(3);
    EXPECT_EQ(pane.text, "I:0062  00  -> 0013\r\nI:0061  13\r\nI:0060  00\r\n");
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{0, 8, 2}, {1, 8, 2}}));
}

TEST_F(Panes51, DisassemblyAroundThePcMarksIt)
{
    const PaneText pane = Panes().Disassembly(2, 1);
    EXPECT_EQ(pane.text, "0026 C298          CLR    RI\r\n"
                         "0028 80FE          SJMP   0028H\r\n"
                         "002A F599          MOV    SBUF,A\r\n"
                         "002C 3099FD        JNB    TI,002CH\r\n");
    EXPECT_EQ(pane.marks, (std::vector<TextMark>{{2, 0, 32}}));
    EXPECT_EQ(pane.lineAddresses, (std::vector<uint32_t>{0x26, 0x28, 0x2A, 0x2C}));
}

TEST_F(Panes51, PortsAndEdits)
{
    EXPECT_EQ(Panes().Ports().text.text, "P0=FF P1=FF P2=FF P3=FF\r\n");
    EXPECT_EQ(Panes().Ports().image.kind, machine::ScreenImage::Kind::Pixels) << "the LEDs";
    EXPECT_TRUE(Panes().EditRegister("R3", 0x5A));
    EXPECT_TRUE(Panes().EditRegister("dptr", 0x1234));
    EXPECT_FALSE(Panes().EditRegister("AX", 1));
    Panes().EditMemory(0x20040, 0x77);
    EXPECT_EQ(Panes().Registers().text.substr(42, 49), "R0=00 R1=00 R2=00 R3=5A R4=00 R5=00 R6=00 R7=00\r\n");
    EXPECT_EQ(Panes().Memory("DPTR", 1).text.substr(0, 8), "X:1230  ");
    EXPECT_EQ(Panes().Memory("X:40", 1).text.substr(0, 10), "X:0040  77");
}

}

// The timers and interrupts by their fields' names: serial.a51 runs Timer 1 in mode 2 as the
// baud clock; a bit is toggled and a register edited by name, an 8052's names refused.
TEST_F(Panes51, TimersAndInterruptsByName)
{
    const CTimerPane51 timers(Target51(m_session));
    const std::string text = timers.Text().text;
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "TMOD=20 TCON=40 IE=00 IP=00");
    EXPECT_NE(text.find("\r\nT0: M=0 GATE=0 C/T=0 TH0=00 TL0=00 13\xCE\xBB\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nT1: M=2 GATE=0 C/T=0 TH1=FD TL1="), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nTCON: TF1=0 TR1=1 TF0=0 TR0=0 IE1=0 IT1=0 IE0=0 IT0=0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nIE: EA=0 ES=0 ET1=0 EX1=0 ET0=0 EX0=0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" 8\xCE\xBB\xD7\xD4\xB6\xAF\xD6\xD8\xD7\xB0\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("T2"), std::string::npos) << "no Timer 2 on the 8051";

    EXPECT_TRUE(timers.ToggleBit("tr0"));
    EXPECT_TRUE(timers.ToggleBit("EA"));
    EXPECT_TRUE(timers.EditRegister("TH0", 0x12));
    EXPECT_FALSE(timers.ToggleBit("ET2"));
    EXPECT_FALSE(timers.EditRegister("RCAP2H", 1));
    const PaneText edited = timers.Text();
    EXPECT_EQ(edited.text.substr(0, edited.text.find("\r\n")), "TMOD=20 TCON=50 IE=80 IP=00");
    EXPECT_NE(edited.text.find("TH0=12"), std::string::npos) << edited.text;
    EXPECT_NE(edited.text.find("TR0=1"), std::string::npos) << edited.text;
}
