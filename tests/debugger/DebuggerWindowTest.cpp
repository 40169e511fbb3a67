// The debugger in Korvane's window, driven as a user drives it: the keys, a click in the
// editor's gutter, the panes read back by their windows' ids. A MASM 5.10 program built by the
// real MASM and LINK through the window, and an 8051 program assembled by as31.
#include "DebuggerTestSupport.h"

#include "debugui/DebugController.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/PathName.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CControlBar.h"
#include "framework/docview/CSingleDocTemplate.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "debug/DebugResources.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"
#include "text/TextControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace mcs51;

using namespace dos;

using namespace DebuggerTest;

namespace {

std::string DosTool(const std::string& name)
{
    return std::string(KORVANE_DOS_TOOLS) + "\\" + name;
}

std::string Hex4(uint16_t value)
{
    char text[5];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

class DebuggerWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_korvane.Started()); }

    CMainFrame& Frame() const { return m_korvane.Frame(); }
    CDebugController& Debugger() const { return Frame().Debugger(); }
    CTextControl& Editor() const { return m_korvane.Editor().Control(); }

    void Open(const std::string& name) { ASSERT_NE(AfxGetApp()->OpenDocumentFile(Narrow(m_folder.File(name))), nullptr); }
    SourceLine Line(const std::string& text, const std::string& file) const { return LineOf(m_folder.File(file), file, text); }
    // The editor's line (from 0) of a text of the file open.
    size_t EditorLine(const std::string& text, const std::string& file) const
    {
        return static_cast<size_t>(Line(text, file).line - 1);
    }

    // A key pressed in the editor; then the program's run is waited for.
    void Press(UINT key, BYTE modifiers = 0) const
    {
        PressAccelerator(m_korvane.Editor().GetSafeHwnd(), key, modifiers);
        WaitForStill();
    }
    void WaitForStill() const
    {
        ASSERT_TRUE(WaitFor([&] {
            const DebugState state = Debugger().State();
            return state != DebugState::Running && state != DebugState::Building;
        }, 120000));
    }
    void ClickGutter(size_t line) const
    {
        Caret(line);
        const int y = Editor().Viewport().LineTop(line) + 2;
        ::SendMessageW(Editor().Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
        ::SendMessageW(Editor().Window(), WM_LBUTTONUP, 0, MAKELPARAM(2, y));
    }
    void Caret(size_t line) const { m_korvane.Editor().GoToLine(static_cast<int>(line)); }

    HWND Pane(UINT id) const { return FindDescendant(Frame().GetSafeHwnd(), id); }
    std::string PaneText(UINT id) const { return WindowTextOf(Pane(id)); }
    bool PaneShown(UINT id) const { return Pane(id) && ::IsWindowVisible(Pane(id)); }
    uint16_t Register(const std::string& name) const
    {
        const std::string text = PaneText(IDC_DEBUG_REGISTERS);
        const size_t at = text.find(name + "=");
        return at == std::string::npos ? 0xFFFF : static_cast<uint16_t>(std::stoul(text.substr(at + name.size() + 1, 4), nullptr, 16));
    }
    // A line typed into the command pane and run with Enter.
    void Command(const std::string& line) const
    {
        const HWND input = Pane(IDC_DEBUG_COMMAND);
        SetWindowTextOf(input, line);
        ::SendMessageW(input, WM_KEYDOWN, VK_RETURN, 0);
        WaitForStill();
    }
    std::string Status() const { return Frame().GetIdleMessage(); }

    KorvaneSession m_korvane;
    CScratchFolder m_folder;
};

class MasmInTheWindow : public DebuggerWindow {
protected:
    void SetUp() override
    {
        DebuggerWindow::SetUp();
        CopySources({"SUM.ASM", "PRINT.INC"}, m_folder.Path());
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, DosTool("MASM.EXE"), DosTool("LINK.EXE")});
        Open("SUM.ASM");
    }
    size_t SumLine(const std::string& text) const { return EditorLine(text, "SUM.ASM"); }
};

TEST_F(MasmInTheWindow, FromTheEntryThroughTheLoopAndAPrintingCallToTheEnd)
{
    Press(VK_F11);
    ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    EXPECT_EQ(Editor().CurrentLine(), SumLine("MOV     AX, DSEG"));
    for (const UINT pane : {IDC_DEBUG_REGISTERS, IDC_DEBUG_MEMORY, IDC_DEBUG_STACK, IDC_DEBUG_DISASSEMBLY,
                            IDC_DEBUG_SCREEN, IDC_DEBUG_COMMAND, IDC_DEBUG_COMMAND_OUTPUT, IDC_DEBUG_VARIABLES})
        EXPECT_TRUE(PaneShown(pane)) << pane;
    // In rows along the bottom: the registers beside the command line, the memory beside the
    // program's screen below them.
    auto top = [&](UINT bar) { return Frame().GetControlBar(bar)->GetWindowRect().top; };
    EXPECT_EQ(top(IDW_REGISTERS_BAR), top(IDW_COMMAND_BAR));
    EXPECT_EQ(top(IDW_MEMORY_BAR), top(IDW_SCREEN_BAR));
    EXPECT_GT(top(IDW_MEMORY_BAR), top(IDW_REGISTERS_BAR));

    Press(VK_F11);
    Press(VK_F11);
    EXPECT_EQ(Register("AX"), Register("DS"));
    EXPECT_EQ(Editor().CurrentLine(), SumLine("MOV     CX, 5"));
    // The caret follows the program, to the start of its line.
    EXPECT_EQ(Editor().Caret(), Editor().Buffer().LineStart(SumLine("MOV     CX, 5")));

    ClickGutter(SumLine("MOV     TOTAL, AX"));
    Press(VK_F5);
    EXPECT_EQ(Editor().CurrentLine(), SumLine("MOV     TOTAL, AX"));
    EXPECT_EQ(Editor().Caret(), Editor().Buffer().LineStart(SumLine("MOV     TOTAL, AX")));
    EXPECT_EQ(Register("AX"), 15);

    Caret(SumLine("CALL    PRINTS"));
    Press(VK_F10, kCtrl);
    EXPECT_EQ(Editor().CurrentLine(), SumLine("CALL    PRINTS"));
    EXPECT_FALSE(Contains(PaneText(IDC_DEBUG_SCREEN), "Hello"));
    Press(VK_F10);
    EXPECT_EQ(PaneText(IDC_DEBUG_SCREEN).substr(0, 15), "Hello, world!\r\n");
    Press(VK_F11, kCtrl);
    EXPECT_FALSE(Contains(PaneText(IDC_DEBUG_SCREEN), "Hello"));
    EXPECT_EQ(Editor().CurrentLine(), SumLine("CALL    PRINTS"));

    const std::string ds = Hex4(Register("DS"));
    const std::string data = ds + ":0000  48 65 6C 6C 6F 2C 20 77-6F 72 6C 64 21 0D 0A 24   Hello, world!..$\r\n";
    EXPECT_EQ(PaneText(IDC_DEBUG_MEMORY).substr(0, data.size()), data);
    Command("d ds:0");
    const std::string dump = "-d ds:0\r\n" + data + ds + ":0010  01 00 02 00 03 00 04 00-05 00 0F 00";
    EXPECT_EQ(PaneText(IDC_DEBUG_COMMAND_OUTPUT).substr(0, dump.size()), dump);
    Command("u cs:0");
    const std::string cs = Hex4(Register("CS"));
    const std::string code = "-u cs:0\r\n" + cs + ":0000 50            PUSH    AX\r\n" + cs + ":0001 B409          MOV     AH,09\r\n" +
                             cs + ":0003 CD21          INT     21\r\n";
    EXPECT_TRUE(Contains(PaneText(IDC_DEBUG_COMMAND_OUTPUT), code)) << PaneText(IDC_DEBUG_COMMAND_OUTPUT);

    Press(VK_F5);
    EXPECT_EQ(Debugger().State(), DebugState::Ended);
    EXPECT_EQ(Status(), FormatResString(IDS_DEBUG_ENDED, {"7"}));
    Press(VK_F5, kShift);
    EXPECT_EQ(Debugger().State(), DebugState::Idle);
    EXPECT_FALSE(PaneShown(IDC_DEBUG_REGISTERS));
    EXPECT_FALSE(Editor().CurrentLine().has_value());
}

}

// Stepping into a procedure of an INCLUDE file brings that file to the front in a tab of its
// own; a breakpoint set in its gutter stops the next run there, and the main file's tab takes
// the current line back once the procedure returns.
TEST_F(MasmInTheWindow, StepsIntoTheIncludedFilesTabAndStopsAtItsBreakpoint)
{
    Press(VK_F11);
    ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    CKorvaneView& main = m_korvane.Editor();
    Caret(SumLine("CALL    PRINTS"));
    Press(VK_F10, kCtrl);
    Press(VK_F11);
    CKorvaneView& included = m_korvane.Editor();
    ASSERT_NE(&included, &main);
    EXPECT_TRUE(EqualsIgnoringCase(SplitPath(included.SourcePath()).name, "PRINT.INC"));
    const size_t push = EditorLine("PUSH    AX", "PRINT.INC");
    EXPECT_EQ(Editor().CurrentLine(), push);
    EXPECT_FALSE(main.Control().CurrentLine().has_value());

    const size_t interrupt = EditorLine("INT     21H", "PRINT.INC");
    ClickGutter(interrupt);
    Press(VK_F5);
    EXPECT_EQ(&m_korvane.Editor(), &included);
    EXPECT_EQ(Editor().CurrentLine(), interrupt);
    Press(VK_F11, kShift);
    EXPECT_EQ(&m_korvane.Editor(), &main);
    EXPECT_EQ(Editor().CurrentLine(), SumLine("CALL    PRINTS") + 1);
    // The breakpoint lives with its file: the second call stops there again.
    Press(VK_F5);
    EXPECT_EQ(&m_korvane.Editor(), &included);
    EXPECT_EQ(Editor().CurrentLine(), interrupt);
}

// A program of two modules listed in MAIN.kvp, with an INCLUDE file: F11 on the main file builds
// both with the real tools and links them in one line; a breakpoint set in the second module's
// tab stops the program there, and a step into the included procedure opens its file's tab.
class ModulesInTheWindow : public DebuggerWindow {
protected:
    void SetUp() override
    {
        DebuggerWindow::SetUp();
        CopySources({"MAIN.ASM", "CALC.ASM", "MACROS.INC", "MAIN.kvp"}, m_folder.Path());
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, DosTool("MASM.EXE"), DosTool("LINK.EXE")});
        Open("MAIN.ASM");
    }
};

TEST_F(ModulesInTheWindow, F11BuildsBothModulesAndStopsInEachFilesTab)
{
    CKorvaneView& main = m_korvane.Editor();
    CKorvaneView* calc = Frame().OpenInTab(Narrow(m_folder.File("CALC.ASM")));
    ASSERT_NE(calc, nullptr);
    ClickGutter(EditorLine("MUL     FACTOR", "CALC.ASM"));
    AfxGetApp()->GetDocTemplate()->Activate(main.GetDocument());
    Press(VK_F11);
    ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    EXPECT_EQ(&m_korvane.Editor(), &main);
    EXPECT_EQ(Editor().CurrentLine(), EditorLine("START:  MOV     AX, DSEG", "MAIN.ASM"));
    Press(VK_F5);
    EXPECT_EQ(&m_korvane.Editor(), calc);
    EXPECT_EQ(Editor().CurrentLine(), EditorLine("MUL     FACTOR", "CALC.ASM"));
    EXPECT_EQ(Register("AX"), 21);
    Press(VK_F11, kShift);
    Press(VK_F11);
    EXPECT_TRUE(EqualsIgnoringCase(SplitPath(m_korvane.Editor().SourcePath()).name, "MACROS.INC"));
    EXPECT_EQ(Editor().CurrentLine(), EditorLine("MOV     BX, 10", "MACROS.INC"));
    Press(VK_F5);
    EXPECT_EQ(Debugger().State(), DebugState::Ended);
    EXPECT_EQ(PaneText(IDC_DEBUG_SCREEN).substr(0, 4), "63\r\n");
    EXPECT_EQ(AfxGetApp()->GetDocTemplate()->Documents().size(), 3u);
}

// The real MASM's error in the included file: F4 opens the file in a tab on the line it names,
// the main file's tab staying as it was.
TEST_F(ModulesInTheWindow, F4OnTheRealAssemblersErrorInTheIncludedFileOpensItOnThatLine)
{
    std::string macros = ReadFileBytes(Narrow(m_folder.File("MACROS.INC")));
    const size_t lines = static_cast<size_t>(std::count(macros.begin(), macros.end(), '\n'));
    WriteFileBytes(Narrow(m_folder.File("MACROS.INC")), macros + "        MOV     AX, NOSUCH\r\n");
    CKorvaneView& main = m_korvane.Editor();
    m_korvane.Command(ID_BUILD);
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }, 120000));
    m_korvane.Command(ID_NEXT_MESSAGE);
    CKorvaneView& shown = m_korvane.Editor();
    ASSERT_NE(&shown, &main);
    EXPECT_TRUE(EqualsIgnoringCase(SplitPath(shown.SourcePath()).name, "MACROS.INC"));
    const CTextBuffer& text = shown.Control().Buffer();
    EXPECT_EQ(text.LineFromPosition(shown.Control().Caret()), lines);
    EXPECT_EQ(Narrow(text.LineText(lines)), "        MOV     AX, NOSUCH");
    EXPECT_FALSE(static_cast<CKorvaneDoc*>(main.GetDocument())->IsModified());
}

// The 8051's program as as31 left it (the .hex newer than its source), with no link step: F11
// and F9 take the .hex as it is. The source is an .a51, which the 8051's toolchain builds.
class Mcs51InTheWindow : public DebuggerWindow {
protected:
    void Use(const std::string& name)
    {
        std::filesystem::copy_file(Built(name + ".asm"), m_folder.File(name + ".a51"));
        for (const char* extension : {".lst", ".hex"})
            std::filesystem::copy_file(Built(name + extension), m_folder.File(name + extension));
        // The .hex is the newer whatever the copies' times.
        const auto hex = std::filesystem::path(m_folder.File(name + ".hex"));
        std::filesystem::last_write_time(hex, std::filesystem::last_write_time(m_folder.File(name + ".a51")) +
                                                   std::chrono::seconds(2));
        Open(name + ".a51");
        CompilerSettings settings{CompilerType::Mcs51, "C:\\as31\\as31.exe", ""};
        settings.m_bNoLink = true;
        Frame().SetCompilerSettings(settings);
        m_strName = name;
    }
    size_t ProgramLine(const std::string& text) const { return EditorLine(text, m_strName + ".a51"); }
    void TypeSerial(const std::string& text) const { TypeText(Pane(IDC_DEBUG_SERIAL), text); }

    std::string m_strName;
};

TEST_F(Mcs51InTheWindow, StepsAndRunsWithTheSerialLineAndThePorts)
{
    Use("leds");
    Press(VK_F11);
    ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    EXPECT_EQ(Editor().CurrentLine(), ProgramLine("mov     sp, #60h"));
    EXPECT_EQ(PaneText(IDC_DEBUG_PORTS), "P0=FF P1=FF P2=FF P3=FF");
    for (int step = 0; step < 6; ++step)
        Press(VK_F10);
    EXPECT_EQ(Editor().CurrentLine(), ProgramLine("mov     a, #'O'"));
    EXPECT_EQ(PaneText(IDC_DEBUG_PORTS), "P0=FF P1=A5 P2=FF P3=FF");
    Press(VK_F10);
    Press(VK_F10);
    EXPECT_EQ(PaneText(IDC_DEBUG_SERIAL), "O");
    Press(VK_F5);
    EXPECT_EQ(Debugger().State(), DebugState::Ended) << Status();
    EXPECT_EQ(PaneText(IDC_DEBUG_SERIAL), "OK");
    EXPECT_EQ(PaneText(IDC_DEBUG_PORTS), "P0=FF P1=A5 P2=3C P3=FF");
}

TEST_F(Mcs51InTheWindow, F9RunsTheHexWithItsSerialLineAndPorts)
{
    const struct {
        const char* program;
        // What the user types on the serial line while the program runs.
        const char* typed;
        const char* sent;
        const char* ports;
    } kRuns[] = {
        {"leds", "", "OK", "P0=FF P1=A5 P2=3C P3=FF"},
        {"serial", "A", "HI", "P0=FF P1=FF P2=FF P3=FF"},
    };
    for (const auto& run : kRuns) {
        Use(run.program);
        PressAccelerator(m_korvane.Editor().GetSafeHwnd(), VK_F9);
        EXPECT_TRUE(PaneShown(IDC_DEBUG_SERIAL)) << run.program;
        EXPECT_TRUE(PaneShown(IDC_DEBUG_PORTS)) << run.program;
        EXPECT_FALSE(PaneShown(IDC_DEBUG_REGISTERS)) << run.program;
        TypeSerial(run.typed);
        WaitForStill();
        EXPECT_EQ(Debugger().State(), DebugState::Ended) << run.program << ": " << Status();
        EXPECT_EQ(PaneText(IDC_DEBUG_SERIAL), run.sent) << run.program;
        EXPECT_EQ(PaneText(IDC_DEBUG_PORTS), run.ports) << run.program;
        Press(VK_F5, kShift);
    }
}

// F11 after F9, the run ended or still waiting for the serial line, debugs the program from
// reset with the 8051's own panes, none of them showing what another session left.
TEST_F(Mcs51InTheWindow, F11AfterF9DebugsFromResetWithTheMachinesOwnPanes)
{
    // The second waits for the serial line, still running when F11 comes.
    const struct {
        const char* program;
        const char* sent;
    } kRuns[] = {{"leds", "OK"}, {"serial", "HI"}};
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.program);
        Use(run.program);
        PressAccelerator(m_korvane.Editor().GetSafeHwnd(), VK_F9);
        ASSERT_TRUE(WaitFor([&] { return PaneText(IDC_DEBUG_SERIAL) == run.sent; }));
        Press(VK_F11);
        ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
        EXPECT_EQ(Editor().CurrentLine(), ProgramLine("mov     sp, #60h"));
        for (UINT pane : {IDC_DEBUG_REGISTERS, IDC_DEBUG_MEMORY, IDC_DEBUG_DISASSEMBLY, IDC_DEBUG_SERIAL, IDC_DEBUG_PORTS})
            EXPECT_TRUE(PaneShown(pane)) << pane;
        EXPECT_EQ(PaneText(IDC_DEBUG_REGISTERS).substr(0, 7), "PC=0000");
        EXPECT_EQ(PaneText(IDC_DEBUG_SERIAL), "");
        Press(VK_F5, kShift);
    }
}

// The board of 调试 > 8051 实验板 in its pane, live while F9 runs the program at a real chip's
// pace: a multiplexed counter's digits stay steady, the LCD shows its lines, and a key typed on
// the pane holds the board's key.
TEST_F(Mcs51InTheWindow, TheBoardPaneShowsWhatAPersonSees)
{
    const auto onBoard = [&](const char* program) {
        Use(program);
        CompilerSettings settings = Frame().GetCompilerSettings();
        settings.m_strBoard51 = "pz";
        Frame().SetCompilerSettings(settings);
        PressAccelerator(m_korvane.Editor().GetSafeHwnd(), VK_F9);
    };
    onBoard("lcd");
    WaitForStill();
    EXPECT_TRUE(PaneShown(IDC_DEBUG_DEVICES));
    EXPECT_TRUE(Contains(PaneText(IDC_DEBUG_DEVICES), "LCD1: Hello, Korvane! \r\nLCD2: 8051 LCD1602    ")) << PaneText(IDC_DEBUG_DEVICES);
    EXPECT_TRUE(Contains(PaneText(IDC_DEBUG_DEVICES), "LCD: 开"));
    Press(VK_F5, kShift);

    onBoard("count");
    const std::string counting = "数码管: 0000000";
    EXPECT_TRUE(WaitFor([&] { return Contains(PaneText(IDC_DEBUG_DEVICES), counting + "1"); }, 30000)) << PaneText(IDC_DEBUG_DEVICES);
    EXPECT_EQ(Debugger().State(), DebugState::Running);
    Press(VK_F5, kShift);

    onBoard("keypad");
    ::SendMessageW(Pane(IDC_DEBUG_DEVICES), WM_KEYDOWN, 'Y', 0);
    EXPECT_TRUE(WaitFor([&] { return Contains(PaneText(IDC_DEBUG_DEVICES), "数码管:        6"); }, 30000)) << PaneText(IDC_DEBUG_DEVICES);
    ::SendMessageW(Pane(IDC_DEBUG_DEVICES), WM_KEYUP, 'Y', 0);
    EXPECT_TRUE(WaitFor([&] { return Contains(PaneText(IDC_DEBUG_DEVICES), "数码管:         \r\n"); }, 30000)) << PaneText(IDC_DEBUG_DEVICES);
    Press(VK_F5, kShift);
}

// The logic analyzer, turned on in 查看, shows Timer 0's 1 kHz square wave on P1.0 as the
// session runs, and the timers' pane the mode that makes it.
TEST_F(Mcs51InTheWindow, TheLogicAnalyzerReadsASquareWave)
{
    Use("square");
    Press(VK_F11);
    for (const int id : {IDC_DEBUG_ANALYZER, IDC_DEBUG_TIMERS}) {
        EXPECT_FALSE(PaneShown(id)) << "shown only when asked for";
        for (size_t i = 0; i < Debugger().Panels().Count(); ++i)
            if (Debugger().Panels().At(i)->Info().id == id)
                ::SendMessageW(Frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_DEBUG_PANE_FIRST + i, 0);
        EXPECT_TRUE(PaneShown(id));
    }
    PressAccelerator(m_korvane.Editor().GetSafeHwnd(), VK_F5);
    EXPECT_TRUE(WaitFor([&] { return Contains(PaneText(IDC_DEBUG_ANALYZER), "P1.0: 周期 1.000 ms, 高 500 μs, 低 500 μs"); }, 30000))
        << PaneText(IDC_DEBUG_ANALYZER);
    EXPECT_TRUE(Contains(PaneText(IDC_DEBUG_ANALYZER), "T0 溢出: 间隔 250 μs")) << PaneText(IDC_DEBUG_ANALYZER);
    // Paused (F5 again), the session shows the stop's state.
    Press(VK_F5);
    EXPECT_TRUE(Contains(PaneText(IDC_DEBUG_TIMERS), "T0: M=2 GATE=0 C/T=0 TH0=06")) << PaneText(IDC_DEBUG_TIMERS);
    EXPECT_TRUE(Contains(PaneText(IDC_DEBUG_TIMERS), "IE: EA=1 ES=0 ET1=0 EX1=0 ET0=1 EX0=0")) << PaneText(IDC_DEBUG_TIMERS);
}

TEST_F(Mcs51InTheWindow, AnEditDuringASessionAsksWhetherToStopIt)
{
    const struct {
        int answer;
        DebugState after;
        bool edited;
    } kAnswers[] = {{IDNO, DebugState::Stopped, false}, {IDYES, DebugState::Idle, true}};
    Use("leds");
    for (const auto& answer : kAnswers) {
        Press(VK_F11);
        MessageBoxRecorder boxes;
        boxes.QueueAnswer(answer.answer);
        const std::wstring before(Editor().Text());
        m_korvane.Type("x");
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{LoadResString(IDS_DEBUG_STOP_TO_EDIT)});
        // An Enter meant for the command line must not end the session.
        EXPECT_EQ(boxes.Boxes().at(0).type & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON2));
        EXPECT_EQ(Debugger().State(), answer.after);
        EXPECT_EQ(std::wstring(Editor().Text()) != before, answer.edited);
    }
}

TEST_F(Mcs51InTheWindow, RegistersAndBytesAreEditedInTheirPanes)
{
    const struct {
        UINT pane;
        size_t line;
        // The text the double-click lands on: the first digit after it.
        const char* before;
        const char* typed;
        const char* after;
    } kEdits[] = {
        {IDC_DEBUG_REGISTERS, 0, "A=", "5a", "A=5A"},
        {IDC_DEBUG_REGISTERS, 1, "R3=", "77", "R3=77"},
        {IDC_DEBUG_MEMORY, 0, "I:0000  ", "42", "I:0000  42 "},
    };
    Use("leds");
    Press(VK_F11);
    for (const auto& edit : kEdits) {
        HWND view = Pane(edit.pane);
        if (edit.pane == IDC_DEBUG_MEMORY)
            view = ::GetWindow(view, GW_CHILD);
        while (view && !dynamic_cast<CPaneView*>(CWnd::FromHandle(view)))
            view = ::GetWindow(view, GW_HWNDNEXT);
        auto* pane = dynamic_cast<CPaneView*>(CWnd::FromHandle(view));
        ASSERT_NE(pane, nullptr) << edit.before;
        const std::wstring line(pane->Line(edit.line));
        const size_t column = line.find(Widen(edit.before)) + std::strlen(edit.before);
        const int x = 2 + static_cast<int>(column) * pane->CharWidth() + 1;
        const int y = static_cast<int>(edit.line) * pane->LineHeight() + 2;
        ::SendMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
        const HWND box = ::GetWindow(view, GW_CHILD);
        ASSERT_TRUE(box && ::IsWindowVisible(box)) << edit.before;
        SetWindowTextOf(box, edit.typed);
        ::SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        PumpMessages();
        EXPECT_TRUE(Contains(PaneText(edit.pane), edit.after)) << PaneText(edit.pane);
    }
}

// A program that never ends, put beside its source as if built: its compile step a stand-in.
// F5, F9 and F10 compile, run and start DEBUG outside a session and continue, set a
// breakpoint and step over inside one: the menus and the toolbar's tips show the key in force.
TEST_F(MasmInTheWindow, MenusAndTipsShowTheKeysInForce)
{
    const auto keyShown = [&](int menuIndex, UINT id) {
        HMENU menu = ::GetSubMenu(::GetMenu(Frame().GetSafeHwnd()), menuIndex);
        Frame().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), menuIndex);
        wchar_t text[128] = L"";
        ::GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
        const std::wstring item(text);
        const size_t tab = item.find(L'\t');
        return tab == std::wstring::npos ? std::string() : Narrow(item.substr(tab + 1));
    };
    const struct {
        bool session;
        int menu; // 3: 编译, 4: 调试
        UINT id;
        const char* key;
        const char* tip;
    } kKeys[] = {
        {false, 3, ID_COMPILE, "F5", "编译 (F5)"},
        {false, 3, ID_RUN, "F9", "运行 (F9)"},
        {false, 3, ID_DEBUG, "F10", nullptr},
        {false, 4, ID_DEBUG_START, "F11", "开始调试 (F11)"},
        {false, 4, ID_DEBUG_STEP_OVER, "", nullptr},
        {false, 4, ID_DEBUG_TOGGLE_BREAKPOINT, "", "切换断点"},
        {true, 3, ID_COMPILE, "", "编译"},
        {true, 3, ID_RUN, "", "运行"},
        {true, 3, ID_BUILD, "F8", nullptr},
        {true, 4, ID_DEBUG_START, "F5", "继续 (F5)"},
        {true, 4, ID_DEBUG_STOP, "Shift+F5", "停止调试 (Shift+F5)"},
        {true, 4, ID_DEBUG_STEP_INTO, "F11", "单步 (F11)"},
        {true, 4, ID_DEBUG_STEP_OVER, "F10", nullptr},
        {true, 4, ID_DEBUG_TOGGLE_BREAKPOINT, "F9", "切换断点 (F9)"},
        {true, 4, ID_DEBUG_STEP_BACK, "Ctrl+F11", nullptr},
    };
    for (const auto& key : kKeys) {
        SCOPED_TRACE(std::to_string(key.id) + (key.session ? " in a session" : " outside"));
        if (key.session && !Debugger().IsActive()) {
            Press(VK_F11);
            ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
        }
        EXPECT_EQ(keyShown(key.menu, key.id), key.key);
        if (key.tip) {
            EXPECT_EQ(Frame().GetTipText(key.id), key.tip);
        }
    }
}

// Ctrl+A in the memory pane's address box selects the box's text, not the editor's.
TEST_F(MasmInTheWindow, CtrlAInAPanesEditBoxSelectsItsOwnText)
{
    Press(VK_F11);
    ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    const HWND box = ::FindWindowExW(Pane(IDC_DEBUG_MEMORY), nullptr, L"Edit", nullptr);
    ASSERT_TRUE(box);
    SetWindowTextOf(box, "DS:0010");
    ::SendMessageW(box, EM_SETSEL, 2, 2);
    ::SetFocus(box);
    const auto editorBefore = std::make_pair(Editor().Selection().nAnchor, Editor().Selection().nCaret);
    PressAccelerator(box, 'A', kCtrl);
    DWORD from = 0, to = 0;
    ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(DWORD{0}, DWORD{7}));
    EXPECT_EQ(std::make_pair(Editor().Selection().nAnchor, Editor().Selection().nCaret), editorBefore);
}

// Dragging the edge above the panes' rows makes every pane paint again, the ones the drag
// only moved too: none is left showing what it showed before.
TEST_F(MasmInTheWindow, ASplitterDragRepaintsEveryPane)
{
    Press(VK_F11);
    ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    PumpMessages();
    const HWND bar = Pane(IDW_REGISTERS_BAR);
    ASSERT_TRUE(bar);
    RECT edge{};
    ::GetWindowRect(bar, &edge);
    const POINT grab{(edge.left + edge.right) / 2, edge.top + 1};
    ::SendMessageW(bar, WM_NCLBUTTONDOWN, HTTOP, MAKELPARAM(grab.x, grab.y));
    POINT moved{grab.x, grab.y - 60};
    ::ScreenToClient(bar, &moved);
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(moved.x, moved.y));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(moved.x, moved.y));
    RECT after{};
    ::GetWindowRect(bar, &after);
    EXPECT_LT(after.top, edge.top) << "the row grew";
    for (UINT id : {IDC_DEBUG_REGISTERS, IDC_DEBUG_MEMORY, IDC_DEBUG_SCREEN, IDC_DEBUG_DISASSEMBLY, IDC_DEBUG_STACK,
                    IDC_DEBUG_VARIABLES, IDC_DEBUG_COMMAND_OUTPUT}) {
        if (PaneShown(id)) {
            EXPECT_TRUE(::GetUpdateRect(Pane(id), nullptr, FALSE)) << id << " is to paint again";
        }
    }
}

class EndlessInTheWindow : public DebuggerWindow {
protected:
    void SetUp() override
    {
        DebuggerWindow::SetUp();
        for (const char* extension : {".ASM", ".LST", ".COM"})
            std::filesystem::copy_file(Built(std::string("spin") + extension), m_folder.File(std::string("SPIN") + extension));
        CompilerSettings settings{CompilerType::Masm, HelperPath("standin_tool.exe"), ""};
        settings.m_bNoLink = true;
        Frame().SetCompilerSettings(settings);
        Open("SPIN.ASM");
        Press(VK_F11);
        ASSERT_EQ(Debugger().State(), DebugState::Stopped) << Status();
    }
    std::string StartText() const
    {
        CMenuProbe probe(ID_DEBUG_START);
        Debugger().OnCmdMsg(ID_DEBUG_START, &probe);
        return probe.text;
    }
    struct CMenuProbe : CCmdUI {
        using CCmdUI::CCmdUI;
        void SetText(const std::string& shown) override { text = shown; }
        std::string text;
    };
};

TEST_F(EndlessInTheWindow, ContinueBecomesPauseAndStopEndsTheRun)
{
    PressAccelerator(m_korvane.Editor().GetSafeHwnd(), VK_F5);
    EXPECT_EQ(Debugger().State(), DebugState::Running);
    EXPECT_EQ(StartText(), LoadResString(IDS_DEBUG_PAUSE));
    Press(VK_F5);
    EXPECT_EQ(Debugger().State(), DebugState::Stopped);
    EXPECT_EQ(StartText(), LoadResString(IDS_DEBUG_CONTINUE));
    const std::string paused = LoadResString(IDS_DEBUG_PAUSED);
    EXPECT_EQ(Status().substr(0, paused.find("%1")), paused.substr(0, paused.find("%1"))) << Status();
    PressAccelerator(m_korvane.Editor().GetSafeHwnd(), VK_F5);
    EXPECT_EQ(Debugger().State(), DebugState::Running);
    Press(VK_F5, kShift);
    EXPECT_EQ(Debugger().State(), DebugState::Idle);
    EXPECT_EQ(StartText(), LoadResString(IDS_DEBUG_START));
}
