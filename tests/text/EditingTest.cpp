// Editing in Korvane's text control through real keyboard and mouse messages: the caret
// and the selection step over whole characters (a surrogate pair, a line break) and whole
// words, Home goes to the first non-blank and then to column 1, Up and Down keep the column,
// overwrite never eats a line break, Tab and Shift+Tab indent and unindent lines, and the
// mouse puts the caret, selects words by double-click and extends with Shift or a drag.
#include "TextFixture.h"

#include "support/TestSupport.h"

#include <windowsx.h>

#include <vector>

namespace {
// One key: a virtual key with modifiers, or a character typed.
struct Stroke {
    UINT key;
    BYTE modifiers;
    wchar_t typed;
};

Stroke K(UINT key, BYTE modifiers = 0)
{
    return Stroke{key, modifiers, 0};
}

Stroke C(wchar_t typed)
{
    return Stroke{0, 0, typed};
}

struct KeyCase {
    const char* name;
    const wchar_t* text;
    DWORD anchor, caret;
    std::vector<Stroke> strokes;
    const wchar_t* after;  // the text afterwards; nullptr when unchanged
    DWORD selAnchor, selCaret;
};

const KeyCase kKeyCases[] = {
    {"right steps over a surrogate pair", L"a\U0001F600b", 1, 1, {K(VK_RIGHT)}, nullptr, 3, 3},
    {"left steps back over a surrogate pair", L"a\U0001F600b", 3, 3, {K(VK_LEFT)}, nullptr, 1, 1},
    {"shift+right selects Chinese characters whole", L"\u6CE8\u91CA;x", 0, 0, {K(VK_RIGHT, kShift), K(VK_RIGHT, kShift)}, nullptr, 0, 2},
    {"right steps over CR LF", L"ab\r\ncd", 2, 2, {K(VK_RIGHT)}, nullptr, 4, 4},
    {"left steps back over CR CR LF", L"a\r\r\nb", 4, 4, {K(VK_LEFT)}, nullptr, 1, 1},
    {"right steps over a lone LF", L"a\nb", 1, 1, {K(VK_RIGHT)}, nullptr, 2, 2},
    {"left with a selection goes to its start", L"hello", 1, 4, {K(VK_LEFT)}, nullptr, 1, 1},
    {"backspace takes a surrogate pair whole", L"a\U0001F600b", 3, 3, {K(VK_BACK)}, L"ab", 1, 1},
    {"delete takes CR LF whole", L"ab\r\ncd", 2, 2, {K(VK_DELETE)}, L"abcd", 2, 2},
    {"ctrl+right goes from word to word", L"mov ax, bx", 0, 0, {K(VK_RIGHT, kCtrl), K(VK_RIGHT, kCtrl), K(VK_RIGHT, kCtrl)}, nullptr, 8, 8},
    {"ctrl+left goes back from word to word", L"mov ax, bx", 10, 10, {K(VK_LEFT, kCtrl), K(VK_LEFT, kCtrl), K(VK_LEFT, kCtrl)}, nullptr, 4, 4},
    {"ctrl+right stops at the line break", L"ab\r\ncd", 0, 0, {K(VK_RIGHT, kCtrl), K(VK_RIGHT, kCtrl)}, nullptr, 4, 4},
    {"ctrl+backspace takes the word before", L"mov ax", 6, 6, {K(VK_BACK, kCtrl)}, L"mov ", 4, 4},
    {"home goes to the first non-blank, then to column 1", L"\t  mov ax", 8, 8, {K(VK_HOME)}, nullptr, 3, 3},
    {"home at the first non-blank goes to column 1", L"\t  mov ax", 8, 8, {K(VK_HOME), K(VK_HOME)}, nullptr, 0, 0},
    {"shift+end selects to the line's end", L"ab\r\ncd", 0, 0, {K(VK_END, kShift)}, nullptr, 0, 2},
    {"ctrl+end goes to the text's end", L"ab\r\ncd", 1, 1, {K(VK_END, kCtrl)}, nullptr, 6, 6},
    {"ctrl+shift+home selects to the start", L"ab\r\ncd", 5, 5, {K(VK_HOME, kCtrl | kShift)}, nullptr, 5, 0},
    {"down keeps the column over a shorter line", L"abcdef\r\nab\r\nabcdef", 5, 5, {K(VK_DOWN), K(VK_DOWN)}, nullptr, 17, 17},
    {"up from the first line goes to the start", L"abc\r\nabc", 6, 6, {K(VK_UP), K(VK_UP)}, nullptr, 0, 0},
    {"typing replaces the selection", L"hello", 1, 4, {C(L'X')}, L"hXo", 2, 2},
    {"overwrite replaces characters, never the line break", L"ab\r\ncd", 1, 1, {K(VK_INSERT), C(L'x'), C(L'y')}, L"axy\r\ncd", 3, 3},
    {"overwrite takes a Chinese character whole", L"\u6CE8\u91CA", 0, 0, {K(VK_INSERT), C(L'a')}, L"a\u91CA", 1, 1},
    {"tab inside a line is a tab", L"ab", 1, 1, {K(VK_TAB)}, L"a\tb", 2, 2},
    {"tab indents the selected lines but empty ones", L"a\r\nb\r\n\r\nc", 1, 8, {K(VK_TAB)}, L"\ta\r\n\tb\r\n\r\nc", 0, 10},
    {"shift+tab unindents the selected lines", L"\ta\r\n    b\r\nc", 0, 9, {K(VK_TAB, kShift)}, L"a\r\nb\r\nc", 0, 6},
    {"shift+tab unindents the caret's line", L"\t\tx", 2, 2, {K(VK_TAB, kShift)}, L"\tx", 0, 2},
};

class Editing : public TextTest {};
}

TEST_F(Editing, KeysMoveSelectAndEditByWholeCharactersWordsAndLines)
{
    for (const KeyCase& c : kKeyCases) {
        Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        Send(Ours(), EM_SETSEL, c.anchor, c.caret);
        for (const Stroke& stroke : c.strokes) {
            if (stroke.typed)
                Send(Ours(), WM_CHAR, stroke.typed, 1);
            else
                Press(Ours(), stroke.key, stroke.modifiers);
        }
        EXPECT_EQ(TextOf(Ours()), c.after ? c.after : c.text) << c.name;
        EXPECT_EQ(Control().Selection().nAnchor, c.selAnchor) << c.name;
        EXPECT_EQ(Control().Caret(), c.selCaret) << c.name;
        if (Control().IsOverwrite())
            Control().ToggleOverwrite();
    }
}

TEST_F(Editing, TheMouseSetsTheCaretSelectsWordsAndExtends)
{
    struct Gesture {
        UINT message;
        size_t at;  // the character whose left edge the mouse is on
        bool shift;
    };
    struct MouseCase {
        const char* name;
        std::vector<Gesture> gestures;
        DWORD anchor, caret;
    };
    const std::wstring text = L"mov ax, 1\r\n\tint 21h";
    const MouseCase cases[] = {
        {"a click puts the caret", {{WM_LBUTTONDOWN, 5, false}, {WM_LBUTTONUP, 5, false}}, 5, 5},
        {"shift+click extends from the caret", {{WM_LBUTTONDOWN, 2, false}, {WM_LBUTTONUP, 2, false}, {WM_LBUTTONDOWN, 13, true}, {WM_LBUTTONUP, 13, false}}, 2, 13},
        {"a double-click selects the word", {{WM_LBUTTONDOWN, 5, false}, {WM_LBUTTONUP, 5, false}, {WM_LBUTTONDBLCLK, 5, false}, {WM_LBUTTONUP, 5, false}}, 4, 6},
        {"a double-click on a Chinese word selects it", {{WM_LBUTTONDBLCLK, 22, false}, {WM_LBUTTONUP, 22, false}}, 21, 23},
        {"a drag selects from the press", {{WM_LBUTTONDOWN, 1, false}, {WM_MOUSEMOVE, 14, false}, {WM_LBUTTONUP, 14, false}}, 1, 14},
        {"a drag after a double-click goes by words", {{WM_LBUTTONDBLCLK, 1, false}, {WM_MOUSEMOVE, 5, false}, {WM_LBUTTONUP, 5, false}}, 0, 6},
    };
    const std::wstring withChinese = text + L" ;\u4E2D\u6587";
    Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(withChinese.c_str()));
    for (const MouseCase& c : cases) {
        Send(Ours(), EM_SETSEL, 0, 0);
        for (const Gesture& g : c.gestures) {
            const LRESULT point = Send(Ours(), EM_POSFROMCHAR, g.at);
            HeldModifiers held(g.shift ? kShift : 0);
            Send(Ours(), g.message, g.shift ? MK_SHIFT : 0, MAKELPARAM(LOWORD(point) + 1, HIWORD(point) + 1));
        }
        EXPECT_EQ(Control().Selection().nAnchor, c.anchor) << c.name;
        EXPECT_EQ(Control().Caret(), c.caret) << c.name;
        EXPECT_EQ(::GetCapture(), nullptr) << c.name;
    }
}

// The debugger's breakpoints and current line stay on their lines as lines come and go above
// them; two breakpoints whose lines closed up are one.
TEST_F(TextTest, BreakpointsAndTheCurrentLineFollowTheirLines)
{
    const struct {
        const char* name;
        DWORD from, to;
        const wchar_t* replacement;
        std::vector<size_t> breakpoints;
        size_t current;
    } kEdits[] = {
        {"a line put in at the top", 0, 0, L"x\r\n", {2, 4}, 3},
        {"the first line taken out", 0, 3, L"", {0, 2}, 1},
        {"the lines b and c taken out", 3, 9, L"", {1}, 1},
        {"a line break typed at the end of b", 4, 4, L"\r\n", {1, 4}, 3},
    };
    for (const auto& edit : kEdits) {
        Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"a\r\nb\r\nc\r\nd\r\ne"));
        Control().SetBreakpoints({1, 3});
        Control().SetCurrentLine(2);
        Send(Ours(), EM_SETSEL, edit.from, edit.to);
        Send(Ours(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(edit.replacement));
        EXPECT_EQ(Control().Breakpoints(), edit.breakpoints) << edit.name;
        EXPECT_EQ(Control().CurrentLine(), edit.current) << edit.name;
    }
}
