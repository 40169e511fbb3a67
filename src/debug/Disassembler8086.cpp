// Decoding the 8086's (and 80186's) instructions by the opcode map and writing them as DEBUG
// does.
#include "debug/Disassembler8086.h"

#include "debug/DosDisplay.h"
#include "debug/HexDump.h"

namespace {

const char* const kByteRegisters[] = {"AL", "CL", "DL", "BL", "AH", "CH", "DH", "BH"};
const char* const kWordRegisters[] = {"AX", "CX", "DX", "BX", "SP", "BP", "SI", "DI"};
const char* const kSegmentRegisters[] = {"ES", "CS", "SS", "DS"};
const char* const kArithmetic[] = {"ADD", "OR", "ADC", "SBB", "AND", "SUB", "XOR", "CMP"};
const char* const kShifts[] = {"ROL", "ROR", "RCL", "RCR", "SHL", "SHR", "???", "SAR"};
const char* const kJumps[] = {"JO", "JNO", "JB", "JNB", "JZ", "JNZ", "JBE", "JA",
                              "JS", "JNS", "JPE", "JPO", "JL", "JGE", "JLE", "JG"};
const char* const kBases[] = {"BX+SI", "BX+DI", "BP+SI", "BP+DI", "SI", "DI", "BP", "BX"};
// The columns of a u line: the bytes after the address, the mnemonic, its operands; r puts
// the memory operand's value so that it ends at the last.
constexpr size_t kMnemonicColumn = 24;
constexpr size_t kMnemonicWidth = 8;
constexpr size_t kNoteEnd = 77;

// One instruction read from its first byte to its last.
class CDecoder {
public:
    CDecoder(const CMemory& memory, uint16_t segment, uint16_t offset, const CpuState* state)
        : m_memory(memory), m_nSegment(segment), m_nStart(offset), m_nAt(offset), m_pState(state)
    {
    }

    Decoded8086 Run()
    {
        Decode(Fetch8());
        m_decoded.length = static_cast<uint8_t>(m_nAt - m_nStart);
        return m_decoded;
    }

private:
    uint8_t Fetch8() { return m_memory.Read8(m_nSegment, m_nAt++); }
    uint16_t Fetch16()
    {
        const uint8_t low = Fetch8();
        return static_cast<uint16_t>(low | Fetch8() << 8);
    }

    void Set(const char* mnemonic, std::string operands = {}, InstructionKind kind = InstructionKind::Plain)
    {
        m_decoded.mnemonic = mnemonic;
        m_decoded.operands = std::move(operands);
        m_decoded.kind = kind;
    }
    void Prefix(const char* mnemonic, int8_t segment = -1)
    {
        Set(mnemonic);
        m_decoded.prefix = true;
        m_decoded.overrideSegment = segment;
    }

    // The ModRM byte and its displacement; the memory operand's text and address.
    void ModRm()
    {
        const uint8_t modrm = Fetch8();
        m_nMod = modrm >> 6;
        m_nReg = (modrm >> 3) & 7;
        m_nRm = modrm & 7;
        if (m_nMod == 3)
            return;
        uint16_t displacement = 0;
        std::string text;
        if (m_nMod == 0 && m_nRm == 6) {
            displacement = Fetch16();
            text = CHexDump::Hex4(displacement);
        } else {
            text = kBases[m_nRm];
            if (m_nMod == 1) {
                const auto small = static_cast<int8_t>(Fetch8());
                displacement = static_cast<uint16_t>(small);
                text += small < 0 ? "-" + CHexDump::Hex2(static_cast<uint8_t>(-small)) : "+" + CHexDump::Hex2(static_cast<uint8_t>(small));
            } else if (m_nMod == 2) {
                displacement = Fetch16();
                text += "+" + CHexDump::Hex4(displacement);
            }
        }
        m_strMemory = "[" + text + "]";
        m_decoded.memory = true;
        const bool bpBased = m_nRm == 2 || m_nRm == 3 || (m_nRm == 6 && m_nMod != 0);
        m_decoded.memorySegment = bpBased ? kSS : kDS;
        m_decoded.memoryOffset = static_cast<uint16_t>(BaseValue() + displacement);
    }

    uint16_t BaseValue() const
    {
        if (!m_pState || (m_nMod == 0 && m_nRm == 6))
            return 0;
        const uint16_t* r = m_pState->reg;
        switch (m_nRm) {
        case 0: return static_cast<uint16_t>(r[kBX] + r[kSI]);
        case 1: return static_cast<uint16_t>(r[kBX] + r[kDI]);
        case 2: return static_cast<uint16_t>(r[kBP] + r[kSI]);
        case 3: return static_cast<uint16_t>(r[kBP] + r[kDI]);
        case 4: return r[kSI];
        case 5: return r[kDI];
        case 6: return r[kBP];
        default: return r[kBX];
        }
    }

    // The r/m operand: a register, or memory with its size where nothing else tells it.
    std::string Rm(bool word, bool sized = false)
    {
        if (m_nMod == 3)
            return word ? kWordRegisters[m_nRm] : kByteRegisters[m_nRm];
        m_decoded.memoryWord = word;
        return (sized ? std::string(word ? "WORD PTR " : "BYTE PTR ") : std::string()) + m_strMemory;
    }
    std::string Reg(bool word) const { return word ? kWordRegisters[m_nReg] : kByteRegisters[m_nReg]; }
    std::string Immediate(bool word) { return word ? CHexDump::Hex4(Fetch16()) : CHexDump::Hex2(Fetch8()); }
    std::string SignedImmediate()
    {
        const auto value = static_cast<int8_t>(Fetch8());
        return value < 0 ? "-" + CHexDump::Hex2(static_cast<uint8_t>(-value)) : "+" + CHexDump::Hex2(static_cast<uint8_t>(value));
    }
    std::string Relative(bool word)
    {
        const uint16_t displacement = word ? Fetch16() : static_cast<uint16_t>(static_cast<int8_t>(Fetch8()));
        return CHexDump::Hex4(static_cast<uint16_t>(m_nAt + displacement));
    }
    std::string Direct(bool word)
    {
        const uint16_t offset = Fetch16();
        m_decoded.memory = true;
        m_decoded.memoryOffset = offset;
        m_decoded.memoryWord = word;
        return "[" + CHexDump::Hex4(offset) + "]";
    }
    std::string FarPointer()
    {
        const uint16_t offset = Fetch16();
        return CHexDump::Hex4(Fetch16()) + ":" + CHexDump::Hex4(offset);
    }

    void Decode(uint8_t op);
    void Arithmetic(uint8_t op);
    void Group1(uint8_t op);
    void Group2(uint8_t op);
    void Group3(bool word);
    void Group45(bool word);
    void Moves(uint8_t op);
    void Strings(uint8_t op);
    void Returns(uint8_t op);
    void Singles(uint8_t op);

    const CMemory& m_memory;
    uint16_t m_nSegment;
    uint16_t m_nStart;
    uint16_t m_nAt;
    const CpuState* m_pState;
    Decoded8086 m_decoded;
    uint8_t m_nMod = 0;
    uint8_t m_nReg = 0;
    uint8_t m_nRm = 0;
    std::string m_strMemory;
};

// 00-3F but the prefixes and the BCD ones: the eight operations in their six forms.
void CDecoder::Arithmetic(uint8_t op)
{
    const char* name = kArithmetic[op >> 3];
    const bool word = op & 1;
    switch (op & 7) {
    case 0: case 1: ModRm(); Set(name, Rm(word) + "," + Reg(word)); break;
    case 2: case 3: ModRm(); Set(name, Reg(word) + "," + Rm(word)); break;
    case 4: Set(name, "AL," + Immediate(false)); break;
    default: Set(name, "AX," + Immediate(true)); break;
    }
}

void CDecoder::Group1(uint8_t op)
{
    ModRm();
    const bool word = op & 1;
    const std::string target = Rm(word, true);
    Set(kArithmetic[m_nReg], target + "," + (op == 0x83 ? SignedImmediate() : Immediate(op == 0x81)));
}

void CDecoder::Group2(uint8_t op)
{
    ModRm();
    const bool word = op & 1;
    const std::string target = Rm(word, true);
    std::string count = "1";
    if (op == 0xD2 || op == 0xD3)
        count = "CL";
    else if (op == 0xC0 || op == 0xC1)
        count = Immediate(false);
    Set(kShifts[m_nReg], target + "," + count);
}

void CDecoder::Group3(bool word)
{
    static const char* const kNames[] = {"TEST", "TEST", "NOT", "NEG", "MUL", "IMUL", "DIV", "IDIV"};
    ModRm();
    const std::string target = Rm(word, true);
    Set(kNames[m_nReg], m_nReg < 2 ? target + "," + Immediate(word) : target);
}

void CDecoder::Group45(bool word)
{
    ModRm();
    switch (m_nReg) {
    case 0: Set("INC", Rm(word, true)); return;
    case 1: Set("DEC", Rm(word, true)); return;
    default: break;
    }
    if (!word || (m_nReg == 7) || ((m_nReg == 3 || m_nReg == 5) && m_nMod == 3)) {
        Set("???");
        m_decoded.memory = false;
        return;
    }
    switch (m_nReg) {
    case 2: Set("CALL", Rm(true), InstructionKind::Call); break;
    case 3: Set("CALL", "FAR " + Rm(true), InstructionKind::Call); break;
    case 4: Set("JMP", Rm(true)); break;
    case 5: Set("JMP", "FAR " + Rm(true)); break;
    default: Set("PUSH", Rm(true)); break;
    }
}

// 84-8F, A0-A3, B0-BF, C4-C7: tests, exchanges and moves.
void CDecoder::Moves(uint8_t op)
{
    const bool word = op & 1;
    if (op >= 0xB0 && op <= 0xBF) {
        const bool wide = op >= 0xB8;
        Set("MOV", std::string(wide ? kWordRegisters[op & 7] : kByteRegisters[op & 7]) + "," + Immediate(wide));
        return;
    }
    switch (op) {
    case 0x84: case 0x85: ModRm(); Set("TEST", Rm(word) + "," + Reg(word)); return;
    case 0x86: case 0x87: ModRm(); Set("XCHG", Rm(word) + "," + Reg(word)); return;
    case 0x88: case 0x89: ModRm(); Set("MOV", Rm(word) + "," + Reg(word)); return;
    case 0x8A: case 0x8B: ModRm(); Set("MOV", Reg(word) + "," + Rm(word)); return;
    case 0x8C: ModRm(); Set("MOV", Rm(true) + "," + kSegmentRegisters[m_nReg & 3]); return;
    case 0x8E: ModRm(); Set("MOV", std::string(kSegmentRegisters[m_nReg & 3]) + "," + Rm(true)); return;
    case 0x8D: case 0xC4: case 0xC5: {
        ModRm();
        const char* name = op == 0x8D ? "LEA" : op == 0xC4 ? "LES" : "LDS";
        if (m_nMod == 3) {
            Set("???");
            return;
        }
        Set(name, Reg(true) + "," + Rm(true));
        return;
    }
    case 0x8F: ModRm(); Set("POP", Rm(true)); return;
    case 0xA0: Set("MOV", "AL," + Direct(false)); return;
    case 0xA1: Set("MOV", "AX," + Direct(true)); return;
    case 0xA2: Set("MOV", Direct(false) + ",AL"); return;
    case 0xA3: Set("MOV", Direct(true) + ",AX"); return;
    default: {
        ModRm();
        const std::string target = Rm(word, true);
        Set("MOV", target + "," + Immediate(word));
        return;
    }
    }
}

void CDecoder::Strings(uint8_t op)
{
    static const char* const kNames[] = {"MOVSB", "MOVSW", "CMPSB", "CMPSW", nullptr, nullptr,
                                         "STOSB", "STOSW", "LODSB", "LODSW", "SCASB", "SCASW"};
    static const char* const kPorts[] = {"INSB", "INSW", "OUTSB", "OUTSW"};
    if (op >= 0x6C && op <= 0x6F)
        Set(kPorts[op - 0x6C]);
    else if (op == 0xA8 || op == 0xA9)
        Set("TEST", std::string(op == 0xA8 ? "AL," : "AX,") + Immediate(op == 0xA9));
    else
        Set(kNames[op - 0xA4]);
}

void CDecoder::Returns(uint8_t op)
{
    switch (op) {
    case 0xC2: Set("RET", CHexDump::Hex4(Fetch16()), InstructionKind::Return); return;
    case 0xC3: Set("RET", {}, InstructionKind::Return); return;
    case 0xCA: Set("RETF", CHexDump::Hex4(Fetch16()), InstructionKind::Return); return;
    case 0xCB: Set("RETF", {}, InstructionKind::Return); return;
    case 0xCC: Set("INT", "3", InstructionKind::Interrupt); return;
    case 0xCD: Set("INT", CHexDump::Hex2(Fetch8()), InstructionKind::Interrupt); return;
    case 0xCE: Set("INTO", {}, InstructionKind::Interrupt); return;
    default: Set("IRET", {}, InstructionKind::Return); return;
    }
}

// The one-byte instructions with no operand.
void CDecoder::Singles(uint8_t op)
{
    struct Single {
        uint8_t op;
        const char* name;
    };
    static const Single kSingles[] = {
        {0x27, "DAA"},   {0x2F, "DAS"},   {0x37, "AAA"},  {0x3F, "AAS"},  {0x60, "PUSHA"}, {0x61, "POPA"},
        {0x90, "NOP"},   {0x98, "CBW"},   {0x99, "CWD"},  {0x9B, "WAIT"}, {0x9C, "PUSHF"}, {0x9D, "POPF"},
        {0x9E, "SAHF"},  {0x9F, "LAHF"},  {0xC9, "LEAVE"}, {0xD7, "XLAT"}, {0xF4, "HLT"},  {0xF5, "CMC"},
        {0xF8, "CLC"},   {0xF9, "STC"},   {0xFA, "CLI"},  {0xFB, "STI"},  {0xFC, "CLD"},   {0xFD, "STD"},
    };
    for (const Single& single : kSingles) {
        if (single.op == op) {
            Set(single.name);
            return;
        }
    }
    Set("???");
}

void CDecoder::Decode(uint8_t op)
{
    if (op < 0x40 && (op & 7) < 6) {
        Arithmetic(op);
        return;
    }
    if (op < 0x40 && (op & 7) == 6 && (op & 0x20)) {
        Prefix(kSegmentRegisters[(op >> 3) & 3], static_cast<int8_t>((op >> 3) & 3));
        m_decoded.mnemonic += ":";
        return;
    }
    if (op < 0x20 && (op & 7) >= 6) {
        Set(op & 1 ? "POP" : "PUSH", kSegmentRegisters[op >> 3]);
        return;
    }
    if (op >= 0x40 && op < 0x60) {
        static const char* const kNames[] = {"INC", "DEC", "PUSH", "POP"};
        Set(kNames[(op - 0x40) >> 3], kWordRegisters[op & 7]);
        return;
    }
    if (op >= 0x70 && op < 0x80) {
        Set(kJumps[op - 0x70], Relative(false));
        return;
    }
    if ((op >= 0x84 && op <= 0x8F) || (op >= 0xA0 && op <= 0xA3) || (op >= 0xB0 && op <= 0xBF) ||
        (op >= 0xC4 && op <= 0xC7)) {
        Moves(op);
        return;
    }
    if ((op >= 0xA4 && op <= 0xAF) || (op >= 0x6C && op <= 0x6F)) {
        Strings(op);
        return;
    }
    if ((op >= 0xC2 && op <= 0xC3) || (op >= 0xCA && op <= 0xCF)) {
        Returns(op);
        return;
    }
    if (op >= 0x91 && op <= 0x97) {
        Set("XCHG", std::string("AX,") + kWordRegisters[op & 7]);
        return;
    }
    if (op >= 0xD8 && op <= 0xDF) {
        ModRm();
        Set("ESC", CHexDump::Hex2(static_cast<uint8_t>((op & 7) << 3 | m_nReg)) + "," + Rm(true));
        return;
    }
    switch (op) {
    case 0x62: ModRm(); Set("BOUND", Reg(true) + "," + Rm(true)); return;
    case 0x68: Set("PUSH", Immediate(true)); return;
    case 0x6A: Set("PUSH", SignedImmediate()); return;
    case 0x69: case 0x6B: {
        ModRm();
        const std::string operands = Reg(true) + "," + Rm(true) + ",";
        Set("IMUL", operands + (op == 0x69 ? Immediate(true) : SignedImmediate()));
        return;
    }
    case 0x80: case 0x81: case 0x82: case 0x83: Group1(op); return;
    case 0x9A: Set("CALL", FarPointer(), InstructionKind::Call); return;
    case 0xEA: Set("JMP", FarPointer()); return;
    case 0xC0: case 0xC1: case 0xD0: case 0xD1: case 0xD2: case 0xD3: Group2(op); return;
    case 0xC8: {
        const std::string size = Immediate(true);
        Set("ENTER", size + "," + Immediate(false));
        return;
    }
    case 0xD4: case 0xD5: {
        const uint8_t base = Fetch8();
        Set(op == 0xD4 ? "AAM" : "AAD", base == 0x0A ? std::string() : CHexDump::Hex2(base));
        return;
    }
    case 0xE0: Set("LOOPNZ", Relative(false), InstructionKind::Loop); return;
    case 0xE1: Set("LOOPZ", Relative(false), InstructionKind::Loop); return;
    case 0xE2: Set("LOOP", Relative(false), InstructionKind::Loop); return;
    case 0xE3: Set("JCXZ", Relative(false)); return;
    case 0xE4: Set("IN", "AL," + Immediate(false)); return;
    case 0xE5: Set("IN", "AX," + Immediate(false)); return;
    case 0xE6: Set("OUT", Immediate(false) + ",AL"); return;
    case 0xE7: Set("OUT", Immediate(false) + ",AX"); return;
    case 0xE8: Set("CALL", Relative(true), InstructionKind::Call); return;
    case 0xE9: Set("JMP", Relative(true)); return;
    case 0xEB: Set("JMP", Relative(false)); return;
    case 0xEC: Set("IN", "AL,DX"); return;
    case 0xED: Set("IN", "AX,DX"); return;
    case 0xEE: Set("OUT", "DX,AL"); return;
    case 0xEF: Set("OUT", "DX,AX"); return;
    case 0xF0: Prefix("LOCK"); return;
    case 0xF2: Prefix("REPNZ"); return;
    case 0xF3: Prefix("REPZ"); return;
    case 0xF6: case 0xF7: Group3(op & 1); return;
    case 0xFE: case 0xFF: Group45(op & 1); return;
    default: Singles(op); return;
    }
}

std::string Text(const Decoded8086& decoded)
{
    if (decoded.operands.empty())
        return decoded.mnemonic;
    std::string mnemonic = decoded.mnemonic;
    mnemonic.resize(std::max(mnemonic.size() + 1, kMnemonicWidth), ' ');
    return mnemonic + decoded.operands;
}

bool IsStringOperation(uint8_t op)
{
    return (op >= 0xA4 && op <= 0xA7) || (op >= 0xAA && op <= 0xAF) || (op >= 0x6C && op <= 0x6F);
}

}

Decoded8086 CDisassembler8086::Decode(const CMemory& memory, uint16_t segment, uint16_t offset, const CpuState* state)
{
    return CDecoder(memory, segment, offset, state).Run();
}

std::string CDisassembler8086::Line(const CMemory& memory, uint16_t segment, uint16_t offset, uint16_t& length)
{
    const Decoded8086 decoded = Decode(memory, segment, offset);
    length = decoded.length;
    std::string line = CDosDisplay::Address(segment, offset) + ' ';
    for (unsigned i = 0; i < decoded.length; ++i)
        line += CHexDump::Hex2(memory.Read8(segment, static_cast<uint16_t>(offset + i)));
    line.resize(std::max(line.size() + 1, kMnemonicColumn), ' ');
    return line + Text(decoded);
}

std::string CDisassembler8086::Current(const CMemory& memory, const CpuState& state)
{
    std::string text;
    const uint16_t cs = state.seg[kCS];
    uint16_t ip = state.ip;
    int8_t segment = -1;
    for (int prefixes = 0;; ++prefixes) {
        const Decoded8086 decoded = Decode(memory, cs, ip, &state);
        uint16_t length = 0;
        std::string line = Line(memory, cs, ip, length);
        if (decoded.prefix && prefixes < 4) {
            if (decoded.overrideSegment >= 0)
                segment = decoded.overrideSegment;
            text += line + "\r\n";
            ip = static_cast<uint16_t>(ip + length);
            continue;
        }
        if (decoded.memory) {
            const SegReg reg = segment >= 0 ? static_cast<SegReg>(segment) : decoded.memorySegment;
            const uint16_t at = decoded.memoryOffset;
            const std::string value = decoded.memoryWord
                                          ? CHexDump::Hex4(memory.Read16(state.seg[reg], at))
                                          : CHexDump::Hex2(memory.Read8(state.seg[reg], at));
            const std::string note = std::string(kSegmentRegisters[reg]) + ":" + CHexDump::Hex4(at) + "=" + value;
            line.resize(std::max(line.size() + 1, kNoteEnd - note.size()), ' ');
            line += note;
        }
        return text + line + "\r\n";
    }
}

NextInstruction CDisassembler8086::Next(const CMemory& memory, uint16_t segment, uint16_t offset)
{
    NextInstruction next{CMemory::Linear(segment, offset), 0, InstructionKind::Plain};
    bool repeated = false;
    uint16_t at = offset;
    for (int prefixes = 0; prefixes < 14; ++prefixes) {
        const Decoded8086 decoded = Decode(memory, segment, at);
        at = static_cast<uint16_t>(at + decoded.length);
        if (decoded.prefix) {
            repeated = repeated || decoded.mnemonic.starts_with("REP");
            continue;
        }
        next.kind = decoded.kind;
        if (repeated && IsStringOperation(memory.Read8(segment, static_cast<uint16_t>(at - decoded.length))))
            next.kind = InstructionKind::RepString;
        break;
    }
    next.length = static_cast<uint8_t>(at - offset);
    return next;
}
