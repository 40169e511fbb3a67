// What the debugger adds to the disassembler: the kinds and lengths of instructions as the CPU
// runs them, prefixes and all, and r's line with the memory operand's value.
#include "debug/DosInstructions.h"

#include <gtest/gtest.h>

#include <vector>

using namespace dos;

namespace {

struct KindCase {
    std::vector<uint8_t> bytes;
    InstructionKind kind;
    uint8_t length;
};

TEST(DosInstructions, KindsAndLengthsAsTheCpuRunsThem)
{
    const KindCase kCases[] = {
        {{0xE8, 0x00, 0x00}, InstructionKind::Call, 3},
        {{0xFF, 0x57, 0x02}, InstructionKind::Call, 3},
        {{0x2E, 0xFF, 0x1E, 0x00, 0x01}, InstructionKind::Call, 5},
        {{0xCD, 0x21}, InstructionKind::Interrupt, 2},
        {{0xF3, 0xA4}, InstructionKind::RepString, 2},
        {{0xF3, 0x26, 0xA5}, InstructionKind::RepString, 3},
        {{0x26, 0xA5}, InstructionKind::Plain, 2},
        {{0xE2, 0xFE}, InstructionKind::Loop, 2},
        {{0xCA, 0x02, 0x00}, InstructionKind::Return, 3},
        {{0xCF}, InstructionKind::Return, 1},
        {{0x8B, 0x87, 0x00, 0x10}, InstructionKind::Plain, 4},
        {{0xF2, 0xAE}, InstructionKind::RepString, 2},
        {{0xF3, 0x90}, InstructionKind::Plain, 2},
        {{0xE1, 0xFE}, InstructionKind::Loop, 2},
        {{0xCC}, InstructionKind::Interrupt, 1},
    };
    for (const KindCase& c : kCases) {
        CMemory memory;
        for (size_t i = 0; i < c.bytes.size(); ++i)
            memory.Write8(0x2000, static_cast<uint16_t>(i), c.bytes[i]);
        const NextInstruction next = CDosInstructions::Next(memory, 0x2000, 0);
        EXPECT_EQ(next.kind, c.kind) << int(c.bytes[0]);
        EXPECT_EQ(next.length, c.length) << int(c.bytes[0]);
        EXPECT_EQ(next.address, 0x20000u);
    }
}

// r shows a prefix on a line of its own and the memory operand's value at the line's end, in
// the segment the prefix names.
TEST(DosInstructions, RegisterLineWithTheMemoryOperandsValue)
{
    CMemory memory;
    CpuState state;
    state.cs() = 0x1000;
    state.ip = 0x100;
    state.ds() = 0x2000;
    state.es() = 0x3000;
    state.di() = 0x0782;
    const uint8_t code[] = {0x26, 0xC6, 0x05, 0x21};
    for (size_t i = 0; i < sizeof code; ++i)
        memory.Write8(0x1000, static_cast<uint16_t>(0x100 + i), code[i]);
    memory.Write8(0x3000, 0x0782, 0x30);
    EXPECT_EQ(CDosInstructions::Current(memory, state),
              "1000:0100 26            ES:\r\n"
              "1000:0101 C60521        MOV     BYTE PTR [DI],21                   ES:0782=30\r\n");
    const uint8_t word[] = {0x8B, 0x46, 0x02};
    for (size_t i = 0; i < sizeof word; ++i)
        memory.Write8(0x1000, static_cast<uint16_t>(0x100 + i), word[i]);
    state.ss() = 0x4000;
    state.bp() = 0x10;
    memory.Write16(0x4000, 0x12, 0xBEEF);
    EXPECT_EQ(CDosInstructions::Current(memory, state),
              "1000:0100 8B4602        MOV     AX,[BP+02]                       SS:0012=BEEF\r\n");
    const uint8_t byte[] = {0x88, 0x40, 0xFE};
    for (size_t i = 0; i < sizeof byte; ++i)
        memory.Write8(0x1000, static_cast<uint16_t>(0x100 + i), byte[i]);
    state.bx() = 0x20;
    state.si() = 0x10;
    memory.Write8(0x2000, 0x2E, 0x7F);
    EXPECT_EQ(CDosInstructions::Current(memory, state),
              "1000:0100 8840FE        MOV     [BX+SI-02],AL                      DS:002E=7F\r\n");
}

}
