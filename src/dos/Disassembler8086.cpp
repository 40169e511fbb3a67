// Decodes one instruction into DEBUG's (or MASM's) text: a switch over the opcode for the
// 8086 and the 80186, tables for the groups and the 8087's escapes.
#include "dos/Disassembler8086.h"

#include <array>
#include <cstdio>
#include <utility>

namespace dos {

namespace {

const std::array<const char*, 8> kReg16 = {"AX", "CX", "DX", "BX", "SP", "BP", "SI", "DI"};
const std::array<const char*, 8> kReg8 = {"AL", "CL", "DL", "BL", "AH", "CH", "DH", "BH"};
const std::array<const char*, 4> kSegment = {"ES", "CS", "SS", "DS"};
const std::array<const char*, 8> kAlu = {"ADD", "OR", "ADC", "SBB", "AND", "SUB", "XOR", "CMP"};
const std::array<const char*, 8> kShift = {"ROL", "ROR", "RCL", "RCR", "SHL", "SHR", "???", "SAR"};
const std::array<const char*, 8> kGroup3 = {"TEST", "TEST", "NOT", "NEG", "MUL", "IMUL", "DIV", "IDIV"};
const std::array<const char*, 16> kJump = {"JO", "JNO", "JB", "JNB", "JZ", "JNZ", "JBE", "JA",
                                           "JS", "JNS", "JPE", "JPO", "JL", "JGE", "JLE", "JG"};
const std::array<const char*, 8> kBase = {"BX+SI", "BX+DI", "BP+SI", "BP+DI", "SI", "DI", "BP", "BX"};
const std::array<const char*, 4> kLoop = {"LOOPNZ", "LOOPZ", "LOOP", "JCXZ"};
// A4h-AFh (A8h and A9h are TEST) and the 80186's 6Ch-6Fh.
const std::array<const char*, 12> kString = {"MOVSB", "MOVSW", "CMPSB", "CMPSW", nullptr, nullptr,
                                             "STOSB", "STOSW", "LODSB", "LODSW", "SCASB", "SCASW"};
const std::array<const char*, 4> kPortString = {"INSB", "INSW", "OUTSB", "OUTSW"};

// The operand sizes a memory operand may need to state.
enum Size : uint8_t { kNoSize, kByte, kWord, kDword, kQword, kTbyte };
const std::array<const char*, 6> kSizeName = {"", "BYTE PTR ", "WORD PTR ", "DWORD PTR ", "QWORD PTR ", "TBYTE PTR "};

// The 8087's memory forms by escape and reg field: mnemonic and operand size.
struct FpuForm {
    const char* mnemonic;
    Size size;
};
const std::array<FpuForm, 64> kFpuMemory = {{
    {"FADD", kDword}, {"FMUL", kDword}, {"FCOM", kDword}, {"FCOMP", kDword},
    {"FSUB", kDword}, {"FSUBR", kDword}, {"FDIV", kDword}, {"FDIVR", kDword},
    {"FLD", kDword}, {nullptr, kNoSize}, {"FST", kDword}, {"FSTP", kDword},
    {"FLDENV", kNoSize}, {"FLDCW", kNoSize}, {"FSTENV", kNoSize}, {"FSTCW", kNoSize},
    {"FIADD", kDword}, {"FIMUL", kDword}, {"FICOM", kDword}, {"FICOMP", kDword},
    {"FISUB", kDword}, {"FISUBR", kDword}, {"FIDIV", kDword}, {"FIDIVR", kDword},
    {"FILD", kDword}, {nullptr, kNoSize}, {"FIST", kDword}, {"FISTP", kDword},
    {nullptr, kNoSize}, {"FLD", kTbyte}, {nullptr, kNoSize}, {"FSTP", kTbyte},
    {"FADD", kQword}, {"FMUL", kQword}, {"FCOM", kQword}, {"FCOMP", kQword},
    {"FSUB", kQword}, {"FSUBR", kQword}, {"FDIV", kQword}, {"FDIVR", kQword},
    {"FLD", kQword}, {nullptr, kNoSize}, {"FST", kQword}, {"FSTP", kQword},
    {"FRSTOR", kNoSize}, {nullptr, kNoSize}, {"FSAVE", kNoSize}, {"FSTSW", kNoSize},
    {"FIADD", kWord}, {"FIMUL", kWord}, {"FICOM", kWord}, {"FICOMP", kWord},
    {"FISUB", kWord}, {"FISUBR", kWord}, {"FIDIV", kWord}, {"FIDIVR", kWord},
    {"FILD", kWord}, {nullptr, kNoSize}, {"FIST", kWord}, {"FISTP", kWord},
    {"FBLD", kTbyte}, {"FILD", kQword}, {"FBSTP", kTbyte}, {"FISTP", kQword},
}};
// D9h with mod 3 and reg 4-7: operand-less instructions by reg and rm.
const std::array<const char*, 32> kFpuD9 = {
    "FCHS", "FABS", nullptr, nullptr, "FTST", "FXAM", nullptr, nullptr,
    "FLD1", "FLDL2T", "FLDL2E", "FLDPI", "FLDLG2", "FLDLN2", "FLDZ", nullptr,
    "F2XM1", "FYL2X", "FPTAN", "FPATAN", "FXTRACT", nullptr, "FDECSTP", "FINCSTP",
    "FPREM", "FYL2XP1", "FSQRT", nullptr, "FRNDINT", "FSCALE", nullptr, nullptr,
};
const std::array<const char*, 8> kFpuArithmetic = {"FADD", "FMUL", "FCOM", "FCOMP", "FSUB", "FSUBR", "FDIV", "FDIVR"};
const std::array<const char*, 4> kFpuDb = {"FENI", "FDISI", "FCLEX", "FINIT"};

bool IsPrefix(uint8_t byte)
{
    return byte == 0x26 || byte == 0x2E || byte == 0x36 || byte == 0x3E || byte == 0xF0 || byte == 0xF2 || byte == 0xF3;
}

// One instruction's decoding: reads its bytes and builds its text.
class CDecoding {
public:
    CDecoding(const CMemory& memory, DisassemblySyntax syntax, uint16_t segment, uint16_t offset)
        : m_memory(memory), m_masm(syntax == DisassemblySyntax::Masm)
    {
        m_result.segment = segment;
        m_result.offset = offset;
    }

    DisassembledInstruction Decode()
    {
        uint8_t opcode = Next();
        if (IsPrefix(opcode)) {
            if (!m_masm) {
                m_result.mnemonic = PrefixName(opcode);
                return m_result;
            }
            // MASM's syntax folds the prefixes into the instruction they precede.
            while (IsPrefix(opcode)) {
                TakePrefix(opcode);
                opcode = Next();
            }
        }
        Opcode(opcode);
        if (m_masm) FoldPrefixes();
        return m_result;
    }

private:
    // Fetching, with the offset wrapping within the segment.
    uint8_t Next()
    {
        const uint8_t byte = m_memory.Read8(m_result.segment, static_cast<uint16_t>(m_result.offset + m_result.length));
        ++m_result.length;
        char text[3];
        std::snprintf(text, sizeof text, "%02X", byte);
        m_result.bytes += text;
        return byte;
    }
    uint16_t Next16()
    {
        const uint8_t low = Next();
        return static_cast<uint16_t>(low | (Next() << 8));
    }
    uint16_t NextIp() const { return static_cast<uint16_t>(m_result.offset + m_result.length); }

    // Numbers: DEBUG's bare hex, or MASM's with h (and a leading 0 before a letter).
    std::string Hex(unsigned value, int digits) const
    {
        char text[8];
        std::snprintf(text, sizeof text, "%0*X", digits, value);
        std::string hex = text;
        if (m_masm) {
            if (hex[0] > '9') hex.insert(hex.begin(), '0');
            hex += 'h';
        }
        return hex;
    }
    std::string Signed8(uint8_t value) const
    {
        const bool negative = value & 0x80;
        return (negative ? "-" : "+") + Hex(negative ? 0x100u - value : value, 2);
    }

    static const char* PrefixName(uint8_t prefix)
    {
        switch (prefix) {
        case 0x26: return "ES:";
        case 0x2E: return "CS:";
        case 0x36: return "SS:";
        case 0x3E: return "DS:";
        case 0xF0: return "LOCK";
        case 0xF2: return "REPNZ";
        default: return "REPZ";
        }
    }
    void TakePrefix(uint8_t prefix)
    {
        if (prefix == 0xF0) {
            m_bLock = true;
        } else if (prefix == 0xF2 || prefix == 0xF3) {
            m_nRep = prefix;
        } else {
            m_override = kSegment[(prefix >> 3) & 3];
        }
    }
    // LOCK and REP before the mnemonic, the override where no memory operand took it.
    void FoldPrefixes()
    {
        std::string prefix;
        if (m_bLock) prefix += "LOCK ";
        if (m_nRep != 0) {
            const bool compares = m_result.mnemonic.starts_with("CMPS") || m_result.mnemonic.starts_with("SCAS");
            prefix += compares ? (m_nRep == 0xF3 ? "REPE " : "REPNE ") : "REP ";
        }
        if (!m_override.empty() && !m_bOverrideUsed) prefix += m_override + ": ";
        m_result.mnemonic = prefix + m_result.mnemonic;
    }

    void Set(std::string mnemonic, std::string operands = std::string())
    {
        m_result.mnemonic = std::move(mnemonic);
        m_result.operands = std::move(operands);
    }
    // A byte that starts no instruction: the line covers it alone.
    void Undefined()
    {
        const uint8_t first = m_memory.Read8(m_result.segment, m_result.offset);
        m_result.length = 1;
        m_result.bytes.resize(2);
        if (m_masm) {
            Set("DB", Hex(first, 2));
        } else {
            Set("???");
        }
    }

    // The ModRM byte and the memory operand it names, its displacement fetched.
    void ModRm()
    {
        const uint8_t modrm = Next();
        m_nMod = modrm >> 6;
        m_nReg = (modrm >> 3) & 7;
        m_nRm = modrm & 7;
        if (m_nMod == 3) return;
        std::string address;
        if (m_nMod == 0 && m_nRm == 6) {
            address = Hex(Next16(), 4);
        } else {
            address = kBase[m_nRm];
            if (m_nMod == 1) address += Signed8(Next());
            if (m_nMod == 2) address += "+" + Hex(Next16(), 4);
        }
        m_memoryOperand = "[" + address + "]";
    }
    std::string Memory(Size size)
    {
        std::string text = kSizeName[size];
        if (!m_override.empty()) {
            text += m_override + ":";
            m_bOverrideUsed = true;
        }
        return text + m_memoryOperand;
    }
    // The r/m operand: a register, or memory with its size stated when nothing else tells it.
    std::string Rm(bool word, bool statesSize)
    {
        if (m_nMod == 3) return word ? kReg16[m_nRm] : kReg8[m_nRm];
        return Memory(statesSize ? (word ? kWord : kByte) : kNoSize);
    }
    std::string Reg(bool word) const { return word ? kReg16[m_nReg] : kReg8[m_nReg]; }
    std::string Immediate(bool word) { return word ? Hex(Next16(), 4) : Hex(Next(), 2); }
    std::string NearTarget(int16_t displacement) const { return Hex(static_cast<uint16_t>(NextIp() + displacement), 4); }
    std::string FarTarget()
    {
        const uint16_t offset = Next16();
        return Hex(Next16(), 4) + ":" + Hex(offset, 4);
    }

    void Opcode(uint8_t opcode);
    void Alu(uint8_t opcode);
    void Group1(uint8_t opcode);
    void Group2(uint8_t opcode);
    void Group3(uint8_t opcode);
    void Group45(uint8_t opcode);
    void Fpu(uint8_t opcode);

    const CMemory& m_memory;
    const bool m_masm;
    DisassembledInstruction m_result;
    unsigned m_nMod = 0;
    unsigned m_nReg = 0;
    unsigned m_nRm = 0;
    std::string m_memoryOperand;
    std::string m_override;
    bool m_bOverrideUsed = false;
    bool m_bLock = false;
    uint8_t m_nRep = 0;
};

void CDecoding::Opcode(uint8_t opcode)
{
    const bool word = opcode & 1;
    if (opcode < 0x40 && (opcode & 7) < 6) return Alu(opcode);
    if (opcode >= 0x70 && opcode < 0x80) return Set(kJump[opcode & 0x0F], NearTarget(static_cast<int8_t>(Next())));
    if (opcode >= 0xD8 && opcode < 0xE0) return Fpu(opcode);
    switch (opcode) {
    case 0x06: case 0x0E: case 0x16: case 0x1E: return Set("PUSH", kSegment[opcode >> 3]);
    case 0x07: case 0x0F: case 0x17: case 0x1F: return Set("POP", kSegment[opcode >> 3]);
    case 0x27: return Set("DAA");
    case 0x2F: return Set("DAS");
    case 0x37: return Set("AAA");
    case 0x3F: return Set("AAS");
    case 0x40: case 0x41: case 0x42: case 0x43: case 0x44: case 0x45: case 0x46: case 0x47: return Set("INC", kReg16[opcode & 7]);
    case 0x48: case 0x49: case 0x4A: case 0x4B: case 0x4C: case 0x4D: case 0x4E: case 0x4F: return Set("DEC", kReg16[opcode & 7]);
    case 0x50: case 0x51: case 0x52: case 0x53: case 0x54: case 0x55: case 0x56: case 0x57: return Set("PUSH", kReg16[opcode & 7]);
    case 0x58: case 0x59: case 0x5A: case 0x5B: case 0x5C: case 0x5D: case 0x5E: case 0x5F: return Set("POP", kReg16[opcode & 7]);
    case 0x60: return Set("PUSHA");
    case 0x61: return Set("POPA");
    case 0x62:
        ModRm();
        if (m_nMod == 3) return Undefined();
        return Set("BOUND", Reg(true) + "," + Memory(kNoSize));
    case 0x68: return Set("PUSH", Immediate(true));
    case 0x69: case 0x6B: {
        ModRm();
        const std::string source = Rm(true, false);
        return Set("IMUL", Reg(true) + "," + source + "," + (opcode == 0x69 ? Immediate(true) : Signed8(Next())));
    }
    case 0x6A: return Set("PUSH", Signed8(Next()));
    case 0x6C: case 0x6D: case 0x6E: case 0x6F: return Set(kPortString[opcode & 3]);
    case 0xA4: case 0xA5: case 0xA6: case 0xA7: case 0xAA: case 0xAB: case 0xAC: case 0xAD: case 0xAE: case 0xAF:
        return Set(kString[opcode - 0xA4]);
    case 0x80: case 0x81: case 0x82: case 0x83: return Group1(opcode);
    case 0x84: case 0x85: case 0x86: case 0x87: case 0x88: case 0x89: {
        ModRm();
        const char* mnemonic = opcode < 0x86 ? "TEST" : opcode < 0x88 ? "XCHG" : "MOV";
        return Set(mnemonic, Rm(word, false) + "," + Reg(word));
    }
    case 0x8A: case 0x8B:
        ModRm();
        return Set("MOV", Reg(word) + "," + Rm(word, false));
    case 0x8C:
        ModRm();
        return Set("MOV", Rm(true, false) + "," + kSegment[m_nReg & 3]);
    case 0x8D:
        ModRm();
        if (m_nMod == 3) return Undefined();
        return Set("LEA", Reg(true) + "," + Memory(kNoSize));
    case 0x8E:
        ModRm();
        return Set("MOV", std::string(kSegment[m_nReg & 3]) + "," + Rm(true, false));
    case 0x8F:
        ModRm();
        return Set("POP", Rm(true, false));
    case 0x90: return Set("NOP");
    case 0x91: case 0x92: case 0x93: case 0x94: case 0x95: case 0x96: case 0x97: return Set("XCHG", std::string("AX,") + kReg16[opcode & 7]);
    case 0x98: return Set("CBW");
    case 0x99: return Set("CWD");
    case 0x9A: return Set("CALL", FarTarget());
    case 0x9B: return Set("WAIT");
    case 0x9C: return Set("PUSHF");
    case 0x9D: return Set("POPF");
    case 0x9E: return Set("SAHF");
    case 0x9F: return Set("LAHF");
    case 0xA0: case 0xA1: case 0xA2: case 0xA3: {
        m_memoryOperand = "[" + Hex(Next16(), 4) + "]";
        const std::string memory = Memory(kNoSize);
        const char* accumulator = word ? "AX" : "AL";
        return Set("MOV", opcode < 0xA2 ? accumulator + ("," + memory) : memory + "," + accumulator);
    }
    case 0xA8: return Set("TEST", "AL," + Immediate(false));
    case 0xA9: return Set("TEST", "AX," + Immediate(true));
    case 0xB0: case 0xB1: case 0xB2: case 0xB3: case 0xB4: case 0xB5: case 0xB6: case 0xB7:
        return Set("MOV", std::string(kReg8[opcode & 7]) + "," + Immediate(false));
    case 0xB8: case 0xB9: case 0xBA: case 0xBB: case 0xBC: case 0xBD: case 0xBE: case 0xBF:
        return Set("MOV", std::string(kReg16[opcode & 7]) + "," + Immediate(true));
    case 0xC0: case 0xC1: case 0xD0: case 0xD1: case 0xD2: case 0xD3: return Group2(opcode);
    case 0xC2: return Set("RET", Immediate(true));
    case 0xC3: return Set("RET");
    case 0xC4: case 0xC5:
        ModRm();
        if (m_nMod == 3) return Undefined();
        return Set(opcode == 0xC4 ? "LES" : "LDS", Reg(true) + "," + Memory(kNoSize));
    case 0xC6: case 0xC7: {
        ModRm();
        const std::string target = Rm(word, true);
        return Set("MOV", target + "," + Immediate(word));
    }
    case 0xC8: {
        const std::string size = Immediate(true);
        return Set("ENTER", size + "," + Immediate(false));
    }
    case 0xC9: return Set("LEAVE");
    case 0xCA: return Set("RETF", Immediate(true));
    case 0xCB: return Set("RETF");
    case 0xCC: return Set("INT", "3");
    case 0xCD: return Set("INT", Immediate(false));
    case 0xCE: return Set("INTO");
    case 0xCF: return Set("IRET");
    case 0xD4: case 0xD5: {
        const uint8_t base = Next();
        return Set(opcode == 0xD4 ? "AAM" : "AAD", base == 0x0A ? std::string() : Hex(base, 2));
    }
    case 0xD7: return Set("XLAT");
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: return Set(kLoop[opcode & 3], NearTarget(static_cast<int8_t>(Next())));
    case 0xE4: case 0xE5: return Set("IN", std::string(word ? "AX," : "AL,") + Immediate(false));
    case 0xE6: case 0xE7: return Set("OUT", Immediate(false) + (word ? ",AX" : ",AL"));
    case 0xE8: return Set("CALL", NearTarget(static_cast<int16_t>(Next16())));
    case 0xE9: return Set("JMP", NearTarget(static_cast<int16_t>(Next16())));
    case 0xEA: return Set("JMP", FarTarget());
    case 0xEB: return Set("JMP", NearTarget(static_cast<int8_t>(Next())));
    case 0xEC: case 0xED: return Set("IN", word ? "AX,DX" : "AL,DX");
    case 0xEE: case 0xEF: return Set("OUT", word ? "DX,AX" : "DX,AL");
    case 0xF4: return Set("HLT");
    case 0xF5: return Set("CMC");
    case 0xF6: case 0xF7: return Group3(opcode);
    case 0xF8: return Set("CLC");
    case 0xF9: return Set("STC");
    case 0xFA: return Set("CLI");
    case 0xFB: return Set("STI");
    case 0xFC: return Set("CLD");
    case 0xFD: return Set("STD");
    case 0xFE: case 0xFF: return Group45(opcode);
    default: return Undefined();
    }
}

// 00h-3Dh: the eight operations in their six forms.
void CDecoding::Alu(uint8_t opcode)
{
    const char* mnemonic = kAlu[opcode >> 3];
    const bool word = opcode & 1;
    switch (opcode & 7) {
    case 0: case 1:
        ModRm();
        return Set(mnemonic, Rm(word, false) + "," + Reg(word));
    case 2: case 3:
        ModRm();
        return Set(mnemonic, Reg(word) + "," + Rm(word, false));
    default:
        return Set(mnemonic, std::string(word ? "AX," : "AL,") + Immediate(word));
    }
}

// 83h's byte is sign-extended: DEBUG shows it with its sign.
void CDecoding::Group1(uint8_t opcode)
{
    ModRm();
    const bool word = opcode & 1;
    const std::string target = Rm(word, true);
    const std::string source = opcode == 0x83 ? Signed8(Next()) : Immediate(word);
    Set(kAlu[m_nReg], target + "," + source);
}

void CDecoding::Group2(uint8_t opcode)
{
    ModRm();
    const bool word = opcode & 1;
    const std::string target = Rm(word, true);
    const std::string count = opcode < 0xD0 ? Immediate(false) : opcode < 0xD2 ? "1" : "CL";
    if (m_nReg == 6) return Undefined();
    Set(kShift[m_nReg], target + "," + count);
}

void CDecoding::Group3(uint8_t opcode)
{
    ModRm();
    const bool word = opcode & 1;
    const std::string target = Rm(word, true);
    Set(kGroup3[m_nReg], m_nReg < 2 ? target + "," + Immediate(word) : target);
}

// FEh: INC and DEC of a byte; FFh: INC, DEC, CALL, CALL FAR, JMP, JMP FAR, PUSH of a word.
void CDecoding::Group45(uint8_t opcode)
{
    ModRm();
    if (opcode == 0xFE) {
        if (m_nReg > 1) return Undefined();
        return Set(m_nReg == 0 ? "INC" : "DEC", Rm(false, true));
    }
    switch (m_nReg) {
    case 0: return Set("INC", Rm(true, true));
    case 1: return Set("DEC", Rm(true, true));
    case 2: return Set("CALL", Rm(true, false));
    case 4: return Set("JMP", Rm(true, false));
    case 3: case 5:
        if (m_nMod == 3) return Undefined();
        return Set(m_nReg == 3 ? "CALL" : "JMP", "FAR " + Memory(kNoSize));
    case 6: return Set("PUSH", Rm(true, false));
    default: return Undefined();
    }
}

// The 8087's instructions behind the escapes D8h-DFh.
void CDecoding::Fpu(uint8_t opcode)
{
    ModRm();
    const unsigned escape = opcode & 7;
    if (m_nMod != 3) {
        const FpuForm& form = kFpuMemory[escape * 8 + m_nReg];
        if (form.mnemonic == nullptr) return Undefined();
        return Set(form.mnemonic, Memory(form.size));
    }
    const std::string st = "ST(" + std::to_string(m_nRm) + ")";
    switch (escape) {
    case 0: return Set(kFpuArithmetic[m_nReg], (m_nReg == 2 || m_nReg == 3) ? st : "ST," + st);
    case 1:
        if (m_nReg == 0) return Set("FLD", st);
        if (m_nReg == 1) return Set("FXCH", st);
        if (m_nReg == 2 && m_nRm == 0) return Set("FNOP");
        if (m_nReg >= 4 && kFpuD9[(m_nReg - 4) * 8 + m_nRm] != nullptr) return Set(kFpuD9[(m_nReg - 4) * 8 + m_nRm]);
        return Undefined();
    case 3:
        if (m_nReg == 4 && m_nRm < 4) return Set(kFpuDb[m_nRm]);
        return Undefined();
    case 4: return Set(kFpuArithmetic[m_nReg], (m_nReg == 2 || m_nReg == 3) ? st : st + ",ST");
    case 5:
        if (m_nReg == 0) return Set("FFREE", st);
        if (m_nReg == 2) return Set("FST", st);
        if (m_nReg == 3) return Set("FSTP", st);
        return Undefined();
    case 6:
        if (m_nReg == 3 && m_nRm == 1) return Set("FCOMPP");
        if (m_nReg == 2 || m_nReg == 3) return Undefined();
        return Set(std::string(kFpuArithmetic[m_nReg]) + "P", st + ",ST");
    default: return Undefined();
    }
}

}  // namespace

std::string DisassembledInstruction::Instruction() const
{
    if (operands.empty()) return mnemonic;
    std::string text = mnemonic;
    text.resize(text.size() < 7 ? 7 : text.size(), ' ');
    return text + " " + operands;
}

std::string DisassembledInstruction::Text() const
{
    char address[16];
    std::snprintf(address, sizeof address, "%04X:%04X ", segment, offset);
    std::string text = address + bytes;
    text.resize(text.size() < 24 ? 24 : text.size() + 1, ' ');
    return text + Instruction();
}

DisassembledInstruction CDisassembler8086::Decode(uint16_t segment, uint16_t offset) const
{
    return CDecoding(m_memory, m_syntax, segment, offset).Decode();
}

}  // namespace dos
