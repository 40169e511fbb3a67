// The instruction table and the encoding of one instruction.
#include "asm51/Encoder51.h"

namespace asm51 {

namespace {
using P = Pattern;
constexpr P A = P::kA, AB = P::kAB, C = P::kC, DPTR = P::kDptr, ATDPTR = P::kAtDptr, ATADPTR = P::kAtADptr,
            ATAPC = P::kAtAPc, RN = P::kRn, ATRI = P::kAtRi, IMM = P::kImm, IMM16 = P::kImm16, DIR = P::kDirect,
            BIT = P::kBit, NBIT = P::kNotBit, REL = P::kRel, A11 = P::kAddr11, A16 = P::kAddr16;

// From the MCS-51 instruction set; the arithmetic and logic groups share their layout.
constexpr Form51 kForms[] = {
    {"ACALL", 0x11, 1, {A11}}, {"AJMP", 0x01, 1, {A11}}, {"LCALL", 0x12, 1, {A16}}, {"LJMP", 0x02, 1, {A16}},
    {"ADD", 0x28, 2, {A, RN}}, {"ADD", 0x25, 2, {A, DIR}}, {"ADD", 0x26, 2, {A, ATRI}}, {"ADD", 0x24, 2, {A, IMM}},
    {"ADDC", 0x38, 2, {A, RN}}, {"ADDC", 0x35, 2, {A, DIR}}, {"ADDC", 0x36, 2, {A, ATRI}}, {"ADDC", 0x34, 2, {A, IMM}},
    {"SUBB", 0x98, 2, {A, RN}}, {"SUBB", 0x95, 2, {A, DIR}}, {"SUBB", 0x96, 2, {A, ATRI}}, {"SUBB", 0x94, 2, {A, IMM}},
    {"ORL", 0x48, 2, {A, RN}}, {"ORL", 0x45, 2, {A, DIR}}, {"ORL", 0x46, 2, {A, ATRI}}, {"ORL", 0x44, 2, {A, IMM}},
    {"ORL", 0x42, 2, {DIR, A}}, {"ORL", 0x43, 2, {DIR, IMM}}, {"ORL", 0x72, 2, {C, BIT}}, {"ORL", 0xA0, 2, {C, NBIT}},
    {"ANL", 0x58, 2, {A, RN}}, {"ANL", 0x55, 2, {A, DIR}}, {"ANL", 0x56, 2, {A, ATRI}}, {"ANL", 0x54, 2, {A, IMM}},
    {"ANL", 0x52, 2, {DIR, A}}, {"ANL", 0x53, 2, {DIR, IMM}}, {"ANL", 0x82, 2, {C, BIT}}, {"ANL", 0xB0, 2, {C, NBIT}},
    {"XRL", 0x68, 2, {A, RN}}, {"XRL", 0x65, 2, {A, DIR}}, {"XRL", 0x66, 2, {A, ATRI}}, {"XRL", 0x64, 2, {A, IMM}},
    {"XRL", 0x62, 2, {DIR, A}}, {"XRL", 0x63, 2, {DIR, IMM}},
    {"CJNE", 0xB5, 3, {A, DIR, REL}}, {"CJNE", 0xB4, 3, {A, IMM, REL}}, {"CJNE", 0xB8, 3, {RN, IMM, REL}},
    {"CJNE", 0xB6, 3, {ATRI, IMM, REL}},
    {"CLR", 0xE4, 1, {A}}, {"CLR", 0xC3, 1, {C}}, {"CLR", 0xC2, 1, {BIT}},
    {"CPL", 0xF4, 1, {A}}, {"CPL", 0xB3, 1, {C}}, {"CPL", 0xB2, 1, {BIT}},
    {"SETB", 0xD3, 1, {C}}, {"SETB", 0xD2, 1, {BIT}},
    {"DA", 0xD4, 1, {A}}, {"DIV", 0x84, 1, {AB}}, {"MUL", 0xA4, 1, {AB}},
    {"DEC", 0x14, 1, {A}}, {"DEC", 0x18, 1, {RN}}, {"DEC", 0x15, 1, {DIR}}, {"DEC", 0x16, 1, {ATRI}},
    {"INC", 0x04, 1, {A}}, {"INC", 0x08, 1, {RN}}, {"INC", 0x05, 1, {DIR}}, {"INC", 0x06, 1, {ATRI}},
    {"INC", 0xA3, 1, {DPTR}},
    {"DJNZ", 0xD8, 2, {RN, REL}}, {"DJNZ", 0xD5, 2, {DIR, REL}},
    {"JB", 0x20, 2, {BIT, REL}}, {"JBC", 0x10, 2, {BIT, REL}}, {"JNB", 0x30, 2, {BIT, REL}},
    {"JC", 0x40, 1, {REL}}, {"JNC", 0x50, 1, {REL}}, {"JZ", 0x60, 1, {REL}}, {"JNZ", 0x70, 1, {REL}},
    {"SJMP", 0x80, 1, {REL}}, {"JMP", 0x73, 1, {ATADPTR}},
    {"MOV", 0xE8, 2, {A, RN}}, {"MOV", 0xE5, 2, {A, DIR}}, {"MOV", 0xE6, 2, {A, ATRI}}, {"MOV", 0x74, 2, {A, IMM}},
    {"MOV", 0xF8, 2, {RN, A}}, {"MOV", 0xA8, 2, {RN, DIR}}, {"MOV", 0x78, 2, {RN, IMM}},
    {"MOV", 0xF5, 2, {DIR, A}}, {"MOV", 0x88, 2, {DIR, RN}}, {"MOV", 0x85, 2, {DIR, DIR}},
    {"MOV", 0x86, 2, {DIR, ATRI}}, {"MOV", 0x75, 2, {DIR, IMM}},
    {"MOV", 0xF6, 2, {ATRI, A}}, {"MOV", 0xA6, 2, {ATRI, DIR}}, {"MOV", 0x76, 2, {ATRI, IMM}},
    {"MOV", 0xA2, 2, {C, BIT}}, {"MOV", 0x92, 2, {BIT, C}}, {"MOV", 0x90, 2, {DPTR, IMM16}},
    {"MOVC", 0x93, 2, {A, ATADPTR}}, {"MOVC", 0x83, 2, {A, ATAPC}},
    {"MOVX", 0xE2, 2, {A, ATRI}}, {"MOVX", 0xE0, 2, {A, ATDPTR}}, {"MOVX", 0xF2, 2, {ATRI, A}},
    {"MOVX", 0xF0, 2, {ATDPTR, A}},
    {"NOP", 0x00, 0, {}}, {"RET", 0x22, 0, {}}, {"RETI", 0x32, 0, {}},
    {"POP", 0xD0, 1, {DIR}}, {"PUSH", 0xC0, 1, {DIR}},
    {"RL", 0x23, 1, {A}}, {"RLC", 0x33, 1, {A}}, {"RR", 0x03, 1, {A}}, {"RRC", 0x13, 1, {A}}, {"SWAP", 0xC4, 1, {A}},
    {"XCH", 0xC8, 2, {A, RN}}, {"XCH", 0xC5, 2, {A, DIR}}, {"XCH", 0xC6, 2, {A, ATRI}}, {"XCHD", 0xD6, 2, {A, ATRI}},
};

bool Accepts(Pattern pattern, const Operand51& operand)
{
    switch (operand.kind) {
    case OperandKind::kA: return pattern == P::kA;
    case OperandKind::kAB: return pattern == P::kAB;
    case OperandKind::kC: return pattern == P::kC;
    case OperandKind::kDptr: return pattern == P::kDptr;
    case OperandKind::kAtDptr: return pattern == P::kAtDptr;
    case OperandKind::kAtADptr: return pattern == P::kAtADptr;
    case OperandKind::kAtAPc: return pattern == P::kAtAPc;
    case OperandKind::kRn: return pattern == P::kRn;
    case OperandKind::kAtRi: return pattern == P::kAtRi;
    case OperandKind::kImmediate: return pattern == P::kImm || pattern == P::kImm16;
    case OperandKind::kNotBit: return pattern == P::kNotBit;
    case OperandKind::kExpression:
        return pattern == P::kDirect || pattern == P::kBit || pattern == P::kRel || pattern == P::kAddr11 ||
               pattern == P::kAddr16;
    }
    return false;
}

const Form51* FindForm(const std::string& mnemonic)
{
    for (const Form51& form : kForms) {
        if (mnemonic == form.mnemonic)
            return &form;
    }
    return nullptr;
}

// A value in a field of the given width: too large, or more negative than its two's
// complement can be, does not fit (the bytes keep its low bits).
void Field(int32_t value, int32_t lowest, int32_t highest, bool final, Encoded51& out, unsigned bytes)
{
    if (final && (value < lowest || value > highest) && !out.error)
        out.error = ExprError{Message51::kOutOfRange, std::to_string(value)};
    if (bytes == 2)
        out.bytes.push_back(static_cast<uint8_t>(value >> 8));
    out.bytes.push_back(static_cast<uint8_t>(value));
}
}

std::span<const Form51> CEncoder51::Forms()
{
    return kForms;
}

bool CEncoder51::IsMnemonic(const std::string& name)
{
    return FindForm(name) || name == "CALL";
}

unsigned CEncoder51::OperandSize(Pattern pattern)
{
    switch (pattern) {
    case P::kImm16:
    case P::kAddr16: return 2;
    case P::kImm:
    case P::kDirect:
    case P::kBit:
    case P::kNotBit:
    case P::kRel:
    case P::kAddr11: return 1;
    default: return 0;
    }
}

bool CEncoder51::Matches(const Form51& form, const std::vector<Operand51>& operands)
{
    if (operands.size() != form.count)
        return false;
    for (size_t i = 0; i < operands.size(); ++i) {
        if (!Accepts(form.patterns[i], operands[i]))
            return false;
    }
    return true;
}

std::string CEncoder51::GenericForm(const std::string& mnemonic, const ExprValue& target, uint16_t address)
{
    const bool jump = mnemonic == "JMP";
    if (target.forward || !target.known)
        return jump ? "LJMP" : "LCALL";
    const int32_t offset = target.value - (address + 2);
    if (jump && offset >= -128 && offset <= 127)
        return "SJMP";
    if (target.value >= 0 && target.value <= 0xFFFF && ((address + 2) & 0xF800) == (target.value & 0xF800))
        return jump ? "AJMP" : "ACALL";
    return jump ? "LJMP" : "LCALL";
}

void CEncoder51::Emit(const Form51& form, const std::vector<Operand51>& operands, uint16_t address, bool final, Encoded51& out)
{
    unsigned size = 1;
    for (size_t i = 0; i < form.count; ++i)
        size += OperandSize(form.patterns[i]);
    const int32_t next = address + static_cast<int32_t>(size);
    uint8_t opcode = form.opcode;
    out.bytes.push_back(opcode);
    // MOV direct,direct takes its source byte first.
    const bool swapped = form.opcode == 0x85;
    for (size_t k = 0; k < form.count; ++k) {
        const size_t i = swapped ? form.count - 1 - k : k;
        const Operand51& operand = operands[i];
        const int32_t value = operand.value.value;
        switch (form.patterns[i]) {
        case P::kRn:
        case P::kAtRi: out.bytes[0] = static_cast<uint8_t>(opcode + operand.reg); break;
        case P::kImm: Field(value, -256, 255, final, out, 1); break;
        case P::kImm16: Field(value, -65536, 65535, final, out, 2); break;
        case P::kDirect:
        case P::kBit:
        case P::kNotBit: Field(value, 0, 255, final, out, 1); break;
        case P::kAddr16: Field(value, 0, 0xFFFF, final, out, 2); break;
        case P::kRel: {
            const int32_t offset = value - next;
            if (final && (offset < -128 || offset > 127) && !out.error)
                out.error = ExprError{Message51::kJumpTooFar, std::to_string(offset)};
            out.bytes.push_back(static_cast<uint8_t>(offset));
            break;
        }
        case P::kAddr11:
            if (final && (value < 0 || value > 0xFFFF || (next & 0xF800) != (value & 0xF800)) && !out.error)
                out.error = ExprError{Message51::kOtherPage, std::to_string(value)};
            out.bytes[0] = static_cast<uint8_t>(opcode | ((value >> 3) & 0xE0));
            out.bytes.push_back(static_cast<uint8_t>(value));
            break;
        default: break;
        }
    }
}

EncodeResult CEncoder51::Encode(const std::string& mnemonic, const std::vector<Operand51>& operands, uint16_t address, bool final, Encoded51& out)
{
    out = Encoded51{};
    if (!IsMnemonic(mnemonic))
        return EncodeResult::kUnknownMnemonic;
    const bool generic = (mnemonic == "JMP" || mnemonic == "CALL") && operands.size() == 1 &&
                         operands[0].kind == OperandKind::kExpression;
    const std::string name = generic ? GenericForm(mnemonic, operands[0].value, address) : mnemonic;
    for (const Form51& form : kForms) {
        if (name == form.mnemonic && Matches(form, operands)) {
            Emit(form, operands, address, final, out);
            return EncodeResult::kOk;
        }
    }
    return EncodeResult::kBadOperands;
}

}  // namespace asm51
