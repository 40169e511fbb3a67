// From the tools' messages in the output panel to their source lines, in the real frame: a
// double-click on a message line, F4 and Shift+F4 through all of them, the names the tools
// give the source (upper case, 8.3, with a folder), an INCLUDE file opened on the way, and
// the count of errors and warnings after a real compile.
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "frame/OutputWindow.h"
#include "framework/CStatusBar.h"
#include "framework/CWinApp.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(SelectedOutput(), Widen("  " + message));
    EXPECT_EQ(Status(), message);

    // A line that is no message changes nothing.
    DoubleClick("  1 Severe");
    EXPECT_EQ(SelectedLine(), 3);
    EXPECT_EQ(Status(), message);
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
    EXPECT_EQ(Status(), "LINK : error L2029: 'FOO' : unresolved external");
    EXPECT_EQ(SelectedLine(), 31);
    F4();
    EXPECT_EQ(Status(), "Error A2106: Cannot open file: \"nothere.inc\" [ENOENT]");
    F4();
    EXPECT_EQ(Status(), "nothere.asm(3): error A2009: no such file");
    EXPECT_EQ(SelectedLine(), 31);
    F4();
    EXPECT_EQ(Status(), "没有更多消息。");
    F4(kShift);
    EXPECT_EQ(Status(), "Error A2106: Cannot open file: \"nothere.inc\" [ENOENT]");
}

TEST_F(MessageNavigation, AMessageAboutAnIncludeFileOpensItAsFileOpenWould)
{
    Show({"HELLO.ASM(2): error A2009: x", "IO.INC(4): warning A4001: y", "HELLO.ASM(5): error A2009: z"});
    m_session.Type("x");
    m_boxes.QueueAnswer(IDCANCEL);
    DoubleClick("IO.INC");
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], "将改动保存到 " + m_dir.File("hello.asm") + "？");
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("hello.asm")) << "cancelled";

    m_boxes.QueueAnswer(IDNO);
    DoubleClick("IO.INC");
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("io.inc"));
    EXPECT_EQ(SelectedLine(), 4);

    // The walk goes on from the message chosen last, and back to the source.
    F4();
    EXPECT_EQ(m_session.Document().GetSourcePath(), m_dir.File("hello.asm"));
    EXPECT_EQ(SelectedLine(), 5);
    F4(kShift);
    EXPECT_EQ(SelectedLine(), 4);
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
