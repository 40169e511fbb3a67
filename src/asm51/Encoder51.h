// The 8051's instructions as a table of forms (mnemonic, operand patterns, opcode), all 255
// opcodes, and the bytes of an instruction whose operands are known: registers added into
// the opcode, AJMP/ACALL's page, relative offsets, and the generic JMP and CALL resolved as
// ASM51 does (the short forms only for targets already defined above).
#pragma once

#include "asm51/Expression51.h"

#include <array>
#include <optional>
#include <span>

namespace asm51 {

// What an operand is, as written.
enum class OperandKind : uint8_t { kA, kAB, kC, kDptr, kAtDptr, kAtADptr, kAtAPc, kRn, kAtRi, kImmediate, kNotBit, kExpression };

struct Operand51 {
    OperandKind kind = OperandKind::kExpression;
    // Rn's n, @Ri's i.
    uint8_t reg = 0;
    // The value of "#expr", "/expr" or "expr".
    ExprValue value;
};

// What an instruction form takes at an operand's place.
enum class Pattern : uint8_t { kA, kAB, kC, kDptr, kAtDptr, kAtADptr, kAtAPc, kRn, kAtRi, kImm, kImm16, kDirect, kBit, kNotBit, kRel, kAddr11, kAddr16 };

struct Form51 {
    const char* mnemonic;
    uint8_t opcode;
    uint8_t count;
    std::array<Pattern, 3> patterns;
};

enum class EncodeResult : uint8_t { kOk, kUnknownMnemonic, kBadOperands };

struct Encoded51 {
    std::vector<uint8_t> bytes;
    // A value that does not fit (found only when final), the bytes made all the same.
    std::optional<ExprError> error;
};

class CEncoder51 {
public:
    static std::span<const Form51> Forms();
    static bool IsMnemonic(const std::string& name);
    // The bytes of the instruction at address; range and page checks only when final (the
    // last pass, when every value is known).
    static EncodeResult Encode(const std::string& mnemonic, const std::vector<Operand51>& operands, uint16_t address, bool final, Encoded51& out);
    // The bytes an operand of the pattern takes after the opcode.
    static unsigned OperandSize(Pattern pattern);

private:
    static bool Matches(const Form51& form, const std::vector<Operand51>& operands);
    static void Emit(const Form51& form, const std::vector<Operand51>& operands, uint16_t address, bool final, Encoded51& out);
    // SJMP, AJMP or LJMP (ACALL or LCALL) for a generic JMP (CALL) to a target.
    static std::string GenericForm(const std::string& mnemonic, const ExprValue& target, uint16_t address);
};

}  // namespace asm51
