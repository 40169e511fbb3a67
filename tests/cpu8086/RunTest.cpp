// Run and Step as the machine and the debugger use them: breakpoints, a stop from another
// thread, the instruction count, and fetching across the ends of a segment and of memory.
#include "TestMachine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace dos;

namespace {

TEST(Run, StopsBeforeABreakpointButNeverAtItsFirstInstruction)
{
    TestMachine m;
    m.Load({0x40, 0x40, 0x40, 0x40});  // INC AX x4
    m.cpu.SetBreakpoint(CMemory::Linear(TestMachine::kCode, 0x0102));

    EXPECT_EQ(m.cpu.Run(100), StopReason::Breakpoint);
    EXPECT_EQ(m.s.ip, 0x0102);
    EXPECT_EQ(m.s.ax(), 2);
    EXPECT_EQ(m.cpu.Executed(), 2u);

    EXPECT_EQ(m.cpu.Run(2), StopReason::Limit);
    EXPECT_EQ(m.s.ax(), 4);

    m.cpu.ClearBreakpoint(CMemory::Linear(TestMachine::kCode, 0x0102));
    EXPECT_FALSE(m.cpu.HasBreakpoint(CMemory::Linear(TestMachine::kCode, 0x0102)));
}

// A run whose budget ends before a breakpoint stops at it: the run after it would begin there
// and pass it.
TEST(Run, ARunCutShortBeforeABreakpointStopsAtIt)
{
    TestMachine m;
    m.Load({0x40, 0x40, 0x40, 0x40});  // INC AX x4
    m.cpu.SetBreakpoint(CMemory::Linear(TestMachine::kCode, 0x0102));
    EXPECT_EQ(m.cpu.Run(1), StopReason::Limit);
    EXPECT_EQ(m.cpu.Run(1), StopReason::Breakpoint);
    EXPECT_EQ(m.s.ip, 0x0102);
    EXPECT_EQ(m.cpu.Executed(), 1u);
}

TEST(Run, RequestStopFromAnotherThreadEndsAnEndlessLoop)
{
    TestMachine m;
    m.Load({0xEB, 0xFE});  // JMP $
    std::thread stopper([&m] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m.cpu.RequestStop();
    });

    const StopReason reason = m.cpu.Run(UINT64_MAX);
    stopper.join();

    EXPECT_EQ(reason, StopReason::Paused);
    EXPECT_EQ(m.s.ip, 0x0100);
    EXPECT_GT(m.cpu.Executed(), 0u);
}

TEST(Run, CountsEveryElementOfARepeatedString)
{
    TestMachine m;
    m.InstallService(0x20);
    m.Load({0xF3, 0xAA, 0x90, 0xCD, 0x20});  // REP STOSB; NOP; INT 20h
    m.s.cx() = 10;
    m.s.di() = 0x0400;
    m.bus.m_service = [](uint8_t, CCpu8086&) { return ServiceResult::Stop; };

    EXPECT_EQ(m.cpu.Run(1000), StopReason::Ended);
    EXPECT_EQ(m.cpu.Executed(), 12u);

    // A budget that ends inside the string leaves it to be resumed.
    TestMachine n;
    n.Load({0xF3, 0xAA, 0x90});
    n.s.cx() = 10;
    EXPECT_EQ(n.cpu.Run(4), StopReason::Limit);
    EXPECT_TRUE(n.cpu.InRepeat());
    EXPECT_EQ(n.s.cx(), 6);
    EXPECT_EQ(n.s.ip, 0x0100);
}

// An instruction that runs over the end of its segment continues at offset 0 of the same
// segment; one that runs over the end of memory continues at linear 0.
TEST(Run, FetchWrapsAtTheEndOfTheSegmentAndOfMemory)
{
    struct Place {
        uint16_t cs;
        uint16_t ip;
    };
    for (const Place place : {Place{0x3000, 0xFFFE}, Place{0xFFFF, 0x000E}, Place{0x3000, 0xFFF8}}) {
        TestMachine m;
        const uint8_t code[] = {0x2E, 0xB8, 0x34, 0x12, 0x40};  // CS: MOV AX,1234h; INC AX
        for (uint16_t i = 0; i < sizeof code; ++i) m.memory.Write8(place.cs, static_cast<uint16_t>(place.ip + i), code[i]);
        m.s.cs() = place.cs;
        m.s.ip = place.ip;

        m.cpu.Run(2);

        EXPECT_EQ(m.s.ax(), 0x1235) << place.cs << ":" << place.ip;
        EXPECT_EQ(m.s.ip, static_cast<uint16_t>(place.ip + 5)) << place.cs << ":" << place.ip;
    }
}

// The 8086 takes any number of prefixes; a long run of them is one instruction, also where it
// crosses the end of the segment.
TEST(Run, ALongRunOfPrefixesIsOneInstruction)
{
    for (const uint16_t start : {uint16_t{0x0100}, uint16_t{0xFFE0}}) {
        TestMachine m;
        uint16_t at = start;
        for (int i = 0; i < 40; ++i) m.memory.Write8(TestMachine::kCode, at++, i % 2 ? 0x2E : 0xF0);
        m.memory.Write8(TestMachine::kCode, at++, 0x40);  // INC AX
        m.s.cs() = TestMachine::kCode;
        m.s.ip = start;

        EXPECT_EQ(m.cpu.Run(1), StopReason::Limit);

        EXPECT_EQ(m.s.ax(), 1) << start;
        EXPECT_EQ(m.s.ip, at) << start;
    }
}

TEST(Run, AWordAtOffsetFfffTakesItsHighByteFromOffset0)
{
    TestMachine m;
    m.Load({0xA1, 0xFF, 0xFF, 0xA3, 0xFF, 0xFF});  // MOV AX,[FFFF]; MOV [FFFF],AX
    m.memory.Write8(TestMachine::kCode, 0xFFFF, 0x34);
    m.memory.Write8(TestMachine::kCode, 0x0000, 0x12);

    m.cpu.Step();

    EXPECT_EQ(m.s.ax(), 0x1234);
    m.s.ax() = 0xABCD;
    m.cpu.Step();
    EXPECT_EQ(m.memory.Read8(TestMachine::kCode, 0x0000), 0xAB);
    EXPECT_EQ(m.memory.Read8(CMemory::Linear(TestMachine::kCode, 0xFFFF)), 0xCD);
}

// Every way of changing CS: the next instruction comes from the new code segment.
TEST(Run, ContinuesInTheNewCodeSegment)
{
    const std::vector<std::vector<uint8_t>> cases = {
        {0xEA, 0x10, 0x00, 0x00, 0x30},  // JMP FAR 3000:0010
        {0x9A, 0x10, 0x00, 0x00, 0x30},  // CALL FAR 3000:0010
        {0xCB},                          // RETF to 3000:0010
        {0xCF},                          // IRET to 3000:0010
        {0xFF, 0x2E, 0x00, 0x04},        // JMP FAR [0400]
        {0xFF, 0x1E, 0x00, 0x04},        // CALL FAR [0400]
        {0xCD, 0x40},                    // INT 40h, its vector 3000:0010
    };
    for (const auto& code : cases) {
        TestMachine m;
        m.Load({});
        for (size_t i = 0; i < code.size(); ++i) m.memory.Write8(TestMachine::kCode, static_cast<uint16_t>(0x0100 + i), code[i]);
        m.memory.Write16(TestMachine::kStack, 0x0100, 0x0010);
        m.memory.Write16(TestMachine::kStack, 0x0102, 0x3000);
        m.memory.Write16(TestMachine::kStack, 0x0104, kFlagsFixed);
        m.memory.Write16(TestMachine::kCode, 0x0400, 0x0010);
        m.memory.Write16(TestMachine::kCode, 0x0402, 0x3000);
        m.SetVector(0x40, 0x3000, 0x0010);
        m.Place(0x3000, 0x0010, {0x40});  // INC AX

        m.cpu.Run(2);

        EXPECT_EQ(m.s.cs(), 0x3000) << "opcode " << int(code[0]);
        EXPECT_EQ(m.s.ip, 0x0011) << "opcode " << int(code[0]);
        EXPECT_EQ(m.s.ax(), 1) << "opcode " << int(code[0]);
    }
}

// MOV CS (8Eh /1) loads CS: execution goes on at the same IP in the new segment.
TEST(Run, MovCsContinuesAtTheSameOffset)
{
    TestMachine m;
    m.Load({0x8E, 0xCB});
    m.s.bx() = 0x3000;
    m.Place(0x3000, 0x0102, {0x40});

    m.cpu.Run(2);

    EXPECT_EQ(m.s.cs(), 0x3000);
    EXPECT_EQ(m.s.ax(), 1);
    EXPECT_EQ(m.s.ip, 0x0103);
}

// DAA and DAS decide the high digit as the real chip does, also where later processors differ:
// AL 9Ah-9Fh with AF set and CF clear gets the low adjustment alone.
TEST(Run, DecimalAdjustsAsTheRealChip)
{
    struct Case {
        uint8_t opcode;
        uint8_t al;
        uint16_t flags;
        uint8_t result;
        bool carry;
        bool auxCarry;
    };
    const Case cases[] = {
        {0x27, 0x9A, kFlagAuxCarry, 0xA0, false, true},
        {0x27, 0x9F, kFlagAuxCarry, 0xA5, false, true},
        {0x27, 0x9A, 0, 0x00, true, true},
        {0x27, 0xA0, kFlagAuxCarry, 0x06, true, true},
        {0x27, 0x9A, kFlagAuxCarry | kFlagCarry, 0x00, true, true},
        {0x2F, 0x9D, kFlagAuxCarry, 0x97, false, true},
        {0x2F, 0x9A, kFlagAuxCarry, 0x94, false, true},
        {0x2F, 0x9A, 0, 0x34, true, true},
        {0x2F, 0x99, 0, 0x99, false, false},
    };
    for (const Case& c : cases) {
        TestMachine m;
        m.Load({c.opcode});
        m.s.set_al(c.al);
        m.s.flags = static_cast<uint16_t>(kFlagsFixed | c.flags);

        m.cpu.Step();

        const std::string name = (c.opcode == 0x27 ? "DAA AL=" : "DAS AL=") + std::to_string(c.al) + " flags " + std::to_string(c.flags);
        EXPECT_EQ(m.s.al(), c.result) << name;
        EXPECT_EQ(m.s.Flag(kFlagCarry), c.carry) << name;
        EXPECT_EQ(m.s.Flag(kFlagAuxCarry), c.auxCarry) << name;
    }
}

// Changes made to the registers between runs (the debugger's R command) take effect.
TEST(Run, TakesTheRegistersAsTheyWereLeft)
{
    TestMachine m;
    m.Load({0x40, 0x40});
    m.Place(TestMachine::kCode, 0x0300, {0x43});  // INC BX
    m.cpu.Step();
    m.s.ip = 0x0300;
    m.s.flags = kFlagsFixed | kFlagCarry;

    m.cpu.Step();

    EXPECT_EQ(m.s.ax(), 1);
    EXPECT_EQ(m.s.bx(), 1);
    EXPECT_TRUE(m.s.Flag(kFlagCarry));
}

}  // namespace
