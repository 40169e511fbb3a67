// Interrupts between instructions: the hardware line under IF, the instructions that hold it
// off, the single-step trap, HLT, repeated string instructions that pause, and the exceptions.
#include "TestMachine.h"

#include <gtest/gtest.h>

using namespace dos;

namespace {

constexpr uint16_t kHandler = 0x0200;
constexpr uint16_t kTrapHandler = 0x0300;

// A machine whose vectors 1 (trap), 5, 6 and 8 lead to handlers in the code segment.
TestMachine& WithHandlers(TestMachine& m)
{
    m.SetVector(1, TestMachine::kCode, kTrapHandler);
    m.SetVector(5, TestMachine::kCode, kHandler);
    m.SetVector(6, TestMachine::kCode, kHandler);
    m.SetVector(8, TestMachine::kCode, kHandler);
    m.SetVector(0x40, TestMachine::kCode, kHandler);
    m.bus.m_nVector = 8;
    return m;
}

uint16_t ReturnIp(TestMachine& m)
{
    return m.Word(m.s.ss(), m.s.sp());
}

TEST(HardwareInterrupt, IsTakenAfterTheInstructionOnlyWhileIfIsSet)
{
    for (const bool enabled : {false, true}) {
        TestMachine m;
        WithHandlers(m).Load({0x90, 0x90});
        m.s.flags = static_cast<uint16_t>(kFlagsFixed | (enabled ? kFlagInterrupt : 0));
        m.cpu.SetInterruptLine(true);

        m.cpu.Step();

        EXPECT_EQ(m.bus.m_nAcknowledged, enabled ? 1 : 0);
        EXPECT_EQ(m.s.ip, enabled ? kHandler : 0x0101);
        if (enabled) {
            EXPECT_EQ(ReturnIp(m), 0x0101);
            EXPECT_FALSE(m.s.Flag(kFlagInterrupt));
            EXPECT_TRUE(m.Word(m.s.ss(), static_cast<uint16_t>(m.s.sp() + 4)) & kFlagInterrupt);
        }
    }
}

// MOV SS (and POP SS, and the other segment registers on the 8086) and STI keep the interrupt
// waiting until the next instruction has run.
TEST(HardwareInterrupt, WaitsOneInstructionAfterMovSsAndSti)
{
    const std::vector<std::vector<uint8_t>> cases = {
        {0x8E, 0xD0, 0x90, 0x90},  // MOV SS,AX
        {0x17, 0x90, 0x90},        // POP SS
        {0x8E, 0xD8, 0x90, 0x90},  // MOV DS,AX
        {0xFB, 0x90, 0x90},        // STI (IF clear before)
    };
    for (const auto& code : cases) {
        TestMachine m;
        WithHandlers(m).Load({});
        for (size_t i = 0; i < code.size(); ++i) m.memory.Write8(TestMachine::kCode, static_cast<uint16_t>(0x0100 + i), code[i]);
        m.s.ax() = TestMachine::kStack;
        m.memory.Write16(TestMachine::kStack, 0x0100, TestMachine::kStack);
        m.s.flags = static_cast<uint16_t>(kFlagsFixed | (code[0] == 0xFB ? 0 : kFlagInterrupt));
        m.cpu.SetInterruptLine(true);

        m.cpu.Step();
        const uint16_t afterFirst = m.s.ip;
        EXPECT_NE(afterFirst, kHandler) << "opcode " << int(code[0]);
        m.cpu.Step();
        EXPECT_EQ(m.s.ip, kHandler) << "opcode " << int(code[0]);
        EXPECT_EQ(ReturnIp(m), afterFirst + 1) << "opcode " << int(code[0]);
    }
}

TEST(Trap, FollowsTheInstructionThatBeganWithTfSet)
{
    TestMachine m;
    WithHandlers(m).Load({0x40, 0x40});  // INC AX; INC AX
    m.s.flags = kFlagsFixed | kFlagTrap;

    m.cpu.Step();

    EXPECT_EQ(m.s.ax(), 1);
    EXPECT_EQ(m.s.ip, kTrapHandler);
    EXPECT_EQ(ReturnIp(m), 0x0101);
    EXPECT_FALSE(m.s.Flag(kFlagTrap));
    EXPECT_TRUE(m.Word(m.s.ss(), static_cast<uint16_t>(m.s.sp() + 4)) & kFlagTrap);
}

// As on the 8086, tracing INT n stops at the handler's first instruction.
TEST(Trap, AfterIntReturnsToTheHandlersFirstInstruction)
{
    TestMachine m;
    WithHandlers(m).Load({0xCD, 0x40});  // INT 40h
    m.s.flags = kFlagsFixed | kFlagTrap;

    m.cpu.Step();

    EXPECT_EQ(m.s.ip, kTrapHandler);
    EXPECT_EQ(ReturnIp(m), kHandler);
}

TEST(Trap, PopfThatSetsTfTrapsAfterTheNextInstruction)
{
    TestMachine m;
    WithHandlers(m).Load({0x9D, 0x90, 0x90});  // POPF; NOP; NOP
    m.memory.Write16(TestMachine::kStack, 0x0100, kFlagsFixed | kFlagTrap);
    m.s.flags = kFlagsFixed;

    m.cpu.Step();
    EXPECT_EQ(m.s.ip, 0x0101);
    m.cpu.Step();
    EXPECT_EQ(m.s.ip, kTrapHandler);
    EXPECT_EQ(ReturnIp(m), 0x0102);
}

TEST(Halt, StopsRunUntilAnInterruptWakesIt)
{
    TestMachine m;
    WithHandlers(m).Load({0xF4, 0x90});  // HLT; NOP
    m.s.flags = kFlagsFixed | kFlagInterrupt;

    EXPECT_EQ(m.cpu.Run(10), StopReason::Idle);
    EXPECT_TRUE(m.cpu.Halted());
    EXPECT_EQ(m.s.ip, 0x0101);
    EXPECT_EQ(m.cpu.Run(10), StopReason::Idle);
    EXPECT_EQ(m.s.ip, 0x0101);

    m.cpu.SetInterruptLine(true);
    m.cpu.Step();
    EXPECT_FALSE(m.cpu.Halted());
    EXPECT_EQ(m.s.ip, kHandler);
    EXPECT_EQ(ReturnIp(m), 0x0101);
}

TEST(RepeatedString, StepRunsOneElementAndComesBackToThePrefix)
{
    TestMachine m;
    m.Load({0xF3, 0xA4, 0x90});  // REP MOVSB; NOP
    m.s.cx() = 3;
    m.s.si() = 0x0400;
    m.s.di() = 0x0500;
    m.Place(TestMachine::kCode, 0x0400, {1, 2, 3});

    for (uint16_t left : {2, 1}) {
        m.cpu.Step();
        EXPECT_TRUE(m.cpu.InRepeat());
        EXPECT_EQ(m.s.ip, 0x0100);
        EXPECT_EQ(m.s.cx(), left);
    }
    m.cpu.Step();
    EXPECT_FALSE(m.cpu.InRepeat());
    EXPECT_EQ(m.s.ip, 0x0102);
    EXPECT_EQ(m.s.cx(), 0);
    EXPECT_EQ(m.memory.Read8(TestMachine::kCode, 0x0502), 3);
}

// A waiting interrupt stops the string between two elements; IRET resumes it at its first
// prefix, segment override included.
TEST(RepeatedString, PausesForAnInterruptAndResumes)
{
    TestMachine m;
    WithHandlers(m).Load({0x26, 0xF3, 0xAA, 0x90});  // ES: REP STOSB; NOP
    m.Place(TestMachine::kCode, kHandler, {0xCF});     // IRET
    m.s.flags = kFlagsFixed | kFlagInterrupt;
    m.s.cx() = 5;
    m.s.di() = 0x0600;
    m.s.set_al(0xAB);
    m.cpu.SetInterruptLine(true);

    m.cpu.Step();
    EXPECT_EQ(m.s.ip, kHandler);
    EXPECT_EQ(ReturnIp(m), 0x0100);
    EXPECT_EQ(m.s.cx(), 4);

    m.cpu.SetInterruptLine(false);
    EXPECT_EQ(m.cpu.Run(6), StopReason::Limit);  // IRET, four elements, NOP
    EXPECT_EQ(m.s.ip, 0x0104);
    EXPECT_EQ(m.s.cx(), 0);
    EXPECT_EQ(m.s.di(), 0x0605);
    EXPECT_EQ(m.memory.Read8(TestMachine::kCode, 0x0604), 0xAB);
}

// Opcodes the 80186 does not define (0Fh, which the 8086 ran as POP CS, among them), and
// operands that cannot be registers, raise interrupt 6 with the instruction's address.
TEST(Exception, UndefinedFormsRaiseInterrupt6AtTheInstruction)
{
    const std::vector<std::vector<uint8_t>> cases = {
        {0x0F},              // the 8086's POP CS
        {0x63},              // 63h-67h
        {0x67},
        {0x2E, 0x64},        // after a prefix: the return address is the prefix's
        {0xFE, 0xD0},        // FEh /2
        {0x8D, 0xC0},        // LEA AX,AX
        {0xC4, 0xC0},        // LES AX,AX
        {0xFF, 0xD8},        // CALL FAR AX
        {0x62, 0xC0},        // BOUND AX,AX
    };
    for (const auto& code : cases) {
        TestMachine m;
        WithHandlers(m).Load({});
        for (size_t i = 0; i < code.size(); ++i) m.memory.Write8(TestMachine::kCode, static_cast<uint16_t>(0x0100 + i), code[i]);

        m.cpu.Step();

        EXPECT_EQ(m.s.ip, kHandler) << "opcode " << int(code[0]);
        EXPECT_EQ(ReturnIp(m), 0x0100) << "opcode " << int(code[0]);
    }
}

TEST(Exception, BoundRaisesInterrupt5OutsideTheLimits)
{
    for (const auto& [index, taken] : std::vector<std::pair<uint16_t, bool>>{{10, false}, {20, false}, {9, true}, {21, true}, {0xFFFF, true}}) {
        TestMachine m;
        WithHandlers(m).Load({0x62, 0x06, 0x00, 0x04});  // BOUND AX,[0400]
        m.memory.Write16(TestMachine::kCode, 0x0400, 10);
        m.memory.Write16(TestMachine::kCode, 0x0402, 20);
        m.s.ax() = index;

        m.cpu.Step();

        EXPECT_EQ(m.s.ip, taken ? kHandler : 0x0104) << "index " << index;
    }
}

}  // namespace
