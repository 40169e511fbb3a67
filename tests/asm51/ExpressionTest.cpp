// Numbers, operators and their precedence, as DW writes their values.
#include "Asm51TestSupport.h"

#include <gtest/gtest.h>

using namespace asm51;

struct ExpressionCase {
    const char* expression;
    int value;
};

TEST(Expression, EvaluatesNumbersAndOperatorsAsAsm51Does)
{
    const ExpressionCase cases[] = {
        {"0FFH", 0xFF}, {"11B", 3}, {"377O", 0xFF}, {"17Q", 15}, {"99D", 99}, {"0x1F", 0x1F}, {"0b101", 5},
        {"'A'", 0x41}, {"'AB'", 0x4142}, {"2+3*4", 14}, {"(2+3)*4", 20}, {"10 MOD 3", 1}, {"10 % 4", 2},
        {"1 SHL 4", 16}, {"100H SHR 4", 16}, {"HIGH 1234H", 0x12}, {"LOW(1234H)", 0x34}, {"NOT 0", 0xFFFF},
        {"NOT 0FH AND 0FFH", 0xF0}, {"3 GT 2", 0xFFFF}, {"3 EQ 2", 0}, {"2 <= 2", 0xFFFF}, {"5 <> 5", 0},
        {"-1 AND 0FFH", 0xFF}, {"6 OR 1 XOR 2", 5}, {"0F0H & 3CH | 1", 0x31}, {"20H.3", 3}, {"ACC.7", 0xE7},
        {"$+2", 0x102}, {"*", 0x100}, {"TH1", 0x8D}, {"RCAP2H", 0xCB}, {"TF2", 0xCF}, {"CY", 0xD7},
        {"K*2", 10},
    };
    for (const ExpressionCase& c : cases) {
        const auto assembler = AssembleText(std::string("K EQU 5\nORG 100H\nDW ") + c.expression + "\nEND\n");
        EXPECT_TRUE(assembler->Diagnostics().empty()) << c.expression;
        EXPECT_EQ(BytesAt(*assembler, 0x100, 2), (std::vector<uint8_t>{uint8_t(c.value >> 8), uint8_t(c.value)})) << c.expression;
    }
}
