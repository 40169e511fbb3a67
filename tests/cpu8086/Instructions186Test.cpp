// The instructions the 80186 added, which MASM emits under .186 and .286 and the 8086 suite
// does not cover: each case runs its bytes and checks what they left.
#include "TestMachine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace dos;

namespace {

struct Case {
    std::string name;
    std::vector<uint8_t> code;
    std::function<void(TestMachine&)> prepare;
    std::function<void(TestMachine&)> check;
    int steps = 1;
};

void RunCase(const Case& c)
{
    TestMachine m;
    m.Load({});
    for (size_t i = 0; i < c.code.size(); ++i) m.memory.Write8(TestMachine::kCode, static_cast<uint16_t>(0x0100 + i), c.code[i]);
    if (c.prepare) c.prepare(m);
    for (int i = 0; i < c.steps; ++i) m.cpu.Step();
    SCOPED_TRACE(c.name);
    c.check(m);
}

TEST(Instructions186, DoWhatTheManualSays)
{
    const uint16_t stack = TestMachine::kStack;
    const std::vector<Case> cases = {
        {"PUSH imm16", {0x68, 0x34, 0x12}, nullptr,
         [&](TestMachine& m) {
             EXPECT_EQ(m.s.sp(), 0x00FE);
             EXPECT_EQ(m.Word(stack, 0x00FE), 0x1234);
         }},
        {"PUSH imm8 sign-extended", {0x6A, 0x80}, nullptr, [&](TestMachine& m) { EXPECT_EQ(m.Word(stack, 0x00FE), 0xFF80); }},
        {"IMUL r16,r/m16,imm8", {0x6B, 0xC3, 0xF9}, [](TestMachine& m) { m.s.bx() = 3; },
         [](TestMachine& m) {
             EXPECT_EQ(m.s.ax(), static_cast<uint16_t>(-21));
             EXPECT_FALSE(m.s.Flag(kFlagCarry));
         }},
        {"IMUL r16,r/m16,imm16 overflowing", {0x69, 0xD9, 0x00, 0x01}, [](TestMachine& m) { m.s.cx() = 0x0100; },
         [](TestMachine& m) {
             EXPECT_EQ(m.s.bx(), 0);
             EXPECT_TRUE(m.s.Flag(kFlagCarry));
             EXPECT_TRUE(m.s.Flag(kFlagOverflow));
         }},
        {"SHL r/m16,imm8", {0xC1, 0xE0, 0x04}, [](TestMachine& m) { m.s.ax() = 0x1001; }, [](TestMachine& m) { EXPECT_EQ(m.s.ax(), 0x0010); }},
        {"ROR r/m8,imm8 counts modulo 32", {0xC0, 0xC8, 0x21}, [](TestMachine& m) { m.s.set_al(0x01); },
         [](TestMachine& m) {
             EXPECT_EQ(m.s.al(), 0x80);
             EXPECT_TRUE(m.s.Flag(kFlagCarry));
         }},
        {"PUSHA", {0x60}, [](TestMachine& m) {
             for (uint16_t r = 0; r < 8; ++r) {
                 if (r != kSP) m.s.reg[r] = static_cast<uint16_t>(0x1110 * (r + 1));
             }
         },
         [&](TestMachine& m) {
             EXPECT_EQ(m.s.sp(), 0x00F0);
             EXPECT_EQ(m.Word(stack, 0x00FE), 0x1110);  // AX first
             EXPECT_EQ(m.Word(stack, 0x00F6), 0x0100);  // SP as it was
             EXPECT_EQ(m.Word(stack, 0x00F0), 0x8880);  // DI last
         }},
        {"PUSHA; POPA", {0x60, 0x31, 0xC0, 0x89, 0xC3, 0x61},
         [](TestMachine& m) {
             m.s.ax() = 1;
             m.s.bx() = 2;
         },
         [](TestMachine& m) {
             EXPECT_EQ(m.s.ax(), 1);
             EXPECT_EQ(m.s.bx(), 2);
             EXPECT_EQ(m.s.sp(), 0x0100);
         },
         4},
        {"ENTER 6,0", {0xC8, 0x06, 0x00, 0x00}, [](TestMachine& m) { m.s.bp() = 0x7777; },
         [&](TestMachine& m) {
             EXPECT_EQ(m.s.bp(), 0x00FE);
             EXPECT_EQ(m.s.sp(), 0x00F8);
             EXPECT_EQ(m.Word(stack, 0x00FE), 0x7777);
         }},
        {"ENTER 0,2 copies the outer frame pointer", {0xC8, 0x00, 0x00, 0x02}, [](TestMachine& m) {
             m.s.bp() = 0x0080;
             m.memory.Write16(TestMachine::kStack, 0x007E, 0x4444);
         },
         [&](TestMachine& m) {
             EXPECT_EQ(m.s.bp(), 0x00FE);
             EXPECT_EQ(m.Word(stack, 0x00FC), 0x4444);
             EXPECT_EQ(m.Word(stack, 0x00FA), 0x00FE);
             EXPECT_EQ(m.s.sp(), 0x00FA);
         }},
        {"ENTER; LEAVE", {0xC8, 0x10, 0x00, 0x00, 0xC9}, [](TestMachine& m) { m.s.bp() = 0x5555; },
         [](TestMachine& m) {
             EXPECT_EQ(m.s.bp(), 0x5555);
             EXPECT_EQ(m.s.sp(), 0x0100);
         },
         2},
        {"REP INSB", {0xF3, 0x6C}, [](TestMachine& m) {
             m.s.cx() = 3;
             m.s.di() = 0x0400;
             m.s.dx() = 0x60;
         },
         [](TestMachine& m) {
             EXPECT_EQ(m.memory.Read8(TestMachine::kCode, 0x0400), 0);
             EXPECT_EQ(m.memory.Read8(TestMachine::kCode, 0x0402), 2);
             EXPECT_EQ(m.s.di(), 0x0403);
         },
         3},
        {"OUTSW", {0x6F}, [](TestMachine& m) {
             m.s.si() = 0x0400;
             m.s.dx() = 0x3F8;
             m.memory.Write16(TestMachine::kCode, 0x0400, 0xBEEF);
         },
         [](TestMachine& m) {
             EXPECT_EQ(m.bus.m_outputs, (std::vector<std::pair<uint16_t, uint8_t>>{{0x3F8, 0xEF}, {0x3F9, 0xBE}}));
             EXPECT_EQ(m.s.si(), 0x0402);
         }},
    };
    for (const Case& c : cases) RunCase(c);
}

}  // namespace
