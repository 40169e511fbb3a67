// From the tools' messages in the output panel to their source lines, in the real frame: a
// double-click on a message line, F4 and Shift+F4 through all of them, the names the tools
// give the source (upper case, 8.3, with a folder), an INCLUDE file opened in a tab on the way, a
// module of a program of several opened from its own folder, and the count of errors and
// warnings after a real compile.
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "frame/OutputWindow.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"
#include "framework/docking/CStatusBar.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"
#include "text/TextControl.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>

namespace {
std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text + "end";
}

std::string ShortNameOf(const std::string& path)
{
    wchar_t shortPath[MAX_PATH * 4] = L"";
    ::GetShortPathNameW(Widen(path).c_str(), shortPath, MAX_PATH * 4);
    const std::string shortForm = Narrow(shortPath);
    return shortForm.substr(shortForm.rfind('\\') + 1);
}
}

class MessageNavigation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_session.Started());
        WriteFileBytes(m_dir.File("io.inc"), NumberedLines(5));
        WriteFileBytes(m_dir.File("hello.asm"), NumberedLines(20));
        WriteFileBytes(m_dir.File("longsourcename.asm"), NumberedLines(30));
        Open("hello.asm");
    }
    void Open(const std::string& name) { ASSERT_NE(AfxGetApp()->OpenDocumentFile(m_dir.File(name)), nullptr); }
    CMainFrame& Frame() const { return m_session.Frame(); }
    COutputWindow& Output() const { return dynamic_cast<COutputWindow&>(OutputWindow(Frame())); }
    HWND Editor() const { return m_session.Editor().GetSafeHwnd(); }
    std::string Status() const { return StatusBar(Frame()).GetPaneText(0); }
    // The status line after a message is chosen: the message, then what it means.
    std::string StatusMessage() const { return Status().substr(0, Status().find("  —  ")); }
    // Compiles the open file with a tool that prints these lines.
    void Show(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        WriteFileBytes(m_dir.File("tool.out"), text);
        Frame().SetCompilerSettings(CompilerSettings{
            CompilerType::Masm, Quoted(HelperPath("pipe_child.exe")) + " cat " + Quoted(m_dir.File("tool.out")), "", ""});
        m_session.Command(ID_COMPILE);
        ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    }
    static std::pair<DWORD, DWORD> SelectionOf(HWND wnd)
    {
        DWORD start = 0, end = 0;
        ::SendMessageW(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // The editor's selection as the line it covers, or -1 when it is not exactly one line.
    int SelectedLine() const
    {
        const CTextBuffer& text = m_session.Editor().Control().Buffer();
        const auto [start, end] = SelectionOf(Editor());
        const size_t line = text.LineFromPosition(start);
        return text.LineStart(line) == start && text.LineEnd(line) == end ? static_cast<int>(line) + 1 : -1;
    }
    std::wstring SelectedOutput() const
    {
        const auto [start, end] = SelectionOf(Output().GetSafeHwnd());
        return Output().GetText().substr(start, end - start);
    }
    // A double-click on the first line of the panel that begins with the text, as the mouse gives it.
    void DoubleClick(const std::string& text)
    {
        HWND wnd = Output().GetSafeHwnd();
        const std::wstring output = Output().GetText();
        const size_t found = output.find(L"\r\n" + Widen(text));
        ASSERT_NE(found, std::wstring::npos) << text;
        const LRESULT start = static_cast<LRESULT>(found + 2);
        ::SendMessageW(wnd, EM_SETSEL, start, start);
        ::SendMessageW(wnd, EM_SCROLLCARET, 0, 0);
        const LRESULT at = ::SendMessageW(wnd, EM_POSFROMCHAR, static_cast<WPARAM>(start + 2), 0);
        const LPARAM point = MAKELPARAM(LOWORD(at) + 1, HIWORD(at) + 2);
        ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::SendMessageW(wnd, WM_LBUTTONUP, 0, point);
        ::SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        ::SendMessageW(wnd, WM_LBUTTONUP, 0, point);
        PumpMessages();
    }
    void F4(BYTE modifiers = 0) { PressAccelerator(Editor(), VK_F4, modifiers); }
    // The output panel's line that begins with the text, as its number.
    size_t OutputLine(const std::string& text) const
    {
        const std::wstring output = Output().GetText();
        const size_t found = output.find(L"\r\n" + Widen(text));
        return found == std::wstring::npos ? 0 : static_cast<size_t>(::SendMessageW(Output().GetSafeHwnd(), EM_LINEFROMCHAR, found + 2, 0));
    }
    // The colours of the pixels of an output line, as the panel paints itself for a snapshot.
    std::vector<COLORREF> LinePixels(size_t line) const
    {
        HWND wnd = Output().GetSafeHwnd();
        RECT client{};
        ::GetClientRect(wnd, &client);
        DibSurface surface(client.right, client.bottom);
        ::SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
        const LRESULT start = ::SendMessageW(wnd, EM_LINEINDEX, line, 0);
        const LRESULT at = ::SendMessageW(wnd, EM_POSFROMCHAR, static_cast<WPARAM>(start), 0);
        const int top = static_cast<short>(HIWORD(at));
        const int height = CTextControl::FromHandle(wnd)->Metrics().LineHeight();
        std::vector<COLORREF> pixels;
        for (int y = std::max(0, top); y < std::min<int>(client.bottom, top + height); ++y) {
            for (int x = 0; x < client.right; ++x)
                pixels.push_back(surface.Pixel(x, y));
        }
        return pixels;
    }

    KorvaneSession m_session;
    ScratchDir m_dir{"messages"};
    MessageBoxRecorder m_boxes;
};

TEST_F(MessageNavigation, ADoubleClickSelectsTheSourceLineTheMessageNames)
{
    const std::string message = "HELLO.ASM(3): error A2009: Symbol not defined: FOO";
    Show({"Microsoft (R) Macro Assembler Version 5.10", "  " + message, "  1 Severe  Errors"});
    ::SetFocus(Output().GetSafeHwnd());
    DoubleClick("  " + message);
    EXPECT_EQ(SelectedLine(), 3);
    EXPECT_EQ(::GetFocus(), Editor());
    // What the message means, in a few words after it and whole in the 说明 pane.
    EXPECT_NE(Status().find("  —  "), std::string::npos) << Status();
    const HWND pane = FindDescendant(Frame().GetSafeHwnd(), IDC_EXPLANATION);
    ASSERT_TRUE(pane);
    EXPECT_TRUE(::IsWindowVisible(pane));
    EXPECT_EQ(WindowTextOf(pane).rfind(message, 0), 0u) << WindowTextOf(pane);
    EXPECT_GT(WindowTextOf(pane).size(), message.size() + 20);
    EXPECT_EQ(SelectedOutput(), Widen("  " + message));
    EXPECT_EQ(StatusMessage(), message);

    // A line that is no message changes nothing.
    DoubleClick("  1 Severe");
    EXPECT_EQ(SelectedLine(), 3);
    EXPECT_EQ(StatusMessage(), message);
}

TEST_F(MessageNavigation, TheSourceGoesByEveryNameTheToolsGiveIt)
{
    Open("longsourcename.asm");
    const std::string shortName = ShortNameOf(m_dir.File("longsourcename.asm"));
    ASSERT_NE(shortName, "longsourcename.asm");
    std::string upperPath = m_dir.File("LONGSOURCENAME.ASM");
    Show({shortName + "(7): error A2009: x", upperPath + "(8) : error A2006: y", "..\\" + SplitPath(m_dir.Path()).name + "\\longsourcename.asm:9:5: warning: z",
          "Warning, line 12, syntax error near \"mvo \".",
          "longsourcename.asm(999): error A2009: past the end", "LINK : error L2029: 'FOO' : unresolved external",
          "Error A2106: Cannot open file: \"nothere.inc\" [ENOENT]", "nothere.asm(3): error A2009: no such file"});
    m_session.Type("x");
    const std::string title = WindowTextOf(Frame().GetSafeHwnd());
    // as31 names no file: its line is one of the file it was given.
    const int expected[] = {7, 8, 9, 12, 31};
    for (int line : expected) {
        F4();
        EXPECT_EQ(SelectedLine(), line);
    }
    EXPECT_TRUE(m_boxes.Texts().empty()) << "the open file is not opened again";
    EXPECT_EQ(WindowTextOf(Frame().GetSafeHwnd()), title);

    // Messages that lead nowhere still show, and leave the editor where it was.
    F4();
    EXPECT_EQ(StatusMessage(), "LINK : error L2029: 'FOO' : unresolved external");
    EXPECT_EQ(SelectedLine(), 31);
    F4();
    EXPECT_EQ(StatusMessage(), "Error A2106: Cannot open file: \"nothere.inc\" [ENOENT]");
    F4();
    EXPECT_EQ(StatusMessage(), "nothere.asm(3): error A2009: no such file");
    EXPECT_EQ(SelectedLine(), 31);
    F4();
    EXPECT_EQ(Status(), "没有更多消息。");
    F4(kShift);
    EXPECT_EQ(StatusMessage(), "Error A2106: Cannot open file: \"nothere.inc\" [ENOENT]");
}

TEST_F(MessageNavigation, AMessageAboutAnIncludeFileOpensItInATabOfItsOwn)
{
    Show({"HELLO.ASM(2): error A2009: x", "IO.INC(4): warning A4001: y", "HELLO.ASM(5): error A2009: z"});
    m_session.Type("x");
    DoubleClick("IO.INC");
    EXPECT_TRUE(m_boxes.Texts().empty()) << "the modified program stays in its tab, unasked";
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("io.inc"));
    EXPECT_EQ(SelectedLine(), 4);

    // The walk goes on from the message chosen last, and back to the source's tab, edit and all.
    F4();
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("hello.asm"));
    EXPECT_TRUE(m_session.Document().IsModified());
    EXPECT_EQ(SelectedLine(), 5);
    F4(kShift);
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("io.inc"));
    EXPECT_EQ(SelectedLine(), 4);
    EXPECT_EQ(AfxGetApp()->GetDocTemplate()->Documents().size(), 2u);
}

TEST_F(MessageNavigation, ABuildCountsItsMessagesAndF4StartsAtTheTopOfEachStep)
{
    Show({"HELLO.ASM(2): error A2009: old"});
    F4();
    const std::string echo = Quoted(HelperPath("pipe_child.exe")) + " echo ";
    Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, echo + "HELLO.ASM(6): warning A4001: w",
                                                 echo + "LINK : error L2029: 'FOO' : unresolved external", ""});
    m_session.Command(ID_BUILD);
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    EXPECT_EQ(Status(), "1 个错误，1 个警告");
    F4();
    EXPECT_EQ(SelectedLine(), 6);
    F4();
    EXPECT_EQ(Status().rfind("LINK : error L2029: 'FOO' : unresolved external", 0), 0u) << Status();
}

namespace {
bool Any(const std::vector<COLORREF>& pixels, const std::function<bool(int r, int g, int b)>& test)
{
    return std::any_of(pixels.begin(), pixels.end(),
                       [&](COLORREF c) { return test(GetRValue(c), GetGValue(c), GetBValue(c)); });
}

bool Red(int r, int g, int b)
{
    return r > g + 80 && r > b + 80;
}

bool Amber(int r, int g, int b)
{
    return r > b + 60 && g > b + 40 && r >= g;
}
}

// Errors red, warnings amber, a failed step's end line red, a succeeded one's grey, and the
// message chosen last on a background of its own.
TEST_F(MessageNavigation, TheOutputColoursItsLinesByWhatTheyAre)
{
    Show({"plain line", "HELLO.ASM(3): error A2009: x", "HELLO.ASM(4): warning A4001: y"});
    const std::vector<COLORREF> plain = LinePixels(OutputLine("plain line"));
    const std::vector<COLORREF> error = LinePixels(OutputLine("HELLO.ASM(3)"));
    const std::vector<COLORREF> warning = LinePixels(OutputLine("HELLO.ASM(4)"));
    const std::vector<COLORREF> ended = LinePixels(OutputLine("编译结束"));
    EXPECT_FALSE(Any(plain, Red) || Any(plain, Amber));
    EXPECT_TRUE(Any(error, Red));
    EXPECT_TRUE(Any(warning, Amber));
    EXPECT_FALSE(Any(warning, Red));
    EXPECT_FALSE(Any(ended, Red)) << "exit code 0";

    // The line's own ground, right of the gutter's "?".
    const COLORREF background = error.back();
    F4();
    EXPECT_NE(LinePixels(OutputLine("HELLO.ASM(3)")).back(), background) << "the chosen message stands out";
    F4();
    EXPECT_EQ(LinePixels(OutputLine("HELLO.ASM(3)")).back(), background) << "and only the chosen one";
}

// Marks beside the editor's lines that have messages: they move with their lines, show the
// message as a tip, go to it when clicked, and go when the next step starts.
TEST_F(MessageNavigation, MarksInTheEditorFollowTheirLinesAndLeadToTheirMessages)
{
    Show({"HELLO.ASM(3): error A2009: x", "IO.INC(2): warning A4001: elsewhere", "HELLO.ASM(5): warning A4001: y"});
    CTextControl& editor = *CTextControl::FromHandle(Editor());
    auto markLines = [&] {
        std::vector<std::pair<size_t, MarkKind>> lines;
        for (const LineMark& mark : editor.Marks())
            lines.emplace_back(mark.nLine, mark.kind);
        return lines;
    };
    EXPECT_EQ(markLines(), (std::vector<std::pair<size_t, MarkKind>>{{2, MarkKind::Error}, {4, MarkKind::Warning}}));

    // A line put in above the first moves both; one put in between moves the second alone.
    ::SendMessageW(Editor(), EM_SETSEL, 0, 0);
    m_session.Type("\r");
    const LRESULT line4 = ::SendMessageW(Editor(), EM_LINEINDEX, 4, 0);
    ::SendMessageW(Editor(), EM_SETSEL, line4, line4);
    m_session.Type("\r");
    EXPECT_EQ(markLines(), (std::vector<std::pair<size_t, MarkKind>>{{3, MarkKind::Error}, {6, MarkKind::Warning}}));

    // Hovering the first shows its message; a click on it goes there.
    ::SendMessageW(Editor(), EM_LINESCROLL, 0, -100);
    const LRESULT at = ::SendMessageW(Editor(), EM_POSFROMCHAR, ::SendMessageW(Editor(), EM_LINEINDEX, 3, 0), 0);
    const LPARAM point = MAKELPARAM(2, static_cast<short>(HIWORD(at)) + 2);
    ::SendMessageW(Editor(), WM_MOUSEMOVE, 0, point);
    ASSERT_NE(editor.Tooltip(), nullptr);
    wchar_t tip[128] = L"";
    TTTOOLINFOW tool{sizeof tool, 0, Editor(), 1, {}, nullptr, tip, 0, nullptr};
    ::SendMessageW(editor.Tooltip(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Narrow(tip), "HELLO.ASM(3): error A2009: x");
    ::SendMessageW(Editor(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(Editor(), WM_LBUTTONUP, 0, point);
    EXPECT_EQ(SelectedLine(), 4) << "where the line the tool knew as line 3 has moved";
    EXPECT_EQ(StatusMessage(), "HELLO.ASM(3): error A2009: x");

    Show({"no messages"});
    EXPECT_TRUE(editor.Marks().empty());
}

// A "?" beside each message the 说明 pane explains, its explanation whole in the tip; a click
// on it chooses the message as a double-click would.
TEST_F(MessageNavigation, TheOutputMarksEachExplainedMessage)
{
    const std::string message = "HELLO.ASM(3): error A2009: Symbol not defined: FOO";
    Show({"Microsoft (R) Macro Assembler Version 5.10", message, "  1 Severe  Errors", "HELLO.ASM(5): warning A4001: y"});
    CTextControl& output = *CTextControl::FromHandle(Output().GetSafeHwnd());
    std::vector<std::pair<size_t, MarkKind>> marks;
    for (const LineMark& mark : output.Marks())
        marks.emplace_back(mark.nLine, mark.kind);
    EXPECT_EQ(marks, (std::vector<std::pair<size_t, MarkKind>>{{OutputLine(message), MarkKind::Explained},
                                                               {OutputLine("HELLO.ASM(5)"), MarkKind::Explained}}));

    const HWND wnd = Output().GetSafeHwnd();
    ::SendMessageW(wnd, EM_LINESCROLL, 0, -100);
    const LRESULT at = ::SendMessageW(wnd, EM_POSFROMCHAR, ::SendMessageW(wnd, EM_LINEINDEX, OutputLine(message), 0), 0);
    const LPARAM point = MAKELPARAM(2, static_cast<short>(HIWORD(at)) + 2);
    ::SendMessageW(wnd, WM_MOUSEMOVE, 0, point);
    ASSERT_NE(output.Tooltip(), nullptr);
    wchar_t tip[2048] = L"";
    TTTOOLINFOW tool{sizeof tool, 0, wnd, 1, {}, nullptr, tip, 0, nullptr};
    ::SendMessageW(output.Tooltip(), TTM_GETTEXTW, 2048, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Narrow(tip).rfind(message, 0), 0u) << Narrow(tip);
    EXPECT_GT(Narrow(tip).size(), message.size() + 20);
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(SelectedLine(), 3);
    EXPECT_EQ(StatusMessage(), message);
    EXPECT_EQ(WindowTextOf(FindDescendant(Frame().GetSafeHwnd(), IDC_EXPLANATION)), Narrow(tip));

    Show({"no messages"});
    EXPECT_TRUE(output.Marks().empty());
}

TEST_F(MessageNavigation, TheOutputsMenuCopiesSelectsAllAndClears)
{
    Show({"HELLO.ASM(3): error A2009: x"});
    auto choose = [&](wchar_t key) {
        WhenWindowShows("#32768", [key](HWND menu) { ::PostMessageW(menu, WM_CHAR, key, 0); });
        ::SendMessageW(Output().GetSafeHwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Output().GetSafeHwnd()),
                       MAKELPARAM(-1, -1));
        PumpMessages();
    };
    choose(L'a');
    const std::wstring all = Output().GetText();
    EXPECT_EQ(SelectionOf(Output().GetSafeHwnd()), std::make_pair(DWORD{0}, static_cast<DWORD>(all.size())));
    choose(L'c');
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const auto* copied = static_cast<const wchar_t*>(::GlobalLock(::GetClipboardData(CF_UNICODETEXT)));
    EXPECT_EQ(std::wstring(copied ? copied : L""), all);
    ::CloseClipboard();

    choose(L'l');
    EXPECT_EQ(Output().GetText(), L"");
    F4();
    EXPECT_EQ(Status(), "没有更多消息。") << "the messages went with the text";
}

// F1 on a word of the program describes it in the 说明 pane: an 8086 instruction, a directive,
// the DOS function an INT 21H calls with the MOV AH before it, and for an 8051 source the
// 8051's instruction of that name.
TEST_F(MessageNavigation, F1DescribesTheWordAtTheCaret)
{
    WriteFileBytes(m_dir.File("words.asm"), "CSEG SEGMENT\r\n\tXLAT\r\n\tMOV AH, 9\r\n\tINT 21H\r\n\tLOOPNZ X\r\n");
    WriteFileBytes(m_dir.File("words.a51"), "\tDJNZ R7, X\r\n\tMOVC A, @A+DPTR\r\n");
    const struct {
        const char* file;
        size_t line, column;
        const char* paneStart;
    } kWords[] = {
        {"words.asm", 1, 2, "XLAT"},
        {"words.asm", 0, 6, "SEGMENT"},
        {"words.asm", 3, 2, "INT 21H AH=09H"},
        {"words.asm", 4, 7, "LOOPNZ"},
        {"words.a51", 0, 2, "DJNZ"},
        {"words.a51", 1, 2, "MOVC"},
    };
    for (const auto& word : kWords) {
        SCOPED_TRACE(std::string(word.file) + " line " + std::to_string(word.line));
        Open(word.file);
        CTextControl& control = m_session.Editor().Control();
        const size_t at = control.Buffer().LineStart(word.line) + word.column;
        control.Select(at, at);
        PressAccelerator(Editor(), VK_F1);
        const HWND pane = FindDescendant(Frame().GetSafeHwnd(), IDC_EXPLANATION);
        ASSERT_TRUE(pane);
        EXPECT_EQ(WindowTextOf(pane).rfind(word.paneStart, 0), 0u) << WindowTextOf(pane);
        EXPECT_EQ(Status().rfind(word.paneStart, 0), 0u) << Status();
    }
}

TEST_F(MessageNavigation, AMessageOfAModulesCompileOpensThatModuleFromItsOwnFolder)
{
    // The compiler prints the module it is given, whose first line is a message about it.
    MakeFolder(m_dir.File("lib"));
    WriteFileBytes(m_dir.File("main.asm"), "MAIN.ASM(2): warning A4001: x\r\n" + NumberedLines(3));
    WriteFileBytes(m_dir.File("lib\\calc.asm"), "CALC.ASM(3): error A2009: y\r\n" + NumberedLines(3));
    WriteFileBytes(m_dir.File("main.kvp"), "main.asm\r\nlib\\calc.asm\r\n");
    Open("main.asm");
    CompilerSettings settings{CompilerType::Masm, Quoted(HelperPath("pipe_child.exe")) + " cat", "", ""};
    settings.m_strCompilerArgs = "{file}";
    Frame().SetCompilerSettings(settings);
    m_session.Command(ID_COMPILE);
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    F4();
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("main.asm"));
    EXPECT_EQ(SelectedLine(), 2);
    F4();
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("lib\\calc.asm"));
    EXPECT_EQ(SelectedLine(), 3);
}
