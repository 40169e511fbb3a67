// The instruction table and the encoding of instructions as ASM51 writes them.
#include "Asm51TestSupport.h"
#include "asm51/Encoder51.h"

#include <gtest/gtest.h>

#include <set>

using namespace asm51;

TEST(Encoder, TheTableHoldsEveryOpcodeButA5)
{
    std::set<unsigned> opcodes;
    for (const Form51& form : CEncoder51::Forms()) {
        unsigned variants = 1, step = 1;
        for (size_t i = 0; i < form.count; ++i) {
            if (form.patterns[i] == Pattern::kRn)
                variants = 8;
            else if (form.patterns[i] == Pattern::kAtRi)
                variants = 2;
            else if (form.patterns[i] == Pattern::kAddr11)
                variants = 8, step = 0x20;
        }
        for (unsigned v = 0; v < variants; ++v)
            EXPECT_TRUE(opcodes.insert(form.opcode + v * step).second) << form.mnemonic << " " << form.opcode + v * step;
    }
    EXPECT_EQ(opcodes.size(), 255u);
    EXPECT_EQ(opcodes.count(0xA5), 0u);
}

struct InstructionCase {
    const char* source;
    uint16_t address;
    std::vector<uint8_t> bytes;
};

TEST(Encoder, WritesTheBytesOfEachAddressingMode)
{
    const InstructionCase cases[] = {
        {"MOV 30H,40H", 0, {0x85, 0x40, 0x30}},
        {"MOV A,@R1", 0, {0xE7}},
        {"MOV R5,#-1", 0, {0x7D, 0xFF}},
        {"MOV DPTR,#1234H", 0, {0x90, 0x12, 0x34}},
        {"MOVC A,@A+PC", 0, {0x83}},
        {"MOVX @DPTR,A", 0, {0xF0}},
        {"JMP @A+DPTR", 0, {0x73}},
        {"ANL C,/ACC.7", 0, {0xB0, 0xE7}},
        {"ORL C,!20H.1", 0, {0xA0, 0x01}},
        {"MOV C,P1.0", 0, {0xA2, 0x90}},
        {"CJNE @R0,#5,$", 0, {0xB6, 0x05, 0xFD}},
        {"DJNZ 31H,$", 0, {0xD5, 0x31, 0xFD}},
        {"ORG 700H\nAJMP 7FFH", 0x700, {0xE1, 0xFF}},
        {"ORG 1000H\nACALL 1234H", 0x1000, {0x51, 0x34}},
        {"USING 2\nPUSH AR3", 0, {0xC0, 0x13}},
        // The generic forms: back within reach SJMP, back in the page AJMP, forward the long ones.
        {"L: NOP\nJMP L", 1, {0x80, 0xFD}},
        {"L: NOP\nORG 200H\nJMP L", 0x200, {0x01, 0x00}},
        {"JMP L\nL: NOP", 0, {0x02, 0x00, 0x03}},
        {"L: RET\nCALL L", 1, {0x11, 0x00}},
        {"ORG 800H\nL: RET\nORG 0\nCALL L", 0, {0x12, 0x08, 0x00}},
    };
    for (const InstructionCase& c : cases) {
        const auto assembler = AssembleText(std::string(c.source) + "\nEND\n");
        EXPECT_TRUE(assembler->Diagnostics().empty()) << c.source;
        EXPECT_EQ(BytesAt(*assembler, c.address, c.bytes.size()), c.bytes) << c.source;
    }
}
