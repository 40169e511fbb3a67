// Splitting a source line into tokens.
#include "asm51/Lexer51.h"

#include <cctype>

namespace asm51 {

namespace {
bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '?'; }
bool IsNameChar(char c) { return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
}

bool Digits(std::string_view digits, int base, int32_t& value)
{
    if (digits.empty())
        return false;
    int64_t total = 0;
    for (char c : digits) {
        const int digit = DigitValue(c);
        if (digit >= base)
            return false;
        total = total * base + digit;
        if (total > 0xFFFFFFFFLL)
            return false;
    }
    value = static_cast<int32_t>(total);
    return true;
}

// The two-character operators, tried before the one-character ones.
const char* const kPairs[] = {"<=", ">=", "<>", "!=", "==", "<<", ">>"};

char EscapedChar(char c)
{
    switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'b': return '\b';
    case '0': return '\0';
    default: return c;
    }
}
}

bool CLexer51::NumberValue(std::string_view text, int32_t& value)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // as31 also takes "0x1Fh".
        std::string_view digits = text.substr(2);
        if (digits.back() == 'h' || digits.back() == 'H')
            digits.remove_suffix(1);
        return Digits(digits, 16, value);
    }
    const char suffix = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    const std::string_view body = text.substr(0, text.size() - 1);
    switch (suffix) {
    case 'H': return Digits(body, 16, value);
    case 'B': return Digits(body, 2, value);
    case 'O':
    case 'Q': return Digits(body, 8, value);
    case 'D': return Digits(body, 10, value);
    default: break;
    }
    // as31's "0b1010".
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B'))
        return Digits(text.substr(2), 2, value);
    return Digits(text, 10, value);
}

size_t CLexer51::ReadString(std::string_view line, size_t at, Token51& token)
{
    const char quote = line[at++];
    token.kind = TokenKind::kOpenString;
    while (at < line.size()) {
        char c = line[at++];
        if (c == quote) {
            // ASM51 writes a quote inside a string twice.
            if (at < line.size() && line[at] == quote) {
                token.text += quote;
                ++at;
                continue;
            }
            token.kind = TokenKind::kString;
            return at;
        }
        // as31's escapes, in its double-quoted strings and in character constants such as '\n'.
        if (c == '\\' && at < line.size() && (quote == '"' || (at + 1 < line.size() && line[at + 1] == quote)))
            c = EscapedChar(line[at++]);
        token.text += c;
    }
    return at;
}

std::vector<Token51> CLexer51::Split(std::string_view line)
{
    std::vector<Token51> tokens;
    size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (c == ';')
            break;
        if (std::isspace(static_cast<unsigned char>(c)) || c == '\x1A') {
            ++at;
            continue;
        }
        Token51 token;
        if (IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c))) {
            const size_t start = at;
            while (at < line.size() && IsNameChar(line[at]))
                ++at;
            token.text = std::string(line.substr(start, at - start));
            if (IsNameStart(c)) {
                token.kind = TokenKind::kName;
                for (char& ch : token.text)
                    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            } else {
                token.kind = NumberValue(token.text, token.value) ? TokenKind::kNumber : TokenKind::kBadNumber;
            }
        } else if (c == '\'' || c == '"') {
            at = ReadString(line, at, token);
        } else {
            token.kind = TokenKind::kPunct;
            token.text = std::string(1, c);
            for (const char* pair : kPairs) {
                if (line.substr(at, 2) == pair)
                    token.text = pair;
            }
            at += token.text.size();
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace asm51
