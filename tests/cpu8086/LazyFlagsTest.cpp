// The flags an instruction leaves pending reach the next one exactly: two instructions run in
// one Run (the flags pending between them) end as they do stepped one by one (the flags
// settled between them), for every kind of instruction that leaves flags pending followed by
// every kind that reads or changes some of them.
#include "TestMachine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace dos;

namespace {

const std::vector<std::vector<uint8_t>> kProducers = {
    {0x00, 0xD8},        // ADD AL,BL
    {0x01, 0xD8},        // ADD AX,BX
    {0x10, 0xD8},        // ADC AL,BL
    {0x29, 0xD8},        // SUB AX,BX
    {0x18, 0xD8},        // SBB AL,BL
    {0x39, 0xD8},        // CMP AX,BX
    {0x20, 0xD8},        // AND AL,BL
    {0x31, 0xD8},        // XOR AX,BX
    {0x40},              // INC AX
    {0xFE, 0xC8},        // DEC AL
    {0xF7, 0xD8},        // NEG AX
    {0xD1, 0xE0},        // SHL AX,1
    {0xD0, 0xE8},        // SHR AL,1
    {0xC1, 0xF8, 0x03},  // SAR AX,3
    {0xA6},              // CMPSB
};

const std::vector<std::vector<uint8_t>> kReaders = {
    {0xD1, 0xC1},  // ROL CX,1
    {0xD0, 0xCA},  // ROR DL,1
    {0xD1, 0xD3},  // RCL BX,1
    {0xD0, 0xDC},  // RCR AH,1
    {0xD3, 0xC2},  // ROL DX,CL
    {0xD3, 0xD2},  // RCL DX,CL
    {0x9C},        // PUSHF
    {0x9F},        // LAHF
    {0x11, 0xCA},  // ADC DX,CX
    {0x41},        // INC CX
    {0xF5},        // CMC
    {0xD6},        // SALC
    {0x27},        // DAA
    {0xF6, 0xE1},  // MUL CL
    {0x7C, 0x02},  // JL +2
    {0x76, 0x02},  // JBE +2
    {0x7A, 0x02},  // JPE +2
    {0x70, 0x02},  // JO +2
    {0xE1, 0x02},  // LOOPZ +2
};

void Prepare(TestMachine& m, const std::vector<uint8_t>& first, const std::vector<uint8_t>& second, std::mt19937& random)
{
    m.Load({});
    uint16_t at = 0x0100;
    for (uint8_t byte : first) m.memory.Write8(TestMachine::kCode, at++, byte);
    for (uint8_t byte : second) m.memory.Write8(TestMachine::kCode, at++, byte);
    for (uint16_t& r : m.s.reg) r = static_cast<uint16_t>(random());
    m.s.sp() = 0x0100;
    m.s.si() = 0x0400;
    m.s.di() = 0x0500;
    m.s.cx() = static_cast<uint16_t>(random() % 20);
    m.memory.Write8(TestMachine::kCode, 0x0400, static_cast<uint8_t>(random()));
    m.memory.Write8(TestMachine::kCode, 0x0500, static_cast<uint8_t>(random()));
    m.s.flags = static_cast<uint16_t>(kFlagsFixed | (random() & 0x08D5));
}

TEST(LazyFlags, PendingFlagsReachTheNextInstructionExactly)
{
    std::mt19937 random(8086);
    TestMachine together;
    TestMachine apart;
    for (const auto& first : kProducers) {
        for (const auto& second : kReaders) {
            for (int round = 0; round < 8; ++round) {
                const std::mt19937 start = random;
                Prepare(together, first, second, random);
                std::mt19937 same = start;
                Prepare(apart, first, second, same);

                together.cpu.Run(2);
                apart.cpu.Step();
                apart.cpu.Step();

                ASSERT_EQ(std::memcmp(&together.s, &apart.s, sizeof(CpuState)), 0)
                    << "opcodes " << int(first[0]) << " then " << int(second[0]) << ": flags " << together.s.flags << " against " << apart.s.flags;
                ASSERT_EQ(together.Word(TestMachine::kStack, 0x00FE), apart.Word(TestMachine::kStack, 0x00FE));
            }
        }
    }
}

}  // namespace
