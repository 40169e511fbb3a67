// What Korvane's text control paints, read back from a WM_PRINTCLIENT bitmap: each syntax
// kind in its own colour, the 8051's words only when the toolchain is the 8051's, no colours
// when they are switched off, the selection and the caret's line standing out.
#include "TextFixture.h"

#include "support/TestSupport.h"
#include "text/SyntaxColors.h"

#include <cstdlib>
#include <set>
#include <string>

namespace {
class Painting : public TextTest {
protected:
    // The control painted as the system paints a window for a snapshot.
    void Snapshot()
    {
        Send(Ours(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_surface.dc()), PRF_CLIENT);
    }
    // Whether a pixel of exactly this colour lies between the left edges of two characters.
    bool Shows(size_t from, size_t to, COLORREF color) const
    {
        const LRESULT left = Send(Ours(), EM_POSFROMCHAR, from);
        const LRESULT right = Send(Ours(), EM_POSFROMCHAR, to);
        const int top = static_cast<short>(HIWORD(left));
        for (int y = top; y < top + Control().Metrics().LineHeight(); ++y) {
            for (int x = static_cast<short>(LOWORD(left)); x < static_cast<short>(LOWORD(right)); ++x) {
                if (m_surface.Pixel(x, y) == color)
                    return true;
            }
        }
        return false;
    }

    DibSurface m_surface{300, 200};
};
}

TEST_F(Painting, EachSyntaxKindHasItsColourForTheChosenToolchain)
{
    const std::wstring text = L"x\r\n\tmov ax, 1 ; note\r\n\tMOVX A, @R0\r\nend";
    struct ColorCase {
        const char* name;
        SyntaxMode mode;
        bool shown;
        const wchar_t* part;
        TokenKind kind;
    };
    const ColorCase cases[] = {
        {"an instruction", SyntaxMode::Masm, true, L"mov", TokenKind::Instruction},
        {"a register", SyntaxMode::Masm, true, L"ax", TokenKind::Register},
        {"a number", SyntaxMode::Masm, true, L"1 ", TokenKind::Number},
        {"a comment", SyntaxMode::Masm, true, L"; note", TokenKind::Comment},
        {"an 8051 word in MASM", SyntaxMode::Masm, true, L"MOVX", TokenKind::Plain},
        {"an 8051 instruction", SyntaxMode::Mcs51, true, L"MOVX", TokenKind::Instruction},
        {"an 8051 indirect register", SyntaxMode::Mcs51, true, L"@R0", TokenKind::Register},
        {"colours switched off", SyntaxMode::Masm, false, L"mov", TokenKind::Plain},
        {"a comment without colours", SyntaxMode::Masm, false, L"; note", TokenKind::Plain},
    };
    Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), plain = ::GetSysColor(COLOR_WINDOWTEXT);
    for (const ColorCase& c : cases) {
        Control().SetSyntaxMode(c.mode);
        Control().ShowSyntaxColors(c.shown);
        Snapshot();
        const size_t start = text.find(c.part);
        const size_t end = start + std::wstring(c.part).size();
        const COLORREF expected = ColorOfToken(c.kind, window, plain);
        EXPECT_TRUE(Shows(start, end, expected)) << c.name;
        // The ink is the kind's alone: a coloured word shows no plain ink, a plain one no colour.
        const COLORREF other = c.kind == TokenKind::Plain ? ColorOfToken(TokenKind::Instruction, window, plain) : plain;
        EXPECT_FALSE(Shows(start, end, other)) << c.name;
    }
}

TEST_F(Painting, TheSelectionAndTheCaretsLineStandOut)
{
    const std::wstring text = L"first line\r\nsecond line\r\nthird line";
    Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // The caret ends the selection, on the second line.
    Send(Ours(), EM_SETSEL, 1, 15);
    Snapshot();
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), window = ::GetSysColor(COLOR_WINDOW);
    EXPECT_TRUE(Shows(1, 10, highlight)) << "the first line's selected part";
    EXPECT_TRUE(Shows(12, 15, highlight)) << "the second line's selected part";
    EXPECT_FALSE(Shows(0, 1, highlight)) << "before the selection";
    EXPECT_FALSE(Shows(15, 23, highlight)) << "after the selection";
    // Right of the lines' text: the window's colour, and on the caret's line a faint tint.
    RECT client{};
    ::GetClientRect(Ours(), &client);
    const int right = client.right - 2;
    const auto rowOf = [&](size_t pos) { return static_cast<short>(HIWORD(Send(Ours(), EM_POSFROMCHAR, pos))) + 1; };
    EXPECT_EQ(m_surface.Pixel(right, rowOf(25)), window);
    const COLORREF tint = m_surface.Pixel(right, rowOf(12));
    const auto distance = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
               std::abs(GetBValue(a) - GetBValue(b));
    };
    EXPECT_NE(tint, window);
    EXPECT_LT(distance(tint, window), distance(tint, highlight)) << "faintly";
}

// An error's mark and a breakpoint side by side in the column: neither colour of one is in
// the other's cell, so the two never look alike.
TEST_F(Painting, AnErrorsMarkAndABreakpointDifferInShapeAndColour)
{
    const std::wstring text = L"mov ax, bx\r\nmov bx, cx\r\nend";
    Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Control().SetMarks({LineMark{0, MarkKind::Error, L"error", 1}});
    Control().SetBreakpoints({1});
    Snapshot();
    const int height = Control().Metrics().LineHeight();
    const auto coloursOfCell = [&](size_t lineStart) {
        const int top = static_cast<short>(HIWORD(Send(Ours(), EM_POSFROMCHAR, lineStart)));
        std::set<COLORREF> colours;
        for (int y = top; y < top + height; ++y)
            for (int x = 0; x < height; ++x)
                colours.insert(m_surface.Pixel(x, y));
        return colours;
    };
    const std::set<COLORREF> error = coloursOfCell(0), breakpoint = coloursOfCell(12);
    const COLORREF breakpointRed = RGB(190, 20, 30), errorRed = RGB(210, 30, 30), white = RGB(255, 255, 255);
    EXPECT_TRUE(breakpoint.count(breakpointRed));
    EXPECT_FALSE(error.count(breakpointRed));
    EXPECT_TRUE(error.count(errorRed) && error.count(white)) << "a red cross on white";
    EXPECT_FALSE(breakpoint.count(white));
}
