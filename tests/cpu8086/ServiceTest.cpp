// The machine's own services: INT n reaches them in one step without touching the stack, a
// program chained to them returns through them, and Blocked and Stop do what they say.
#include "TestMachine.h"

#include <gtest/gtest.h>

using namespace dos;

namespace {

constexpr uint8_t kDos = 0x21;

TEST(Service, IntCallsTheServiceInOneStepWithoutPushing)
{
    TestMachine m;
    m.InstallService(kDos);
    m.Load({0xCD, kDos, 0x90});  // INT 21h; NOP
    m.s.flags = kFlagsFixed | kFlagInterrupt | kFlagCarry;
    m.bus.m_service = [](uint8_t, CCpu8086& cpu) {
        // The service sees the caller's state as after the handler's IRET.
        EXPECT_EQ(cpu.State().ip, 0x0102);
        EXPECT_EQ(cpu.State().sp(), 0x0100);
        EXPECT_TRUE(cpu.State().Flag(kFlagInterrupt));
        cpu.State().set_al(0x55);
        cpu.State().SetFlag(kFlagCarry, false);
        return ServiceResult::Done;
    };

    EXPECT_EQ(m.cpu.Step(), StopReason::Limit);

    EXPECT_EQ(m.bus.m_services, std::vector<uint8_t>{kDos});
    EXPECT_EQ(m.s.ip, 0x0102);
    EXPECT_EQ(m.s.sp(), 0x0100);
    EXPECT_EQ(m.s.al(), 0x55);
    EXPECT_FALSE(m.s.Flag(kFlagCarry));
}

TEST(Service, TheServiceSeesTheFlagsOfTheLastArithmetic)
{
    TestMachine m;
    m.InstallService(kDos);
    m.Load({0x3C, 0x01, 0xCD, kDos});  // CMP AL,1; INT 21h
    m.s.flags = kFlagsFixed;
    uint16_t seen = 0;
    m.bus.m_service = [&seen](uint8_t, CCpu8086& cpu) {
        seen = cpu.State().flags;
        return ServiceResult::Done;
    };

    m.cpu.Run(2);

    // 0 - 1: carry, sign, aux carry and parity (FFh has eight bits set).
    EXPECT_EQ(seen & CAlu8086::kArithFlags, kFlagCarry | kFlagSign | kFlagAuxCarry | kFlagParity);
}

// A program's handler that chains to the vector it saved: the machine's handler returns to the
// program's caller as IRET would and keeps the flags the service set.
TEST(Service, ChainedHandlerReturnsThroughTheService)
{
    TestMachine m;
    m.Load({0xCD, kDos, 0x90});                                // INT 21h; NOP
    m.Place(TestMachine::kCode, 0x0200, {0x43, 0xFF, 0x2E, 0x00, 0x03});  // INC BX; JMP FAR [0300]
    m.memory.Write16(TestMachine::kCode, 0x0300, ServiceOffset(kDos));
    m.memory.Write16(TestMachine::kCode, 0x0302, kServiceSegment);
    m.Place(kServiceSegment, ServiceOffset(kDos), {kServiceMark, kDos});
    m.SetVector(kDos, TestMachine::kCode, 0x0200);
    m.s.flags = kFlagsFixed | kFlagInterrupt;
    m.bus.m_service = [](uint8_t, CCpu8086& cpu) {
        EXPECT_EQ(cpu.State().cs(), TestMachine::kCode);
        EXPECT_EQ(cpu.State().ip, 0x0102);
        EXPECT_EQ(cpu.State().sp(), 0x0100);
        EXPECT_TRUE(cpu.State().Flag(kFlagInterrupt));
        cpu.State().SetFlag(kFlagCarry, true);
        return ServiceResult::Done;
    };

    m.cpu.Run(4);  // INT, INC, JMP FAR, and the machine's handler

    EXPECT_EQ(m.bus.m_services, std::vector<uint8_t>{kDos});
    EXPECT_EQ(m.s.cs(), TestMachine::kCode);
    EXPECT_EQ(m.s.ip, 0x0102);
    EXPECT_EQ(m.s.sp(), 0x0100);
    EXPECT_EQ(m.s.bx(), 1);
    EXPECT_TRUE(m.s.Flag(kFlagCarry));
}

TEST(Service, BlockedPutsEveryRegisterBackAndRunningAgainRetries)
{
    TestMachine m;
    m.InstallService(kDos);
    m.Load({0x40, 0xCD, kDos, 0x90});  // INC AX; INT 21h; NOP
    m.s.flags = kFlagsFixed;
    int calls = 0;
    m.bus.m_service = [&calls](uint8_t, CCpu8086& cpu) {
        cpu.State().ax() = 0x4C00;
        cpu.State().flags |= kFlagCarry;
        return ++calls == 1 ? ServiceResult::Blocked : ServiceResult::Done;
    };

    EXPECT_EQ(m.cpu.Run(10), StopReason::WaitingForInput);
    EXPECT_EQ(m.cpu.Executed(), 1u);
    EXPECT_EQ(m.s.ip, 0x0101);
    EXPECT_EQ(m.s.ax(), 1);
    EXPECT_EQ(m.s.sp(), 0x0100);
    EXPECT_FALSE(m.s.Flag(kFlagCarry));

    EXPECT_EQ(m.cpu.Run(1), StopReason::Limit);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(m.s.ip, 0x0103);
    EXPECT_EQ(m.s.ax(), 0x4C00);
}

TEST(Service, StopEndsRunAfterTheInstruction)
{
    TestMachine m;
    m.InstallService(0x20);
    m.Load({0x90, 0xCD, 0x20, 0x40});  // NOP; INT 20h; INC AX
    m.bus.m_service = [](uint8_t, CCpu8086&) { return ServiceResult::Stop; };

    EXPECT_EQ(m.cpu.Run(100), StopReason::Ended);

    EXPECT_EQ(m.cpu.Executed(), 2u);
    EXPECT_EQ(m.s.ip, 0x0103);
    EXPECT_EQ(m.s.ax(), 0);
}

TEST(Service, F1OutsideTheServiceSegmentIsLock)
{
    TestMachine m;
    m.InstallService(0x40);
    m.Load({kServiceMark, 0x40});  // LOCK INC AX, as the 8086 reads F1h

    m.cpu.Step();

    EXPECT_TRUE(m.bus.m_services.empty());
    EXPECT_EQ(m.s.ax(), 1);
    EXPECT_EQ(m.s.ip, 0x0102);
}

// The CPU's own exceptions and the hardware interrupt reach the services as INT n does.
TEST(Service, DivideErrorAndHardwareInterruptReachTheirServices)
{
    TestMachine m;
    m.InstallService(0);
    m.InstallService(8);
    m.Load({0xF6, 0xF3, 0x90});  // DIV BL (BL = 0); NOP
    m.s.flags = kFlagsFixed | kFlagInterrupt;

    m.cpu.Step();
    EXPECT_EQ(m.bus.m_services, std::vector<uint8_t>{0});
    // The 8086 returns after the DIV.
    EXPECT_EQ(m.s.ip, 0x0102);
    EXPECT_EQ(m.s.sp(), 0x0100);

    m.bus.m_nVector = 8;
    m.cpu.SetInterruptLine(true);
    m.cpu.Step();
    EXPECT_EQ(m.bus.m_services, (std::vector<uint8_t>{0, 8}));
    EXPECT_EQ(m.s.ip, 0x0103);
}

// A service may send the program elsewhere (EXEC, a program's end): the next instruction is
// fetched from there.
TEST(Service, TheCpuFollowsCsIpTheServiceSet)
{
    TestMachine m;
    m.InstallService(kDos);
    m.Load({0xCD, kDos});
    m.Place(0x3000, 0x0010, {0x40});  // INC AX
    m.bus.m_service = [](uint8_t, CCpu8086& cpu) {
        cpu.State().cs() = 0x3000;
        cpu.State().ip = 0x0010;
        return ServiceResult::Done;
    };

    m.cpu.Run(2);

    EXPECT_EQ(m.s.ax(), 1);
    EXPECT_EQ(m.s.cs(), 0x3000);
    EXPECT_EQ(m.s.ip, 0x0011);
}

}  // namespace
