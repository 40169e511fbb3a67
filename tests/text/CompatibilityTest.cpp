// Korvane's text control answers the edit-control messages as the system's edit control does
// when both hold the same text: lines and their lengths, positions and points, the text and
// single lines copied out, the selection, and how edits report themselves.
#include "TextFixture.h"

#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {
// CR LF, a lone LF and CR CR LF end lines, a lone CR does not; Chinese, a character beyond
// the basic plane (a surrogate pair) and tabs.
const wchar_t kSurrogateText[] = L"\u4E2D\u6587\r\n\U0001F600x\r\n";
const wchar_t* const kTexts[] = {
    L"",
    L"ab\r\ncd",
    L"a\nb\rc\r\nd\r\r\ne",
    L"x\r\r\r\ny\n\n",
    kSurrogateText,
    L"\tmov ax, 1\t; one\r\n\r\n  int 21h",
};

struct Probe {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::string Describe(const std::wstring& text, const Probe& probe)
{
    return "text \"" + Narrow(text) + "\" message 0x" + std::to_string(probe.message) + " (" +
           std::to_string(static_cast<long long>(probe.wParam)) + ", " + std::to_string(probe.lParam) + ")";
}

// Every question about lines and positions, for every line and position of the text and a
// little beyond, and points across the window. A character the font lacks is measured by the
// system control as one box split between the halves of its pair, and drawn by Korvane's as
// GDI draws it, so the points of the surrogate text are not compared.
std::vector<Probe> PositionProbes(HWND edit, const std::wstring& text)
{
    const bool points = text != kSurrogateText;
    std::vector<Probe> probes{{WM_GETTEXTLENGTH, 0, 0}, {EM_GETLINECOUNT, 0, 0}, {EM_GETFIRSTVISIBLELINE, 0, 0}};
    const auto lines = static_cast<int>(Send(edit, EM_GETLINECOUNT));
    for (int line = -1; line <= lines + 1; ++line)
        probes.push_back({EM_LINEINDEX, static_cast<WPARAM>(line), 0});
    for (int pos = -1; pos <= static_cast<int>(text.size()) + 1; ++pos) {
        probes.push_back({EM_LINEFROMCHAR, static_cast<WPARAM>(pos), 0});
        probes.push_back({EM_LINELENGTH, static_cast<WPARAM>(pos), 0});
        if (points)
            probes.push_back({EM_POSFROMCHAR, static_cast<WPARAM>(pos), 0});
    }
    for (int y = -4; points && y < 120; y += 7) {
        for (int x = -4; x < 200; x += 5)
            probes.push_back({EM_CHARFROMPOS, 0, MAKELPARAM(x, y)});
    }
    return probes;
}

class Compatibility : public TextTest {};
}

TEST_F(Compatibility, LinesAndPositionsAreAnsweredAsTheSystemControlAnswers)
{
    for (const std::wstring text : kTexts) {
        SetBoth(text);
        for (const Probe& probe : PositionProbes(Theirs(), text)) {
            EXPECT_EQ(Send(Ours(), probe.message, probe.wParam, probe.lParam),
                      Send(Theirs(), probe.message, probe.wParam, probe.lParam))
                << Describe(text, probe);
        }
    }
}

TEST_F(Compatibility, TextAndLinesAreCopiedOutAsTheSystemControlCopiesThem)
{
    for (const std::wstring text : kTexts) {
        SetBoth(text);
        for (WPARAM size : {0, 1, 3, 8, 100}) {
            std::wstring ours(100, L'#'), theirs(100, L'#');
            EXPECT_EQ(Send(Ours(), WM_GETTEXT, size, reinterpret_cast<LPARAM>(ours.data())),
                      Send(Theirs(), WM_GETTEXT, size, reinterpret_cast<LPARAM>(theirs.data())));
            EXPECT_EQ(ours, theirs) << Narrow(text) << " WM_GETTEXT " << size;
            for (WPARAM line = 0; line < 5; ++line) {
                ours.assign(100, L'#');
                theirs.assign(100, L'#');
                ours[0] = theirs[0] = static_cast<wchar_t>(size);
                EXPECT_EQ(Send(Ours(), EM_GETLINE, line, reinterpret_cast<LPARAM>(ours.data())),
                          Send(Theirs(), EM_GETLINE, line, reinterpret_cast<LPARAM>(theirs.data())));
                EXPECT_EQ(ours, theirs) << Narrow(text) << " EM_GETLINE " << line << " size " << size;
            }
        }
        // A program of the system's code page asks in bytes.
        char ours[64] = "", theirs[64] = "";
        EXPECT_EQ(::SendMessageA(Ours(), WM_GETTEXT, sizeof ours, reinterpret_cast<LPARAM>(ours)),
                  ::SendMessageA(Theirs(), WM_GETTEXT, sizeof theirs, reinterpret_cast<LPARAM>(theirs)));
        EXPECT_STREQ(ours, theirs);
        EXPECT_EQ(::SendMessageA(Ours(), WM_GETTEXTLENGTH, 0, 0), ::SendMessageA(Theirs(), WM_GETTEXTLENGTH, 0, 0))
            << Narrow(text);
    }
}

TEST_F(Compatibility, TheSelectionIsSetAndReadAsTheSystemControlDoes)
{
    SetBoth(L"one\r\ntwo\r\nthree");
    const std::pair<int, int> selections[] = {{0, 0}, {2, 7}, {9, 1}, {0, -1}, {-1, 4}, {4, 100}, {100, 5}, {5, 5}};
    for (const auto& [start, end] : selections) {
        for (HWND wnd : {Ours(), Theirs()})
            Send(wnd, EM_SETSEL, static_cast<WPARAM>(start), end);
        EXPECT_EQ(SelectionOf(Ours()), SelectionOf(Theirs())) << start << ", " << end;
        EXPECT_EQ(Send(Ours(), EM_GETSEL), Send(Theirs(), EM_GETSEL)) << start << ", " << end;
        for (UINT message : {EM_LINEFROMCHAR, EM_LINEINDEX, EM_LINELENGTH})
            EXPECT_EQ(Send(Ours(), message, static_cast<WPARAM>(-1)), Send(Theirs(), message, static_cast<WPARAM>(-1)))
                << start << ", " << end << " message " << message;
    }
}

TEST_F(Compatibility, EditsChangeTheTextTheFlagsAndTellTheParentAsTheSystemControlDoes)
{
    struct Edit {
        const char* name;
        UINT message;
        WPARAM wParam;
        const wchar_t* text;
    };
    const Edit edits[] = {
        {"set text", WM_SETTEXT, 0, L"hello\r\nworld"},
        {"replace with undo", EM_REPLACESEL, TRUE, L"X"},
        {"replace without undo", EM_REPLACESEL, FALSE, L"Y"},
        {"type", WM_CHAR, L'z', nullptr},
        {"clear", WM_CLEAR, 0, nullptr},
        {"cut", WM_CUT, 0, nullptr},
        {"paste", WM_PASTE, 0, nullptr},
        {"copy", WM_COPY, 0, nullptr},
        {"read-only", EM_SETREADONLY, TRUE, nullptr},
        {"type while read-only", WM_CHAR, L'q', nullptr},
        {"replace while read-only", EM_REPLACESEL, TRUE, L"R"},
        {"writable", EM_SETREADONLY, FALSE, nullptr},
        {"limit", EM_LIMITTEXT, 15, nullptr},
        {"replace past the limit", EM_REPLACESEL, TRUE, L"ABCDEFG"},
        {"type at the limit", WM_CHAR, L'w', nullptr},
        {"no limit", EM_LIMITTEXT, 0, nullptr},
        {"forget undo", EM_EMPTYUNDOBUFFER, 0, nullptr},
        {"unmodified", EM_SETMODIFY, FALSE, nullptr},
    };
    for (HWND wnd : {Ours(), Theirs()})
        TakeNotifications(wnd);
    for (const Edit& edit : edits) {
        for (HWND wnd : {Ours(), Theirs()}) {
            Send(wnd, EM_SETSEL, 1, 3);
            Send(wnd, edit.message, edit.wParam, reinterpret_cast<LPARAM>(edit.text));
        }
        EXPECT_EQ(TextOf(Ours()), TextOf(Theirs())) << edit.name;
        for (UINT question : {EM_GETMODIFY, EM_CANUNDO, EM_GETLIMITTEXT, WM_GETTEXTLENGTH})
            EXPECT_EQ(Send(Ours(), question), Send(Theirs(), question)) << edit.name << " message " << question;
        EXPECT_EQ(::GetWindowLongW(Ours(), GWL_STYLE) & ES_READONLY, ::GetWindowLongW(Theirs(), GWL_STYLE) & ES_READONLY);
        // The system control sends some notifications twice; whether each came, and the order
        // of the first ones, is what the parent relies on.
        std::vector<WORD> ours = TakeNotifications(Ours()), theirs = TakeNotifications(Theirs());
        theirs.erase(std::unique(theirs.begin(), theirs.end()), theirs.end());
        ours.erase(std::unique(ours.begin(), ours.end()), ours.end());
        EXPECT_EQ(ours.empty(), theirs.empty()) << edit.name;
        if (!ours.empty() && !theirs.empty()) {
            EXPECT_EQ(ours.front(), theirs.front()) << edit.name;
        }
    }
}

TEST_F(Compatibility, ScrollingMovesTheTextAsInTheSystemControl)
{
    std::wstring text;
    for (int i = 0; i < 60; ++i)
        text += L"line " + std::to_wstring(i) + (i == 3 ? std::wstring(200, L'w') : L"") + L"\r\n";
    SetBoth(text);
    const Probe scrolls[] = {{EM_LINESCROLL, 0, 5},   {EM_LINESCROLL, 0, -2}, {EM_LINESCROLL, 0, 1000},
                             {EM_LINESCROLL, 0, -1000}, {EM_LINESCROLL, 4, 0}, {EM_LINESCROLL, static_cast<WPARAM>(-1), 1},
                             {WM_VSCROLL, SB_LINEDOWN, 0}, {WM_VSCROLL, SB_PAGEDOWN, 0}, {WM_VSCROLL, SB_BOTTOM, 0},
                             {WM_VSCROLL, SB_PAGEUP, 0}, {WM_VSCROLL, SB_TOP, 0}};
    for (const Probe& scroll : scrolls) {
        EXPECT_EQ(Send(Ours(), scroll.message, scroll.wParam, scroll.lParam),
                  Send(Theirs(), scroll.message, scroll.wParam, scroll.lParam));
        EXPECT_EQ(Send(Ours(), EM_GETFIRSTVISIBLELINE), Send(Theirs(), EM_GETFIRSTVISIBLELINE)) << Describe(L"", scroll);
        for (WPARAM pos : {0, 30, 60, 400})
            EXPECT_EQ(Send(Ours(), EM_POSFROMCHAR, pos), Send(Theirs(), EM_POSFROMCHAR, pos)) << Describe(L"", scroll) << " at " << pos;
    }
    // The caret brought into view from below and from above.
    for (WPARAM caret : {500, 20}) {
        for (HWND wnd : {Ours(), Theirs()}) {
            Send(wnd, EM_SETSEL, caret, caret);
            Send(wnd, EM_SCROLLCARET);
        }
        EXPECT_EQ(Send(Ours(), EM_GETFIRSTVISIBLELINE), Send(Theirs(), EM_GETFIRSTVISIBLELINE)) << caret;
    }
}

// The bar is drawn with the paint after a scroll, not at once: what shows follows the view.
TEST_F(Compatibility, TheScrollBarShowsWhereTheViewIsOnceItIsPainted)
{
    std::wstring text;
    for (int i = 0; i < 600; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    SetBoth(text);
    ::ShowWindow(::GetParent(Ours()), SW_SHOWNOACTIVATE);
    auto painted = [this] {
        ::UpdateWindow(Ours());
        RECT window{};
        ::GetWindowRect(Ours(), &window);
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        ::GetScrollBarInfo(Ours(), OBJID_VSCROLL, &bar);
        const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2 - window.left;
        HDC dc = ::GetWindowDC(Ours());
        std::vector<COLORREF> column;
        for (int y = bar.rcScrollBar.top - window.top; y < bar.rcScrollBar.bottom - window.top; ++y)
            column.push_back(::GetPixel(dc, x, y));
        ::ReleaseDC(Ours(), dc);
        return column;
    };
    const std::vector<COLORREF> atTop = painted();
    Send(Ours(), EM_LINESCROLL, 0, 300);
    EXPECT_NE(painted(), atTop);
    Send(Ours(), EM_LINESCROLL, 0, -300);
    EXPECT_EQ(painted(), atTop);
}
