// The 8051's devices against the data sheet: timers in their modes, the interrupt response
// and its blocking rules, the serial port's frame times, external interrupts from the pins,
// idle and power-down.
#include "Mcs51TestSupport.h"

#include <gtest/gtest.h>

using namespace mcs51;

namespace {
struct TimerCase {
    const char* what;
    Bytes51 setup;
    // Run until this cycle (the setup's last instruction ends by cycle 8).
    uint64_t until;
    uint8_t tl0;
    uint8_t th0;
    uint8_t tcon;
};

// Timer 0 counts from the cycle after the SETB TR0 (from cycle 7 here, the SJMP $ rounds at odd
// cycles): the run bit is written at the end of the instruction.
const TimerCase kTimerCases[] = {
    {"mode 1 one count short of the overflow", {0x75, 0x89, 0x01, 0x75, 0x8C, 0xFF, 0x75, 0x8A, 0xF0, 0xD2, 0x8C}, 21, 0xFE, 0xFF, 0x10},
    {"mode 1 past the overflow", {0x75, 0x89, 0x01, 0x75, 0x8C, 0xFF, 0x75, 0x8A, 0xF0, 0xD2, 0x8C}, 23, 0x00, 0x00, 0x30},
    // 13 bits: TL0's upper three bits step with each carry out of bit 4.
    {"mode 0 rolls over after 1FFFh", {0x75, 0x89, 0x00, 0x75, 0x8C, 0xFF, 0x75, 0x8A, 0x1F, 0xD2, 0x8C}, 9, 0x21, 0x00, 0x30},
    {"mode 2 reloads from TH0", {0x75, 0x89, 0x02, 0x75, 0x8C, 0xF0, 0x75, 0x8A, 0xF0, 0xD2, 0x8C}, 107, 0xF4, 0xF0, 0x30},
    {"mode 3: TL0 on TR0 and TF0, TH0 on TR1 and TF1",
        {0x75, 0x89, 0x03, 0x75, 0x8C, 0xF8, 0x75, 0x8A, 0xFC, 0xD2, 0x8C, 0xD2, 0x8E}, 20, 0x09, 0x04, 0xF0},
    {"a counter counts no cycles", {0x75, 0x89, 0x05, 0x75, 0x8C, 0x00, 0x75, 0x8A, 0x00, 0xD2, 0x8C}, 101, 0x00, 0x00, 0x10},
    // The program pulls INT0 low in the cycle after it started the timer, at the end of CLR P3.2:
    // that cycle counts. IE0 follows the level.
    {"GATE holds the timer while INT0 is low", {0x75, 0x89, 0x09, 0x75, 0x8C, 0x00, 0x75, 0x8A, 0x00, 0xD2, 0x8C, 0xC2, 0xB2}, 102, 0x01, 0x00, 0x12},
};

// CLR TR0 is written at its end too: the timer counts the cycle of the instruction that stops it.
TEST(Timers, CountTheCycleOfTheInstructionThatStopsThem)
{
    // TMOD=01h; SETB TR0 (at 2); NOP; NOP; CLR TR0 (at 5); SJMP $
    auto machine = MachineWith({0x75, 0x89, 0x01, 0xD2, 0x8C, 0x00, 0x00, 0xC2, 0x8C, 0x80, 0xFE});
    machine->SetStopAtSelfJump(true);
    machine->Run(100);
    EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTL0), 3);
}

TEST(Timers, CountInEachModeAsTheDataSheetSays)
{
    for (const TimerCase& c : kTimerCases) {
        SCOPED_TRACE(c.what);
        Bytes51 code = c.setup;
        code.insert(code.end(), {0x80, 0xFE});
        auto machine = MachineWith(code);
        while (machine->Cycles() < c.until)
            machine->Step();
        EXPECT_EQ(machine->Cycles(), c.until);
        EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTL0), c.tl0);
        EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTH0), c.th0);
        EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTCON), c.tcon);
    }
}

TEST(Timers, CounterCountsFallingEdgesOnItsPin)
{
    // TMOD = 05h (Timer 0 a 16-bit counter), SETB TR0, SJMP $
    auto machine = MachineWith({0x75, 0x89, 0x05, 0xD2, 0x8C, 0x80, 0xFE});
    machine->Run(10);
    for (int edge = 0; edge < 3; ++edge) {
        machine->SetPortInput(3, static_cast<uint8_t>(~kPinT0));
        machine->Run(4);
        machine->SetPortInput(3, 0xFF);
        machine->Run(4);
    }
    EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTL0), 3);
}

TEST(Timers, Timer2CapturesOrReloadsOnT2ExEdges)
{
    for (bool capture : {true, false}) {
        SCOPED_TRACE(capture ? "capture" : "reload");
        // RCAP2 = 1234h; T2CON = EXEN2 | TR2 (| CP/RL2); SJMP $
        auto machine = MachineWith({0x75, 0xCB, 0x12, 0x75, 0xCA, 0x34, 0x75, 0xC8,
                                       static_cast<uint8_t>(capture ? 0x0D : 0x0C), 0x80, 0xFE},
            Mcs51Variant::k8052);
        machine->Run(100);
        const uint8_t low = machine->Read(Mcs51Space::kSfr, kTL2);
        machine->SetPortInput(1, static_cast<uint8_t>(~kPinT2EX));
        EXPECT_TRUE(machine->Read(Mcs51Space::kSfr, kT2CON) & kT2conEXF2);
        if (capture) {
            EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kRCAP2L), low);
            EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kRCAP2H), 0x00);
        } else {
            EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTL2), 0x34);
            EXPECT_EQ(machine->Read(Mcs51Space::kSfr, kTH2), 0x12);
        }
    }
}

struct ResponseCase {
    const char* what;
    Bytes51 main;
    uint64_t routineCycle;
};

// Timer 0 overflows in cycle 26 (its flag is there from the boundary at 27). Intel: the flag
// is polled in the next cycle; if that is the last cycle of an instruction, the two-cycle
// call follows; RETI and writes to IE or IP let one more instruction run first.
const ResponseCase kResponseCases[] = {
    {"one-cycle instructions: three cycles from the flag", Bytes51(21, 0x00), 30},
    {"a flag from the last cycle waits for the next instruction's end",
        [] { Bytes51 b(16, 0x00); b.push_back(0xA4); b.insert(b.end(), 8, 0x00); return b; }(), 33},
    {"a two-cycle instruction around the poll",
        [] { Bytes51 b(15, 0x00); b.insert(b.end(), {0x75, 0x30, 0x01}); b.insert(b.end(), 8, 0x00); return b; }(), 30},
    {"a write to IP lets one more instruction run",
        [] { Bytes51 b(16, 0x00); b.insert(b.end(), {0x75, 0xB8, 0x00}); b.insert(b.end(), 8, 0x00); return b; }(), 32},
};

TEST(Interrupts, ResponseTimeFollowsIntelsPollingRules)
{
    for (const ResponseCase& c : kResponseCases) {
        SCOPED_TRACE(c.what);
        // LJMP 30h; at 0Bh: SJMP $; at 30h: TMOD=01h, TH0=FFh, TL0=F0h, IE=82h, SETB TR0.
        Bytes51 code(0x30, 0x00);
        code[0] = 0x02;
        code[2] = 0x30;
        code[0x0B] = 0x80;
        code[0x0C] = 0xFE;
        const Bytes51 setup = {0x75, 0x89, 0x01, 0x75, 0x8C, 0xFF, 0x75, 0x8A, 0xF0, 0x75, 0xA8, 0x82, 0xD2, 0x8C};
        code.insert(code.end(), setup.begin(), setup.end());
        code.insert(code.end(), c.main.begin(), c.main.end());
        auto machine = MachineWith(code);
        ASSERT_TRUE(RunTo(*machine, 0x000B, 200));
        EXPECT_EQ(machine->Cycles(), c.routineCycle);
    }
}

// Host that notes when each frame ended.
class CFrameClock : public IHost51 {
public:
    explicit CFrameClock(CMachine51& machine) : m_machine(machine) {}
    void OnSerialOut(uint8_t byte, bool) override
    {
        ends.push_back(m_machine.Cycles());
        text += static_cast<char>(byte);
    }
    std::vector<uint64_t> ends;
    std::string text;

private:
    CMachine51& m_machine;
};

struct FrameCase {
    const char* what;
    uint8_t scon;
    uint8_t pcon;
    // Machine cycles of four frames sent back to back.
    uint64_t fourFrames;
};

const FrameCase kFrameCases[] = {
    // Timer 1 reloads FDh: an overflow every 3 cycles, 32 (SMOD = 0) or 16 to a bit.
    {"mode 1, 10 bits", 0x40, 0x00, 4 * 960},
    {"mode 1 with SMOD", 0x40, 0x80, 4 * 480},
    {"mode 3, 11 bits", 0xC0, 0x00, 4 * 1056},
    // fosc/64: rollovers every 32 states (5 1/3 cycles); the loop writes SBUF after the rollover
    // that follows TI, so each frame takes 11 bit times and one more rollover.
    {"mode 2", 0x80, 0x00, 4 * 12 * 32 / 6},
    // fosc/32: rollovers every 16 states; the loop's reaction spans one or two of them.
    {"mode 2 with SMOD", 0x80, 0x80, 51 * 16 / 6},
    // The flag at the start of the tenth cycle after the write; the loop polls every two.
    {"mode 0", 0x00, 0x00, 4 * 17},
};

TEST(Serial, FramesTakeTheDataSheetsTime)
{
    for (const FrameCase& c : kFrameCases) {
        SCOPED_TRACE(c.what);
        // SCON, TMOD=20h, TH1=TL1=FDh, PCON, SETB TR1; loop: MOV SBUF,#55h; JNB TI,$; CLR TI; SJMP loop
        auto machine = MachineWith({0x75, 0x98, c.scon, 0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0x75, 0x8B, 0xFD, 0x75, 0x87,
            c.pcon, 0xD2, 0x8E, 0x75, 0x99, 0x55, 0x30, 0x99, 0xFD, 0xC2, 0x99, 0x80, 0xF6});
        CFrameClock clock(*machine);
        machine->SetHost(&clock);
        while (clock.ends.size() < 6)
            machine->Run(1000);
        const uint64_t measured = clock.ends[5] - clock.ends[1];
        EXPECT_NEAR(static_cast<double>(measured), static_cast<double>(c.fourFrames), 1.0);
        EXPECT_EQ(clock.text.substr(0, 6), "UUUUUU");
    }
}

// Echo: mode 1 at 10.4 kbaud; each byte received goes back; a '.' ends the program.
const Bytes51 kEcho = {0x75, 0x98, 0x50, 0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0x75, 0x8B, 0xFD, 0xD2, 0x8E, 0x30, 0x98,
    0xFD, 0xC2, 0x98, 0xE5, 0x99, 0xB4, 0x2E, 0x02, 0x80, 0xFE, 0xF5, 0x99, 0x30, 0x99, 0xFD, 0xC2, 0x99, 0x80, 0xEB};

TEST(Serial, ReceiverTakesTheHostsBytesWithoutLosingAny)
{
    auto machine = MachineWith(kEcho);
    CFrameClock clock(*machine);
    machine->SetHost(&clock);
    machine->SetStopAtSelfJump(true);
    const std::string text = "Korvane 8051.";
    for (char c : text)
        machine->QueueSerialInput(static_cast<uint8_t>(c));
    EXPECT_EQ(machine->Run(10000000), machine::StopReason::Ended);
    EXPECT_EQ(clock.text, "Korvane 8051");
    EXPECT_EQ(machine->PendingSerialInput(), 0u);
}

TEST(ExternalInterrupts, EdgesAreLatchedLevelsFollowThePin)
{
    // LJMP 30h; at 03h: INC R7, RETI; at 30h: IE=81h, SJMP $ (TCON's IT0 set by the test)
    Bytes51 code(0x30, 0x00);
    code[0] = 0x02;
    code[2] = 0x30;
    code[3] = 0x0F;
    code[4] = 0x32;
    code.insert(code.end(), {0x75, 0xA8, 0x81, 0x80, 0xFE});
    for (bool edge : {true, false}) {
        SCOPED_TRACE(edge ? "edge" : "level");
        auto machine = MachineWith(code);
        machine->Write(Mcs51Space::kSfr, kTCON, edge ? kTconIT0 : 0);
        machine->Run(100);
        machine->SetPortInput(3, static_cast<uint8_t>(~kPinINT0));
        machine->Run(100);
        const uint8_t whileLow = machine->Registers().r[7];
        machine->SetPortInput(3, 0xFF);
        machine->Run(100);
        const uint8_t afterRelease = machine->Registers().r[7];
        machine->Run(100);
        if (edge) {
            EXPECT_EQ(whileLow, 1);
        } else {
            // A routine (call, INC, RETI) takes five cycles and one instruction runs between.
            EXPECT_GT(whileLow, 10);
        }
        EXPECT_EQ(machine->Registers().r[7], afterRelease);
    }
}

TEST(PowerModes, IdleWaitsForAnInterruptPowerDownForAReset)
{
    // LJMP 30h; at 0Bh: INC R7, RETI; at 30h: TMOD=02h, IE=82h, SETB TR0;
    // loop: ORL PCON,#01h; INC R6; SJMP loop
    Bytes51 code(0x30, 0x00);
    code[0] = 0x02;
    code[2] = 0x30;
    code[0x0B] = 0x0F;
    code[0x0C] = 0x32;
    code.insert(code.end(), {0x75, 0x89, 0x02, 0x75, 0xA8, 0x82, 0xD2, 0x8C, 0x43, 0x87, 0x01, 0x0E, 0x80, 0xFA});
    auto machine = MachineWith(code);
    EXPECT_EQ(machine->Run(256 * 10), machine::StopReason::Limit);
    const Registers51 r = machine->Registers();
    EXPECT_EQ(r.r[7], 9);
    EXPECT_EQ(r.r[6], 9);

    // ORL PCON,#02h; SJMP $
    auto powerDown = MachineWith({0x43, 0x87, 0x02, 0x04, 0x80, 0xFE});
    EXPECT_EQ(powerDown->Run(1000), machine::StopReason::Ended);
    EXPECT_EQ(powerDown->Pc(), 3);
    // Idle with no interrupt enabled never ends either.
    auto idle = MachineWith({0x43, 0x87, 0x01, 0x04, 0x80, 0xFE});
    EXPECT_EQ(idle->Run(1000), machine::StopReason::Ended);
}
}
