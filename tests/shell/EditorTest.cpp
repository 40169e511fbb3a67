// The editor a programmer expects: line numbers beside the text that follow every scroll and
// change, Enter that keeps the indentation, the caret's line and column in the status bar,
// Go to line and Select all, the syntax colours of the chosen toolchain, overwrite and redo.
#include "ShellFixture.h"

#include "build/CompilerSettings.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "framework/docking/CStatusBar.h"
#include "resource.h"

#include <algorithm>
#include <vector>

namespace {
class Editor : public ShellTest {
protected:
    int FirstVisibleRow() const { return static_cast<int>(::SendMessageW(EditWnd(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
    // Whether the strip of the line numbers is waiting to be painted again.
    bool GutterInvalid() const
    {
        RECT update{};
        return ::GetUpdateRect(EditWnd(), &update, FALSE) && update.left == 0 && update.right >= 1;
    }
    std::string LineColumnPane()
    {
        PumpMessages();
        return StatusBar(*Frame()).GetPaneText(1);
    }
};

std::wstring NumberedLines(int count)
{
    std::wstring text;
    for (int i = 1; i <= count; ++i) {
        text += L"line " + std::to_wstring(i);
        if (i < count)
            text += L"\r\n";
    }
    return text;
}

// Whether any pixel of the band [top, top + height) of the columns [left, right) differs from face.
bool HasInk(const DibSurface& surface, int left, int right, int top, int height, COLORREF face)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < right; ++x) {
            if (surface.Pixel(x, y) != face)
                return true;
        }
    }
    return false;
}

POINT PointOfChar(HWND edit, LRESULT pos)
{
    const LRESULT point = ::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(pos), 0);
    return POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
}

LRESULT LineIndex(HWND edit, int line)
{
    return ::SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
}

bool IsChecked(const std::vector<MenuEntry>& entries, UINT id)
{
    return std::find_if(entries.begin(), entries.end(), [id](const MenuEntry& e) { return e.id == id; })->checked;
}
}

TEST_F(Editor, LineNumbersStandBesideEachLineAndTheViewMenuHidesThem)
{
    ASSERT_TRUE(Start());
    SetText(NumberedLines(150));
    HWND edit = EditWnd();
    CTextControl& control = View().Control();
    const int width = control.GutterWidth();
    ASSERT_GT(width, 0);
    const POINT first = PointOfChar(edit, LineIndex(edit, 0));
    const POINT second = PointOfChar(edit, LineIndex(edit, 1));
    EXPECT_GE(first.x, width) << "the text starts right of the strip";
    const int rowHeight = second.y - first.y;
    ASSERT_GT(rowHeight, 0);

    RECT client{};
    ::GetClientRect(edit, &client);
    DibSurface surface(client.right, client.bottom);
    ::SendMessageW(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(surface.Pixel(0, first.y), face);
    EXPECT_TRUE(HasInk(surface, 0, width, first.y, rowHeight, face)) << "number 1";
    EXPECT_TRUE(HasInk(surface, 0, width, second.y, rowHeight, face)) << "number 2";

    // Wide enough for the largest number, and no wider.
    SetText(NumberedLines(99));
    const int twoDigits = control.GutterWidth();
    SetText(NumberedLines(100));
    EXPECT_GT(control.GutterWidth(), twoDigits);

    // View > Line numbers hides the strip and gives its room back to the text; the breakpoints'
    // column stays.
    Command(ID_VIEW_LINE_NUMBERS);
    EXPECT_EQ(control.GutterWidth(), control.Metrics().LineHeight());
    EXPECT_LT(PointOfChar(edit, 0).x, first.x);
    EXPECT_FALSE(IsChecked(PopupEntries(2), ID_VIEW_LINE_NUMBERS));
    Command(ID_VIEW_LINE_NUMBERS);
    EXPECT_TRUE(IsChecked(PopupEntries(2), ID_VIEW_LINE_NUMBERS));
    EXPECT_EQ(PointOfChar(edit, 0).x, first.x);
}

TEST_F(Editor, LineNumbersFollowEveryScrollAndEveryNewLine)
{
    ASSERT_TRUE(Start());
    SetText(NumberedLines(400));
    HWND edit = EditWnd();
    struct Scroll {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Scroll scrolls[] = {
        {"thumb dragged", WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 120)},
        {"page down", WM_VSCROLL, SB_PAGEDOWN},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
        {"caret moved", WM_KEYDOWN, VK_NEXT},
    };
    for (const Scroll& s : scrolls) {
        PumpMessages();
        const int before = FirstVisibleRow();
        ASSERT_FALSE(GutterInvalid()) << s.name;
        ::SendMessageW(edit, s.message, s.wParam, 0);
        EXPECT_TRUE(GutterInvalid()) << s.name;
        EXPECT_GT(FirstVisibleRow(), before) << s.name;
    }

    // A line added at the top renumbers every row below it.
    PumpMessages();
    ::SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    PumpMessages();
    Select(0, 0);
    TypeText(edit, "\r");
    EXPECT_TRUE(GutterInvalid());
    EXPECT_EQ(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 401);

    // A click on a number (right of the breakpoints' column) selects its line with the line break.
    const POINT third = PointOfChar(edit, LineIndex(edit, 2));
    const int number = View().Control().GutterWidth() - 2;
    ::SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(number, third.y + 1));
    ::SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(number, third.y + 1));
    EXPECT_EQ(Selection(), std::make_pair(static_cast<DWORD>(LineIndex(edit, 2)), static_cast<DWORD>(LineIndex(edit, 3))));
}

TEST_F(Editor, EnterKeepsTheIndentationBeforeTheCaret)
{
    ASSERT_TRUE(Start());
    SetText(L"\tmov ax, 1\r\n  \tx");
    Select(10, 10);
    Type("\rmov");
    EXPECT_EQ(EditorText(), "\tmov ax, 1\r\n\tmov\r\n  \tx");
    EXPECT_EQ(Title(), std::string("无标题 * - Korvane"));

    // Inside the indentation only what lies before the caret is repeated.
    Select(20, 20);
    Type("\r");
    EXPECT_EQ(EditorText(), "\tmov ax, 1\r\n\tmov\r\n  \r\n  \tx");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(EditorText(), "\tmov ax, 1\r\n\tmov\r\n  \tx");

    // A selection goes, and the line's indentation comes after the break.
    Select(3, 10);
    Type("\r");
    EXPECT_EQ(EditorText(), "\tmo\r\n\t\r\n\tmov\r\n  \tx");

    PressAccelerator(EditWnd(), 'A', kCtrl);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, static_cast<DWORD>(::GetWindowTextLengthW(EditWnd()))));
}

TEST_F(Editor, TheStatusBarShowsTheCaretsLineAndColumn)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(LineColumnPane(), "行 1，列 1");
    EXPECT_EQ(StatusBar(*Frame()).GetItemID(1), static_cast<UINT>(ID_INDICATOR_LINE_COLUMN));
    SetText(L"ab\r\n\u4E2D\u6587x\r\n" + std::wstring(500, L'w'));
    Select(6, 6);
    EXPECT_EQ(LineColumnPane(), "行 2，列 3") << "a Chinese character is one column";
    // Selecting backwards: the caret is at the selection's start.
    Select(6, 4);
    EXPECT_EQ(LineColumnPane(), "行 2，列 1");
    Select(4, 9);
    EXPECT_EQ(LineColumnPane(), "行 3，列 1");
    // Far to the right of a long line.
    Select(409, 409);
    EXPECT_EQ(LineColumnPane(), "行 3，列 401");
    // Lines that end in a lone LF, as files from other systems have them, are lines too.
    SetText(L"a\nb\r\nc");
    Select(5, 5);
    EXPECT_EQ(LineColumnPane(), "行 3，列 1");
}

TEST_F(Editor, GoToLineMovesTheCaretAndRefusesLinesThatAreNotThere)
{
    ASSERT_TRUE(Start());
    SetText(NumberedLines(200));
    std::string shownFirst;
    WhenDialogShows([&](HWND dialog) {
        shownFirst = WindowTextOf(::GetDlgItem(dialog, IDC_GOTO_LINE));
        ::SetDlgItemTextW(dialog, IDC_GOTO_LINE, L"150");
        ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    PressAccelerator(EditWnd(), 'G', kCtrl);
    EXPECT_EQ(shownFirst, "1");
    const auto start = static_cast<DWORD>(LineIndex(EditWnd(), 149));
    EXPECT_EQ(Selection(), std::make_pair(start, start));
    EXPECT_GT(FirstVisibleRow(), 100);

    std::string shownSecond;
    WhenDialogShows([&](HWND dialog) {
        shownSecond = WindowTextOf(::GetDlgItem(dialog, IDC_GOTO_LINE));
        ::SetDlgItemTextW(dialog, IDC_GOTO_LINE, L"201");
        ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(ID_GOTO_LINE);
    EXPECT_EQ(shownSecond, "150");
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], "“请填入一个在1和200之间的整数。”");
    EXPECT_EQ(Selection(), std::make_pair(start, start));
}

TEST_F(Editor, TheToolchainAndTheViewMenuChooseTheSyntaxColours)
{
    ASSERT_TRUE(Start());
    CTextControl& control = View().Control();
    const std::pair<CompilerType, SyntaxMode> toolchains[] = {
        {CompilerType::Mcs51, SyntaxMode::Mcs51}, {CompilerType::Masm, SyntaxMode::Masm},
        {CompilerType::Mcs51, SyntaxMode::Mcs51}, {CompilerType::Tasm, SyntaxMode::Masm}};
    for (const auto& [type, mode] : toolchains) {
        Frame()->SetCompilerSettings(CompilerSettings{type, "", "", ""});
        EXPECT_EQ(control.GetSyntaxMode(), mode) << static_cast<int>(type);
    }
    EXPECT_TRUE(IsChecked(PopupEntries(2), ID_VIEW_SYNTAX_COLORS));
    Command(ID_VIEW_SYNTAX_COLORS);
    EXPECT_FALSE(control.SyntaxColorsShown());
    EXPECT_FALSE(IsChecked(PopupEntries(2), ID_VIEW_SYNTAX_COLORS));
    Command(ID_VIEW_SYNTAX_COLORS);
    EXPECT_TRUE(control.SyntaxColorsShown());
}

TEST_F(Editor, InsertShowsOverwriteInTheStatusBarAndCtrlYRedoes)
{
    ASSERT_TRUE(Start());
    SetText(L"ab");
    const auto overwritePane = [this] {
        PumpMessages();
        return StatusBar(*Frame()).GetPaneText(3);
    };
    EXPECT_EQ(overwritePane(), "");
    ::SendMessageW(EditWnd(), WM_KEYDOWN, VK_INSERT, 1);
    EXPECT_EQ(overwritePane(), "改写");
    ::SendMessageW(EditWnd(), WM_KEYDOWN, VK_INSERT, 1);
    EXPECT_EQ(overwritePane(), "");

    Select(2, 2);
    Type("cd");
    PressAccelerator(EditWnd(), 'Z', kCtrl);
    EXPECT_EQ(EditorText(), "ab");
    EXPECT_FALSE(Doc()->IsModified()) << "undone to the text as it was loaded";
    EXPECT_TRUE(PressAccelerator(EditWnd(), 'Y', kCtrl));
    EXPECT_EQ(EditorText(), "abcd");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Title(), "无标题 * - Korvane");
}

TEST_F(Editor, TheContextMenuOffersTheEditCommandsAsTheEditMenuEnablesThem)
{
    ASSERT_TRUE(Start());
    SetText(L"mov ax, 1");
    Select(0, 0);
    std::vector<std::pair<std::string, bool>> shown;
    WhenWindowShows("#32768", [&](HWND menu) {
        HMENU popup = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            wchar_t text[64] = L"";
            ::GetMenuStringW(popup, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            if (*text)
                shown.emplace_back(Narrow(text), (::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0);
        }
        ::PostMessageW(menu, WM_CHAR, L'a', 0);
    });
    ::SendMessageW(EditWnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(EditWnd()), MAKELPARAM(-1, -1));
    const std::vector<std::pair<std::string, bool>> expected = {
        {"撤消(&U)", true}, {"重做(&R)", true}, {"剪切(&T)", true}, {"复制(&C)", true}, {"粘贴(&P)", !::IsClipboardFormatAvailable(CF_UNICODETEXT)}, {"全选(&A)", false},
        // Outside a session F9 runs and Ctrl+F10 is nothing: the entries show no key.
        {"切换断点", false}, {"运行到光标", true},
        // The line includes no file.
        {"打开包含的文件\tCtrl+单击", true}};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{9})) << "Select all was chosen by its key";
}
