// Recursive descent over the precedence levels.
#include "asm51/Expression51.h"

namespace asm51 {

namespace {
constexpr int kLevels = 4;

// Per level, lowest first: the operators and what each one is.
struct Operator {
    const char* text;
    const char* canonical;
};
const std::vector<Operator> kOperators[kLevels] = {
    {{"EQ", "="}, {"=", "="}, {"==", "="}, {"NE", "<>"}, {"<>", "<>"}, {"!=", "<>"}, {"LT", "<"}, {"<", "<"},
     {"LE", "<="}, {"LTE", "<="}, {"<=", "<="}, {"GT", ">"}, {">", ">"}, {"GE", ">="}, {"GTE", ">="}, {">=", ">="}},
    {{"AND", "&"}, {"&", "&"}, {"OR", "|"}, {"|", "|"}, {"XOR", "^"}, {"^", "^"}},
    {{"SHL", "<<"}, {"<<", "<<"}, {"SHR", ">>"}, {">>", ">>"}},
    {{"+", "+"}, {"-", "-"}},
};
const std::vector<Operator> kProducts = {{"*", "*"}, {"/", "/"}, {"MOD", "%"}, {"%", "%"}};

ExprValue Combined(ExprValue left, const ExprValue& right, int32_t value)
{
    left.value = value;
    left.known = left.known && right.known;
    left.forward = left.forward || right.forward;
    return left;
}
}

CExpression51::CExpression51(const std::vector<Token51>& tokens, size_t begin, size_t end, int32_t location, Lookup lookup)
    : m_tokens(tokens), m_at(begin), m_end(end), m_location(location), m_lookup(std::move(lookup))
{
}

bool CExpression51::Evaluate(ExprValue& value)
{
    if (m_at >= m_end)
        return Fail(Message51::kSyntax);
    value = Binary(0);
    if (!m_bFailed && m_at < m_end)
        Fail(Message51::kSyntax, m_tokens[m_at].text);
    return !m_bFailed;
}

std::optional<int32_t> CExpression51::BitAddress(int32_t byte, int32_t bit)
{
    if (bit < 0 || bit > 7)
        return std::nullopt;
    if (byte >= 0x20 && byte <= 0x2F)
        return (byte - 0x20) * 8 + bit;
    if (byte >= 0x80 && byte <= 0xFF && byte % 8 == 0)
        return byte + bit;
    return std::nullopt;
}

bool CExpression51::Fail(Message51 message, std::string detail)
{
    if (!m_bFailed)
        m_error = ExprError{message, std::move(detail)};
    m_bFailed = true;
    m_at = m_end;
    return false;
}

std::string CExpression51::OperatorAt(int level) const
{
    const Token51* token = Peek();
    if (!token || (token->kind != TokenKind::kPunct && token->kind != TokenKind::kName))
        return {};
    for (const Operator& op : level < kLevels ? kOperators[level] : kProducts) {
        if (token->text == op.text)
            return op.canonical;
    }
    return {};
}

ExprValue CExpression51::Binary(int level)
{
    const auto next = [this, level] { return level < kLevels ? Binary(level + 1) : Unary(); };
    ExprValue left = next();
    for (std::string op = OperatorAt(level); !op.empty() && !m_bFailed; op = OperatorAt(level)) {
        ++m_at;
        left = Apply(op, left, next());
    }
    return left;
}

ExprValue CExpression51::Apply(const std::string& op, ExprValue left, ExprValue right)
{
    const int32_t a = left.value;
    const int32_t b = right.value;
    const auto truth = [](bool holds) { return holds ? 0xFFFF : 0; };
    if ((op == "/" || op == "%") && b == 0) {
        if (left.known && right.known)
            Fail(Message51::kDivideByZero);
        return Combined(left, right, 0);
    }
    const int32_t shift = b < 0 || b > 31 ? 31 : b;
    int32_t value = 0;
    if (op == "+") value = a + b;
    else if (op == "-") value = a - b;
    else if (op == "*") value = a * b;
    else if (op == "/") value = a / b;
    else if (op == "%") value = a % b;
    else if (op == "<<") value = static_cast<int32_t>((static_cast<uint32_t>(a) << shift) & 0xFFFF);
    else if (op == ">>") value = static_cast<int32_t>((static_cast<uint32_t>(a) & 0xFFFF) >> shift);
    else if (op == "&") value = a & b;
    else if (op == "|") value = a | b;
    else if (op == "^") value = a ^ b;
    else if (op == "=") value = truth(a == b);
    else if (op == "<>") value = truth(a != b);
    else if (op == "<") value = truth(a < b);
    else if (op == "<=") value = truth(a <= b);
    else if (op == ">") value = truth(a > b);
    else if (op == ">=") value = truth(a >= b);
    return Combined(left, right, value);
}

ExprValue CExpression51::Unary()
{
    const Token51* token = Peek();
    if (!token)
        return Fail(Message51::kSyntax), ExprValue{};
    const std::string& text = token->text;
    // A word operator with nothing after it is a name: as31 sources call labels "low" and "high".
    const bool operandFollows = m_at + 1 < m_end && m_tokens[m_at + 1].text != ")";
    const bool word = token->kind == TokenKind::kName && operandFollows && (text == "NOT" || text == "HIGH" || text == "LOW");
    if (word || token->kind == TokenKind::kPunct) {
        if (word || text == "-" || text == "+" || text == "~") {
            ++m_at;
            ExprValue operand = Unary();
            if (text == "-") operand.value = -operand.value;
            else if (text == "~" || text == "NOT") operand.value = ~operand.value & 0xFFFF;
            else if (text == "HIGH") operand.value = (operand.value >> 8) & 0xFF;
            else if (text == "LOW") operand.value &= 0xFF;
            return operand;
        }
    }
    return Postfix();
}

ExprValue CExpression51::Postfix()
{
    ExprValue byte = Primary();
    while (!m_bFailed && Peek() && Peek()->kind == TokenKind::kPunct && Peek()->text == ".") {
        ++m_at;
        const ExprValue bit = Primary();
        if (m_bFailed)
            break;
        if (!byte.known || !bit.known) {
            byte = Combined(byte, bit, 0);
            continue;
        }
        const std::optional<int32_t> address = BitAddress(byte.value, bit.value);
        if (!address) {
            Fail(Message51::kNotBitAddressable, std::to_string(byte.value) + "." + std::to_string(bit.value));
            break;
        }
        byte = Combined(byte, bit, *address);
    }
    return byte;
}

ExprValue CExpression51::Primary()
{
    const Token51* token = Peek();
    if (!token)
        return Fail(Message51::kSyntax), ExprValue{};
    ++m_at;
    switch (token->kind) {
    case TokenKind::kNumber:
        return ExprValue{token->value};
    case TokenKind::kBadNumber:
        return Fail(Message51::kBadNumber, token->text), ExprValue{};
    case TokenKind::kOpenString:
        return Fail(Message51::kOpenString), ExprValue{};
    case TokenKind::kString: {
        // One or two characters make a number, the first the high byte.
        if (token->text.empty() || token->text.size() > 2)
            return Fail(Message51::kOutOfRange, "'" + token->text + "'"), ExprValue{};
        int32_t value = 0;
        for (char c : token->text)
            value = value << 8 | static_cast<unsigned char>(c);
        return ExprValue{value};
    }
    case TokenKind::kName: {
        const std::optional<ExprValue> value = m_lookup(token->text);
        if (!value)
            return Fail(Message51::kUndefined, token->text), ExprValue{};
        return *value;
    }
    case TokenKind::kPunct:
        break;
    }
    if (token->text == "$" || token->text == "*")
        return ExprValue{m_location};
    if (token->text == "(") {
        const ExprValue inner = Binary(0);
        if (!m_bFailed && !(Peek() && Peek()->kind == TokenKind::kPunct && Peek()->text == ")"))
            return Fail(Message51::kSyntax, "("), ExprValue{};
        ++m_at;
        return inner;
    }
    return Fail(Message51::kSyntax, token->text), ExprValue{};
}

}  // namespace asm51
