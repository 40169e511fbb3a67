// The colouring of one line of assembly source: comments after ";", strings, numbers in the
// assemblers' forms (0FFh, 1010b, 377o, 12d), reserved words, the label a line defines,
// and for the 8051 the "#" of an immediate and registers such as @R0.
#pragma once

#include "text/AsmKeywords.h"

#include <string_view>
#include <vector>

enum class TokenKind : unsigned char { Plain, Comment, String, Number, Instruction, Register, Directive, Label };

struct Token {
    size_t nStart;
    size_t nLength;
    TokenKind kind;
    friend bool operator==(const Token&, const Token&) = default;
};

// The coloured parts of the line, left to right; what lies between them is plain.
std::vector<Token> LexLine(std::wstring_view line, SyntaxMode mode);
