// The value of an expression in a range of a line's tokens, with ASM51's operators and
// their precedence (NOT HIGH LOW and unary signs; * / MOD; + -; SHL SHR; AND OR XOR; the
// comparisons, which give 0FFFFH for true), the C forms of them (& | ^ ~ << >> % == != ...),
// "." selecting a bit of a bit-addressable byte, and "$" (or as31's "*") for the location.
#pragma once

#include "asm51/Diagnostic51.h"
#include "asm51/Lexer51.h"

#include <functional>
#include <optional>

namespace asm51 {

struct ExprValue {
    int32_t value = 0;
    // False while a symbol of it is not yet defined (the first pass).
    bool known = true;
    // It names a symbol whose definition comes later in the source.
    bool forward = false;
};

struct ExprError {
    Message51 message = Message51::kSyntax;
    std::string detail;
};

class CExpression51 {
public:
    // A name's value; nothing when it is no symbol (an error then).
    using Lookup = std::function<std::optional<ExprValue>(const std::string& name)>;

    CExpression51(const std::vector<Token51>& tokens, size_t begin, size_t end, int32_t location, Lookup lookup);
    // Evaluates the whole range; false with Error() set when it is no expression.
    bool Evaluate(ExprValue& value);
    const ExprError& Error() const { return m_error; }

    // The bit address of bit n of a byte: 20H-2FH and the SFRs at multiples of 8.
    static std::optional<int32_t> BitAddress(int32_t byte, int32_t bit);

private:
    ExprValue Binary(int level);
    ExprValue Unary();
    ExprValue Postfix();
    ExprValue Primary();
    // The binary operator at the current token on a level (1 the lowest), or empty.
    std::string OperatorAt(int level) const;
    ExprValue Apply(const std::string& op, ExprValue left, ExprValue right);
    bool Fail(Message51 message, std::string detail = {});
    const Token51* Peek() const { return m_at < m_end ? &m_tokens[m_at] : nullptr; }

    const std::vector<Token51>& m_tokens;
    size_t m_at;
    size_t m_end;
    int32_t m_location;
    Lookup m_lookup;
    bool m_bFailed = false;
    ExprError m_error;
};

}  // namespace asm51
