// What may go into Korvane's text control: its limit counted in bytes of the file's code page
// (GBK or UTF-8), which typing and pasting never pass and EM_REPLACESEL fills with whole
// characters, and Chinese from an input method, whose window follows the caret.
#include "TextFixture.h"

#include "support/TestSupport.h"

#include <imm.h>

#include <algorithm>

namespace {
constexpr unsigned kGbk = 936, kUtf8 = CP_UTF8;

class Input : public TextTest {};
}

TEST_F(Input, TheByteLimitOfTheCodePageHoldsForTypingPastingAndReplacing)
{
    enum class Way { Type, Paste, Replace };
    struct LimitCase {
        const char* name;
        unsigned codePage;
        const wchar_t* text;
        Way way;
        const wchar_t* input;
        const wchar_t* after;
    };
    const LimitCase cases[] = {
        {"a GBK character fills the last two bytes", kGbk, L"abcdefgh", Way::Type, L"\u4E2D", L"abcdefgh\u4E2D"},
        {"a GBK character does not fit one byte", kGbk, L"abcdefghi", Way::Type, L"\u4E2D", L"abcdefghi"},
        {"a letter fits one byte", kGbk, L"abcdefghi", Way::Type, L"x", L"abcdefghix"},
        {"a paste that does not fit goes in not at all", kGbk, L"abcdefgh", Way::Paste, L"\u4E2D\u6587", L"abcdefgh"},
        {"a paste that fits goes in", kGbk, L"abcdef", Way::Paste, L"\u4E2D\u6587", L"abcdef\u4E2D\u6587"},
        {"a replacement is cut to whole characters", kGbk, L"abcdefg", Way::Replace, L"\u4E2D\u6587", L"abcdefg\u4E2D"},
        {"a UTF-8 character takes three bytes", kUtf8, L"abcdefg", Way::Type, L"\u4E2D", L"abcdefg\u4E2D"},
        {"three UTF-8 bytes do not fit two", kUtf8, L"abcdefgh", Way::Type, L"\u4E2D", L"abcdefgh"},
        {"a surrogate pair takes four UTF-8 bytes", kUtf8, L"abcdef", Way::Type, L"\U0001F600", L"abcdef\U0001F600"},
        {"neither half of a pair goes in alone", kUtf8, L"abcdefg", Way::Type, L"\U0001F600", L"abcdefg"},
        {"a cut replacement never splits a pair", kUtf8, L"abcd", Way::Replace, L"x\U0001F600\U0001F600", L"abcdx\U0001F600"},
    };
    for (const LimitCase& c : cases) {
        Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        Control().Editable().SetByteLimit(10, c.codePage);
        Send(Ours(), EM_SETSEL, 0, -1);
        Send(Ours(), EM_SETSEL, static_cast<WPARAM>(-1), 0);
        TakeNotifications(Ours());
        switch (c.way) {
        case Way::Type:
            for (const wchar_t* ch = c.input; *ch; ++ch)
                Send(Ours(), WM_CHAR, *ch, 1);
            break;
        case Way::Paste:
            PutTextOnClipboard(c.input);
            Send(Ours(), WM_PASTE);
            break;
        case Way::Replace: Send(Ours(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(c.input)); break;
        }
        EXPECT_EQ(TextOf(Ours()), c.after) << c.name;
        const std::vector<WORD> notes = TakeNotifications(Ours());
        const bool whole = std::wstring(c.after) == std::wstring(c.text) + c.input;
        EXPECT_EQ(std::count(notes.begin(), notes.end(), EN_MAXTEXT) > 0, !whole) << c.name;
    }
}

TEST_F(Input, AnInputMethodsCharactersGoInAtTheCaret)
{
    Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"mov ax"));
    Send(Ours(), EM_SETSEL, 4, 4);
    Send(Ours(), WM_IME_CHAR, 0x6CE8, 1);
    Send(Ours(), WM_IME_CHAR, 0x91CA, 1);
    EXPECT_EQ(TextOf(Ours()), L"mov \u6CE8\u91CAax");
    EXPECT_EQ(Control().Caret(), 6u);
}

TEST_F(Input, AnInputMethodsWindowFollowsTheCaret)
{
    Send(Ours(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"mov ax, 1\r\n\tint 21h"));
    // Wine's display driver without a screen has no input methods; with one (Xvfb) it has.
    HIMC context = ::ImmCreateContext();
    if (!context)
        GTEST_SKIP() << "no input method context on this desktop";
    HIMC previous = ::ImmAssociateContext(Ours(), context);
    for (WPARAM caret : {4, 13}) {
        Send(Ours(), EM_SETSEL, caret, caret);
        Send(Ours(), WM_IME_STARTCOMPOSITION);
        COMPOSITIONFORM form{};
        ASSERT_TRUE(::ImmGetCompositionWindow(context, &form));
        const LRESULT point = Send(Ours(), EM_POSFROMCHAR, caret);
        EXPECT_EQ(form.ptCurrentPos.x, static_cast<short>(LOWORD(point))) << caret;
        EXPECT_EQ(form.ptCurrentPos.y, static_cast<short>(HIWORD(point))) << caret;
        Send(Ours(), WM_IME_ENDCOMPOSITION);
    }
    ::ImmAssociateContext(Ours(), previous);
    ::ImmDestroyContext(context);
}
