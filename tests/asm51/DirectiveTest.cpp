// The directives of ASM51 and as31: where they put bytes, what they reserve, what they name.
#include "Asm51TestSupport.h"

#include <gtest/gtest.h>

using namespace asm51;

struct DirectiveCase {
    const char* source;
    uint16_t address;
    std::vector<uint8_t> bytes;
};

TEST(Directive, PutsBytesAndNamesWhereAsm51AndAs31Do)
{
    const DirectiveCase cases[] = {
        {"ORG 10H\nDB 1,'It''s',2", 0x10, {1, 'I', 't', '\'', 's', 2}},
        {"DW 1234H,'AB'", 0, {0x12, 0x34, 0x41, 0x42}},
        {"DS 3\nL: DB L", 0, {0xFF, 0xFF, 0xFF, 3}},
        {"X SET 1\nX SET X+1\nDB X", 0, {2}},
        {"F BIT 21H.2\nV DATA 30H\nSETB F\nMOV V,#1", 0, {0xD2, 0x0A, 0x75, 0x30, 0x01}},
        {"DSEG AT 30H\nV: DS 2\nW: DS 1\nCSEG\nDB V,W", 0, {0x30, 0x32}},
        {"BSEG AT 8\nB1: DBIT 1\nB2: DBIT 1\nCSEG\nCLR B2", 0, {0xC2, 0x09}},
        {".org 20h\n.equ five, 5\n.flag on, 20h.1\n.byte five, \"a\\n\"\n.word 1\nsetb on", 0x20,
         {5, 'a', '\n', 0, 1, 0xD2, 0x01}},
        {".skip 2\n.db 7\n.dw 8", 0, {0xFF, 0xFF, 7, 0, 8}},
        {"$INCLUDE(defs.inc)\nDB K", 0, {0x42}},
        {"$NOMOD51\n$INCLUDE(REG51.INC)\nMOV P1,A", 0, {0xF5, 0x90}},
        {"DB 1\nEND\nDB 2", 0, {1, 0xFF}},
        {"COUNT EQU R7\nDJNZ COUNT,$", 0, {0xDF, 0xFE}},
        {"#include \"defs.inc\"\n#include <reg52.h>\nDB K\nMOV TH2,A", 0, {0x42, 0xF5, 0xCD}},
        {"\xEF\xBB\xBFNAME LAB1\nPUBLIC X\nX: DB 9", 0, {9}},
    };
    for (const DirectiveCase& c : cases) {
        const auto assembler = AssembleText(std::string(c.source) + "\nEND\n", {{"defs.inc", "K EQU 42H\n"}});
        EXPECT_TRUE(assembler->ErrorCount() == 0) << c.source;
        std::vector<uint8_t> bytes = BytesAt(*assembler, c.address, c.bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (!assembler->Image().Used(static_cast<uint32_t>(c.address + i)))
                bytes[i] = 0xFF;
        }
        EXPECT_EQ(bytes, c.bytes) << c.source;
    }
}
