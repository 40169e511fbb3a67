// The tokens of one source line: names, numbers in ASM51's and as31's notations, strings,
// operators. A comment (from ";") ends the line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace asm51 {

enum class TokenKind : uint8_t { kName, kNumber, kString, kPunct, kBadNumber, kOpenString };

struct Token51 {
    TokenKind kind = TokenKind::kPunct;
    // A name in upper case, a string's characters, an operator's text, a bad number as written.
    std::string text;
    int32_t value = 0;
};

class CLexer51 {
public:
    static std::vector<Token51> Split(std::string_view line);
    // The value of a number as written ("0FFH", "11B", "0x1F", "377O", "129"); false when
    // it is none.
    static bool NumberValue(std::string_view text, int32_t& value);

private:
    static size_t ReadString(std::string_view line, size_t at, Token51& token);
};

}  // namespace asm51
