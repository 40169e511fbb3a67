// The colouring of a line of assembly source, for MASM and TASM and for the 8051: what is a
// comment, a string, a number in each of the assemblers' forms, a reserved word, a label.
#include "text/AsmLexer.h"

#include "framework/Unicode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using K = TokenKind;

struct Piece {
    std::wstring text;
    TokenKind kind;
    friend bool operator==(const Piece&, const Piece&) = default;
};

void PrintTo(const Piece& piece, std::ostream* out)
{
    *out << Narrow(piece.text) << ":" << static_cast<int>(piece.kind);
}

std::vector<Piece> Pieces(std::wstring_view line, SyntaxMode mode)
{
    std::vector<Piece> pieces;
    for (const Token& token : LexLine(line, mode))
        pieces.push_back(Piece{std::wstring(line.substr(token.nStart, token.nLength)), token.kind});
    return pieces;
}

struct LexCase {
    const wchar_t* line;
    SyntaxMode mode;
    std::vector<Piece> pieces;
};
}

TEST(AsmLexer, ColoursEachPartOfALine)
{
    const LexCase cases[] = {
        {L"\tmov ax, 0FFh ; \u6CE8\u91CA", SyntaxMode::Masm,
         {{L"mov", K::Instruction}, {L"ax", K::Register}, {L"0FFh", K::Number}, {L"; \u6CE8\u91CA", K::Comment}}},
        {L"\tdb 1010b, 377o, 12d, 7, 1Bh, 12x", SyntaxMode::Masm,
         {{L"db", K::Directive}, {L"1010b", K::Number}, {L"377o", K::Number}, {L"12d", K::Number}, {L"7", K::Number},
          {L"1Bh", K::Number}}},
        {L"msg db 'it''s; here', \"x\" ;c", SyntaxMode::Masm,
         {{L"msg", K::Label}, {L"db", K::Directive}, {L"'it''s; here'", K::String}, {L"\"x\"", K::String}, {L";c", K::Comment}}},
        {L"MAIN PROC FAR", SyntaxMode::Masm, {{L"MAIN", K::Label}, {L"PROC", K::Directive}, {L"FAR", K::Directive}}},
        {L"start:\tINT 21H", SyntaxMode::Masm, {{L"start", K::Label}, {L"INT", K::Instruction}, {L"21H", K::Number}}},
        {L"\tassume cs:CSEG, ds:DSEG", SyntaxMode::Masm,
         {{L"assume", K::Directive}, {L"cs", K::Register}, {L"ds", K::Register}}},
        {L"'open string", SyntaxMode::Masm, {{L"'open string", K::String}}},
        {L"\tMOVX A, @DPTR", SyntaxMode::Masm, {}},
        {L"LOOP1: MOVX A, @DPTR ; 8051", SyntaxMode::Mcs51,
         {{L"LOOP1", K::Label}, {L"MOVX", K::Instruction}, {L"A", K::Register}, {L"@DPTR", K::Register}, {L"; 8051", K::Comment}}},
        {L"\tMOV R0, #30H", SyntaxMode::Mcs51, {{L"MOV", K::Instruction}, {L"R0", K::Register}, {L"#30H", K::Number}}},
        {L"\tmov @r1, #LOW(x)", SyntaxMode::Mcs51, {{L"mov", K::Instruction}, {L"@r1", K::Register}, {L"#", K::Number}, {L"LOW", K::Directive}}},
        {L"X EQU 30H", SyntaxMode::Mcs51, {{L"X", K::Label}, {L"EQU", K::Directive}, {L"30H", K::Number}}},
        {L"\tSETB C", SyntaxMode::Mcs51, {{L"SETB", K::Instruction}, {L"C", K::Register}}},
    };
    for (const LexCase& c : cases)
        EXPECT_EQ(Pieces(c.line, c.mode), c.pieces) << Narrow(c.line);
}
