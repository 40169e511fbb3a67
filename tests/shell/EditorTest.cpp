// The editor a programmer expects: line numbers beside the text that follow every scroll and
// change, Enter that keeps the indentation, the caret's line and column in the status bar,
// Go to line and Select all.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/CStatusBar.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <commctrl.h>

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

std::wstring NumberedLines(int count, int longLine = 0)
{
    std::wstring text;
    for (int i = 1; i <= count; ++i) {
        text += L"line " + std::to_wstring(i);
        if (i == longLine)
            text += std::wstring(600, L'w') + L" " + std::wstring(600, L'x');
        if (i < count)
            text += L"\r\n";
    }
    return text;
}

// Whether any pixel of the row band [top, top + height) inside the strip differs from face.
bool HasInk(const DibSurface& surface, int width, int top, int height, COLORREF face)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (surface.Pixel(x, y) != face)
                return true;
        }
    }
    return false;
}
}

TEST_F(Editor, LineNumbersNumberEachSourceLineOnceOnItsFirstRow)
{
    ASSERT_TRUE(Start());
    SetText(NumberedLines(150, 2));
    const CLineNumberGutter& gutter = View().Gutter();
    const std::vector<CLineNumberGutter::Number> numbers = gutter.VisibleNumbers();
    ASSERT_GE(numbers.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(numbers[i].nLine, i + 1);
        const LRESULT start = View().Lines().StartOf(i);
        EXPECT_EQ(numbers[i].y, static_cast<short>(HIWORD(::SendMessageW(EditWnd(), EM_POSFROMCHAR, start, 0))));
    }
    const int rowHeight = numbers[0].y < numbers[1].y ? numbers[1].y - numbers[0].y : 0;
    ASSERT_GT(rowHeight, 0);
    EXPECT_GE(numbers[2].y - numbers[1].y, 3 * rowHeight) << "the wrapped line's further rows have no number";

    // The strip holds three digits and sits between the border and the text.
    const int margin = LOWORD(::SendMessageW(EditWnd(), EM_GETMARGINS, 0, 0));
    EXPECT_GT(gutter.Width(), 0);
    EXPECT_GE(margin, gutter.Width());
    RECT client{};
    ::GetClientRect(EditWnd(), &client);
    DibSurface surface(client.right, client.bottom);
    ::SendMessageW(EditWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(surface.Pixel(0, numbers[0].y), face);
    EXPECT_TRUE(HasInk(surface, gutter.Width(), numbers[0].y, rowHeight, face)) << "number 1";
    EXPECT_FALSE(HasInk(surface, gutter.Width(), numbers[1].y + rowHeight, rowHeight, face)) << "a continued row";

    // Wide enough for the largest number, and no wider.
    SetText(NumberedLines(99));
    const int twoDigits = gutter.Width();
    SetText(NumberedLines(100));
    EXPECT_GT(gutter.Width(), twoDigits);

    // View > Line numbers hides the strip and gives its room back to the text.
    Command(ID_VIEW_LINE_NUMBERS);
    EXPECT_EQ(gutter.Width(), 0);
    EXPECT_LT(LOWORD(::SendMessageW(EditWnd(), EM_GETMARGINS, 0, 0)), margin);
    EXPECT_FALSE(PopupEntries(2).back().checked);
    Command(ID_VIEW_LINE_NUMBERS);
    EXPECT_TRUE(PopupEntries(2).back().checked);
    EXPECT_EQ(LOWORD(::SendMessageW(EditWnd(), EM_GETMARGINS, 0, 0)), margin);

    // A new text finds the strip already as wide as it needs: the control lays a megabyte out
    // once, not again for a new margin once it holds the text.
    std::vector<int> lengthsAtNewMargin;
    const SUBCLASSPROC record = [](HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
        if (message == EM_SETMARGINS)
            reinterpret_cast<std::vector<int>*>(data)->push_back(::GetWindowTextLengthW(wnd));
        return ::DefSubclassProc(wnd, message, wParam, lParam);
    };
    const int oldLength = ::GetWindowTextLengthW(EditWnd());
    ::SetWindowSubclass(EditWnd(), record, 1, reinterpret_cast<DWORD_PTR>(&lengthsAtNewMargin));
    SetText(NumberedLines(1000));
    ::RemoveWindowSubclass(EditWnd(), record, 1);
    EXPECT_EQ(lengthsAtNewMargin, std::vector<int>{oldLength});
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
        const int before = View().Gutter().VisibleNumbers().front().nLine;
        ASSERT_FALSE(GutterInvalid()) << s.name;
        ::SendMessageW(edit, s.message, s.wParam, 0);
        EXPECT_TRUE(GutterInvalid()) << s.name;
        EXPECT_NE(View().Gutter().VisibleNumbers().front().nLine, before) << s.name;
    }

    // A line added at the top renumbers every row below it.
    PumpMessages();
    ::SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    PumpMessages();
    Select(0, 0);
    Type("\r");
    EXPECT_TRUE(GutterInvalid() || View().Gutter().VisibleNumbers().size() > 1);
    EXPECT_EQ(View().Lines().Count(), 401);

    // A click on a number selects its line with the line break.
    const CLineNumberGutter::Number third = View().Gutter().VisibleNumbers().at(2);
    ::SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, third.y + 1));
    ::SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(1, third.y + 1));
    EXPECT_EQ(Selection(), std::make_pair(static_cast<DWORD>(View().Lines().StartOf(2)),
                                          static_cast<DWORD>(View().Lines().StartOf(3))));
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
    // A wrapped line is still one line.
    Select(409, 409);
    EXPECT_EQ(LineColumnPane(), "行 3，列 401");
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
    const auto start = static_cast<DWORD>(View().Lines().StartOf(149));
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
