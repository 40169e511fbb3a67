// The 8086's instructions as DEBUG's u shows them: bytes, mnemonic and operands in DEBUG's
// columns and spellings, prefixes on lines of their own, and the kinds step over needs.
#include "debug/Disassembler8086.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct UCase {
    std::vector<uint8_t> bytes;
    // The line after "1000:0100 ".
    const char* line;
};

// The line u shows for bytes placed at 1000:0100.
std::string Unassemble(const std::vector<uint8_t>& bytes, uint16_t& length)
{
    CMemory memory;
    for (size_t i = 0; i < bytes.size(); ++i)
        memory.Write8(0x1000, static_cast<uint16_t>(0x100 + i), bytes[i]);
    return CDisassembler8086::Line(memory, 0x1000, 0x100, length);
}

TEST(Disassembler8086, LinesAsDebugWritesThem)
{
    const UCase kCases[] = {
        {{0xB8, 0x00, 0x00}, "B80000        MOV     AX,0000"},
        {{0xB4, 0x09}, "B409          MOV     AH,09"},
        {{0xCD, 0x21}, "CD21          INT     21"},
        {{0xCC}, "CC            INT     3"},
        {{0x00, 0x00}, "0000          ADD     [BX+SI],AL"},
        {{0x8E, 0xD8}, "8ED8          MOV     DS,AX"},
        {{0x8C, 0xC8}, "8CC8          MOV     AX,CS"},
        {{0x8D, 0x16, 0x04, 0x00}, "8D160400      LEA     DX,[0004]"},
        {{0xC6, 0x05, 0x21}, "C60521        MOV     BYTE PTR [DI],21"},
        {{0xC7, 0x47, 0x02, 0x34, 0x12}, "C747023412    MOV     WORD PTR [BX+02],1234"},
        {{0x8B, 0x46, 0xFE}, "8B46FE        MOV     AX,[BP-02]"},
        {{0x8B, 0x46, 0x00}, "8B4600        MOV     AX,[BP+00]"},
        {{0x89, 0x87, 0x00, 0x10}, "89870010      MOV     [BX+1000],AX"},
        {{0xA1, 0x14, 0x01}, "A11401        MOV     AX,[0114]"},
        {{0xA2, 0x14, 0x01}, "A21401        MOV     [0114],AL"},
        {{0x83, 0xC6, 0x02}, "83C602        ADD     SI,+02"},
        {{0x83, 0xEC, 0xFE}, "83ECFE        SUB     SP,-02"},
        {{0x81, 0x3E, 0x00, 0x02, 0x34, 0x12}, "813E00023412  CMP     WORD PTR [0200],1234"},
        {{0x80, 0xFB, 0x0A}, "80FB0A        CMP     BL,0A"},
        {{0xFF, 0x06, 0x1C, 0x01}, "FF061C01      INC     WORD PTR [011C]"},
        {{0xFE, 0xC8}, "FEC8          DEC     AL"},
        {{0xF6, 0xE3}, "F6E3          MUL     BL"},
        {{0xF7, 0x36, 0x00, 0x02}, "F7360002      DIV     WORD PTR [0200]"},
        {{0xF6, 0x07, 0x01}, "F60701        TEST    BYTE PTR [BX],01"},
        {{0xD1, 0xE0}, "D1E0          SHL     AX,1"},
        {{0xD3, 0xE8}, "D3E8          SHR     AX,CL"},
        {{0xE8, 0x10, 0x00}, "E81000        CALL    0113"},
        {{0xE9, 0xFD, 0xFF}, "E9FDFF        JMP     0100"},
        {{0xEB, 0xFE}, "EBFE          JMP     0100"},
        {{0x75, 0xF4}, "75F4          JNZ     00F6"},
        {{0x72, 0x02}, "7202          JB      0104"},
        {{0x7E, 0x00}, "7E00          JLE     0102"},
        {{0xE2, 0xF9}, "E2F9          LOOP    00FB"},
        {{0xE3, 0x05}, "E305          JCXZ    0107"},
        {{0x9A, 0x78, 0x56, 0x34, 0x12}, "9A78563412    CALL    1234:5678"},
        {{0xFF, 0xD3}, "FFD3          CALL    BX"},
        {{0xFF, 0x17}, "FF17          CALL    [BX]"},
        {{0xFF, 0x1F}, "FF1F          CALL    FAR [BX]"},
        {{0xFF, 0xE0}, "FFE0          JMP     AX"},
        {{0xFF, 0x36, 0x00, 0x01}, "FF360001      PUSH    [0100]"},
        {{0x8F, 0x06, 0x00, 0x01}, "8F060001      POP     [0100]"},
        {{0xC3}, "C3            RET"},
        {{0xC2, 0x04, 0x00}, "C20400        RET     0004"},
        {{0xCB}, "CB            RETF"},
        {{0xCF}, "CF            IRET"},
        {{0x26}, "26            ES:"},
        {{0x2E}, "2E            CS:"},
        {{0xF3}, "F3            REPZ"},
        {{0xF2}, "F2            REPNZ"},
        {{0xA4}, "A4            MOVSB"},
        {{0xAB}, "AB            STOSW"},
        {{0xA8, 0x80}, "A880          TEST    AL,80"},
        {{0x50}, "50            PUSH    AX"},
        {{0x1F}, "1F            POP     DS"},
        {{0x0E}, "0E            PUSH    CS"},
        {{0x40}, "40            INC     AX"},
        {{0x4F}, "4F            DEC     DI"},
        {{0x90}, "90            NOP"},
        {{0x93}, "93            XCHG    AX,BX"},
        {{0x86, 0xE0}, "86E0          XCHG    AL,AH"},
        {{0xE4, 0x60}, "E460          IN      AL,60"},
        {{0xEC}, "EC            IN      AL,DX"},
        {{0xE6, 0x20}, "E620          OUT     20,AL"},
        {{0xEF}, "EF            OUT     DX,AX"},
        {{0xD4, 0x0A}, "D40A          AAM"},
        {{0xD7}, "D7            XLAT"},
        {{0xF4}, "F4            HLT"},
        {{0xC4, 0x1E, 0x00, 0x02}, "C41E0002      LES     BX,[0200]"},
        {{0x37}, "37            AAA"},
        {{0xD6}, "D6            ???"},
    };
    for (const UCase& c : kCases) {
        uint16_t length = 0;
        const std::string line = Unassemble(c.bytes, length);
        EXPECT_EQ(line.substr(0, 10), "1000:0100 ");
        EXPECT_EQ(line.substr(10), c.line);
        EXPECT_EQ(length, c.bytes.size()) << c.line;
    }
}

struct KindCase {
    std::vector<uint8_t> bytes;
    InstructionKind kind;
    uint8_t length;
};

TEST(Disassembler8086, KindsAndLengthsAsTheCpuRunsThem)
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
    };
    for (const KindCase& c : kCases) {
        CMemory memory;
        for (size_t i = 0; i < c.bytes.size(); ++i)
            memory.Write8(0x2000, static_cast<uint16_t>(i), c.bytes[i]);
        const NextInstruction next = CDisassembler8086::Next(memory, 0x2000, 0);
        EXPECT_EQ(next.kind, c.kind) << int(c.bytes[0]);
        EXPECT_EQ(next.length, c.length) << int(c.bytes[0]);
        EXPECT_EQ(next.address, 0x20000u);
    }
}

// r shows a prefix on a line of its own and the memory operand's value at the line's end, in
// the segment the prefix names.
TEST(Disassembler8086, RegisterLineWithTheMemoryOperandsValue)
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
    EXPECT_EQ(CDisassembler8086::Current(memory, state),
              "1000:0100 26            ES:\r\n"
              "1000:0101 C60521        MOV     BYTE PTR [DI],21                   ES:0782=30\r\n");
    const uint8_t word[] = {0x8B, 0x46, 0x02};
    for (size_t i = 0; i < sizeof word; ++i)
        memory.Write8(0x1000, static_cast<uint16_t>(0x100 + i), word[i]);
    state.ss() = 0x4000;
    state.bp() = 0x10;
    memory.Write16(0x4000, 0x12, 0xBEEF);
    EXPECT_EQ(CDisassembler8086::Current(memory, state),
              "1000:0100 8B4602        MOV     AX,[BP+02]                       SS:0012=BEEF\r\n");
}

}
