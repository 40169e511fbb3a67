// The disassembler against DEBUG's U listings: each sample's bytes at 0B3C:0100 and the text
// DEBUG shows for them, then the same for MASM's syntax.
#include "dos/Disassembler8086.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dos;

namespace {

constexpr uint16_t kSegment = 0x0B3C;
constexpr uint16_t kOrigin = 0x0100;

struct Sample {
    std::vector<uint8_t> bytes;
    std::string text;  // mnemonic and operands
};

DisassembledInstruction Decode(const std::vector<uint8_t>& bytes, DisassemblySyntax syntax, uint16_t offset = kOrigin)
{
    static CMemory memory;
    for (size_t i = 0; i < bytes.size(); ++i) memory.Write8(kSegment, static_cast<uint16_t>(offset + i), bytes[i]);
    return CDisassembler8086(memory, syntax).Decode(kSegment, offset);
}

void Check(const std::vector<Sample>& samples, DisassemblySyntax syntax)
{
    for (const Sample& sample : samples) {
        const DisassembledInstruction line = Decode(sample.bytes, syntax);
        EXPECT_EQ(line.Instruction(), sample.text);
        EXPECT_EQ(line.length, sample.bytes.size()) << sample.text;
    }
}

TEST(Disassembler, LinesHaveDebugsColumns)
{
    EXPECT_EQ(Decode({0xB8, 0x40, 0x0B}, DisassemblySyntax::Debug, 0).Text(), "0B3C:0000 B8400B        MOV     AX,0B40");
    EXPECT_EQ(Decode({0xCD, 0x21}, DisassemblySyntax::Debug).Text(), "0B3C:0100 CD21          INT     21");
    EXPECT_EQ(Decode({0xC3}, DisassemblySyntax::Debug).Text(), "0B3C:0100 C3            RET");
    EXPECT_EQ(Decode({0x26}, DisassemblySyntax::Debug).Text(), "0B3C:0100 26            ES:");
    EXPECT_EQ(Decode({0xC7, 0x87, 0x34, 0x12, 0x78, 0x56}, DisassemblySyntax::Debug).Text(),
              "0B3C:0100 C78734127856  MOV     WORD PTR [BX+1234],5678");
}

TEST(Disassembler, ShowsInstructionsAsDebugDoes)
{
    Check({
              {{0x8E, 0xD8}, "MOV     DS,AX"},
              {{0x8C, 0xC8}, "MOV     AX,CS"},
              {{0x8B, 0x46, 0x04}, "MOV     AX,[BP+04]"},
              {{0x8B, 0x46, 0xFE}, "MOV     AX,[BP-02]"},
              {{0x88, 0x40, 0x04}, "MOV     [BX+SI+04],AL"},
              {{0x8A, 0x87, 0x00, 0x10}, "MOV     AL,[BX+1000]"},
              {{0xA1, 0x34, 0x12}, "MOV     AX,[1234]"},
              {{0xA2, 0x34, 0x12}, "MOV     [1234],AL"},
              {{0xC6, 0x06, 0x00, 0x00, 0x41}, "MOV     BYTE PTR [0000],41"},
              {{0xB4, 0x09}, "MOV     AH,09"},
              {{0xBA, 0x0C, 0x01}, "MOV     DX,010C"},
              {{0x01, 0xD8}, "ADD     AX,BX"},
              {{0x03, 0x07}, "ADD     AX,[BX]"},
              {{0x2C, 0x30}, "SUB     AL,30"},
              {{0x35, 0x4F, 0x21}, "XOR     AX,214F"},
              {{0x80, 0x3E, 0x00, 0x02, 0x24}, "CMP     BYTE PTR [0200],24"},
              {{0x81, 0xC3, 0x00, 0x01}, "ADD     BX,0100"},
              {{0x83, 0xC4, 0x02}, "ADD     SP,+02"},
              {{0x83, 0xF8, 0xFF}, "CMP     AX,-01"},
              {{0x83, 0x2F, 0x01}, "SUB     WORD PTR [BX],+01"},
              {{0xFE, 0x07}, "INC     BYTE PTR [BX]"},
              {{0xFF, 0x0E, 0x00, 0x02}, "DEC     WORD PTR [0200]"},
              {{0xF7, 0xE3}, "MUL     BX"},
              {{0xF6, 0x36, 0x00, 0x02}, "DIV     BYTE PTR [0200]"},
              {{0xF7, 0xD8}, "NEG     AX"},
              {{0xF6, 0xC4, 0x80}, "TEST    AH,80"},
              {{0x85, 0xC0}, "TEST    AX,AX"},
              {{0xD1, 0xE0}, "SHL     AX,1"},
              {{0xD2, 0xEB}, "SHR     BL,CL"},
              {{0xD1, 0x3F}, "SAR     WORD PTR [BX],1"},
              {{0xD0, 0xD0}, "RCL     AL,1"},
              {{0x93}, "XCHG    AX,BX"},
              {{0x86, 0xE0}, "XCHG    AL,AH"},
              {{0x8D, 0x36, 0x0C, 0x01}, "LEA     SI,[010C]"},
              {{0xC4, 0x1E, 0x00, 0x02}, "LES     BX,[0200]"},
              {{0xC5, 0x77, 0x02}, "LDS     SI,[BX+02]"},
              {{0x50}, "PUSH    AX"},
              {{0x1E}, "PUSH    DS"},
              {{0x07}, "POP     ES"},
              {{0x0F}, "POP     CS"},
              {{0xFF, 0x36, 0x00, 0x02}, "PUSH    [0200]"},
              {{0x8F, 0x06, 0x00, 0x02}, "POP     [0200]"},
              {{0xEB, 0xFE}, "JMP     0100"},
              {{0xEB, 0x10}, "JMP     0112"},
              {{0x74, 0x03}, "JZ      0105"},
              {{0x72, 0xFC}, "JB      00FE"},
              {{0x7D, 0x24}, "JGE     0126"},
              {{0x7A, 0x00}, "JPE     0102"},
              {{0xE2, 0xFE}, "LOOP    0100"},
              {{0xE0, 0xFE}, "LOOPNZ  0100"},
              {{0xE3, 0x05}, "JCXZ    0107"},
              {{0xE8, 0x00, 0x00}, "CALL    0103"},
              {{0xE9, 0xFD, 0xFF}, "JMP     0100"},
              {{0x9A, 0x00, 0x00, 0x00, 0x10}, "CALL    1000:0000"},
              {{0xEA, 0x5B, 0xE0, 0x00, 0xF0}, "JMP     F000:E05B"},
              {{0xFF, 0x1E, 0x00, 0x02}, "CALL    FAR [0200]"},
              {{0xFF, 0x2F}, "JMP     FAR [BX]"},
              {{0xFF, 0xD3}, "CALL    BX"},
              {{0xFF, 0x27}, "JMP     [BX]"},
              {{0xC2, 0x04, 0x00}, "RET     0004"},
              {{0xCB}, "RETF"},
              {{0xCA, 0x02, 0x00}, "RETF    0002"},
              {{0xCC}, "INT     3"},
              {{0xCE}, "INTO"},
              {{0xCF}, "IRET"},
              {{0xE4, 0x60}, "IN      AL,60"},
              {{0xED}, "IN      AX,DX"},
              {{0xE6, 0x20}, "OUT     20,AL"},
              {{0xEE}, "OUT     DX,AL"},
              {{0xA4}, "MOVSB"},
              {{0xAB}, "STOSW"},
              {{0xA6}, "CMPSB"},
              {{0xAF}, "SCASW"},
              {{0xAC}, "LODSB"},
              {{0xF3}, "REPZ"},
              {{0xF2}, "REPNZ"},
              {{0xF0}, "LOCK"},
              {{0x2E}, "CS:"},
              {{0xD7}, "XLAT"},
              {{0xD4, 0x0A}, "AAM"},
              {{0xD5, 0x0A}, "AAD"},
              {{0x98}, "CBW"},
              {{0x99}, "CWD"},
              {{0x9C}, "PUSHF"},
              {{0x9F}, "LAHF"},
              {{0xF4}, "HLT"},
              {{0xFB}, "STI"},
              {{0x9B}, "WAIT"},
              {{0x90}, "NOP"},
              {{0x60}, "PUSHA"},
              {{0x61}, "POPA"},
              {{0x68, 0x34, 0x12}, "PUSH    1234"},
              {{0x6A, 0xFE}, "PUSH    -02"},
              {{0x6B, 0xC3, 0x07}, "IMUL    AX,BX,+07"},
              {{0x69, 0x07, 0x00, 0x01}, "IMUL    AX,[BX],0100"},
              {{0xC1, 0xE0, 0x04}, "SHL     AX,04"},
              {{0xC8, 0x08, 0x00, 0x00}, "ENTER   0008,00"},
              {{0xC9}, "LEAVE"},
              {{0x62, 0x07}, "BOUND   AX,[BX]"},
              {{0x6C}, "INSB"},
              {{0x6F}, "OUTSW"},
              {{0xD9, 0x07}, "FLD     DWORD PTR [BX]"},
              {{0xDD, 0x1E, 0x00, 0x02}, "FSTP    QWORD PTR [0200]"},
              {{0xDF, 0x2F}, "FILD    QWORD PTR [BX]"},
              {{0xDE, 0xC1}, "FADDP   ST(1),ST"},
              {{0xD8, 0xC1}, "FADD    ST,ST(1)"},
              {{0xD9, 0xE8}, "FLD1"},
              {{0xDB, 0xE3}, "FINIT"},
              {{0x63}, "???"},
              {{0xD6}, "???"},
              {{0xF1}, "???"},
          },
          DisassemblySyntax::Debug);
}

TEST(Disassembler, UndefinedFormsCoverTheirOpcodeAlone)
{
    for (const auto& bytes : std::vector<std::vector<uint8_t>>{{0xFE, 0xD0}, {0x8D, 0xC0}, {0xFF, 0xFF}, {0xC4, 0xC3}}) {
        const DisassembledInstruction line = Decode(bytes, DisassemblySyntax::Debug);
        EXPECT_EQ(line.mnemonic, "???");
        EXPECT_EQ(line.length, 1);
        EXPECT_EQ(line.bytes.size(), 2u);
    }
}

// An instruction that runs over the end of its segment takes its last bytes from offset 0.
TEST(Disassembler, ReadsAcrossTheEndOfTheSegment)
{
    CMemory memory;
    memory.Write8(kSegment, 0xFFFF, 0xB8);
    memory.Write8(kSegment, 0x0000, 0x34);
    memory.Write8(kSegment, 0x0001, 0x12);
    const DisassembledInstruction line = CDisassembler8086(memory).Decode(kSegment, 0xFFFF);
    EXPECT_EQ(line.Instruction(), "MOV     AX,1234");
    EXPECT_EQ(line.bytes, "B83412");
}

TEST(Disassembler, MasmSyntaxFoldsPrefixesAndSuffixesNumbers)
{
    Check({
              {{0xB8, 0x40, 0x0B}, "MOV     AX,0B40h"},
              {{0xB4, 0x09}, "MOV     AH,09h"},
              {{0xCD, 0x21}, "INT     21h"},
              {{0x83, 0xC4, 0xFE}, "ADD     SP,-02h"},
              {{0x26, 0x8B, 0x07}, "MOV     AX,ES:[BX]"},
              {{0x2E, 0xC6, 0x06, 0x00, 0x02, 0xFF}, "MOV     BYTE PTR CS:[0200h],0FFh"},
              {{0xF3, 0xA4}, "REP MOVSB"},
              {{0xF3, 0xA6}, "REPE CMPSB"},
              {{0xF2, 0xAE}, "REPNE SCASB"},
              {{0x26, 0xAC}, "ES: LODSB"},
              {{0xEB, 0xFE}, "JMP     0100h"},
              {{0xEA, 0x00, 0x00, 0xFF, 0xFF}, "JMP     0FFFFh:0000h"},
              {{0x63}, "DB      63h"},
          },
          DisassemblySyntax::Masm);
}

}  // namespace
