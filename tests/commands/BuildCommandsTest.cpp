// Compile, link and build through the real frame with stand-in tools: the batch file's
// three lines, the checks and their messages, the output arriving in the output panel while
// the tools run, the end of every step, Stop, and closing while a tool runs.
#include "build/ConsolePath.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "frame/OutputWindow.h"
#include "framework/Services.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CStatusBar.h"
#include "framework/docking/CToolBar.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/RecordingProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
const char kBatchPath[] = "c:\\temp.bat";

std::string Replaced(std::string text, const std::string& part, const std::string& by)
{
    const size_t at = text.find(part);
    return at == std::string::npos ? text : text.replace(at, part.size(), by);
}

std::string LongPathOf(const std::string& path)
{
    wchar_t longPath[MAX_PATH * 4] = L"";
    DWORD n = ::GetLongPathNameW(Widen(path).c_str(), longPath, MAX_PATH * 4);
    return n > 0 && n < MAX_PATH * 4 ? Narrow(longPath) : path;
}
}

class BuildCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::DeleteFileA(kBatchPath);
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
        SetTools(HelperPath("standin_tool.exe"), HelperPath("standin_tool.exe"));
        Frame().SetPipeProcess(std::make_unique<RecordingProcess>(m_commands, &m_batches));
    }
    void TearDown() override
    {
        m_session.reset();
        AppServices().strBatchFilePath = Services{}.strBatchFilePath;
        ::DeleteFileA(kBatchPath);
    }
    CMainFrame& Frame() const { return m_session->Frame(); }
    std::string Output() const { return OutputWindow(Frame()).GetWindowText(); }
    std::wstring OutputText() const { return dynamic_cast<COutputWindow&>(OutputWindow(Frame())).GetText(); }
    // The command, and the steps it starts until the last one is over.
    void RunCommand(UINT id)
    {
        m_session->Command(id);
        EXPECT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    }
    void SetTools(const std::string& compiler, const std::string& linker)
    {
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, compiler, linker, ""});
    }
    void SetCompiler(const std::string& compiler) { SetTools(compiler, Frame().GetCompilerSettings().m_strLinkerPath); }
    void SetLinker(const std::string& linker) { SetTools(Frame().GetCompilerSettings().m_strCompilerPath, linker); }
    // Writes a source file and opens it.
    std::string OpenSource(const std::string& name, const std::string& text = "mov ax, bx\r\n")
    {
        std::string path = m_dir.File(name);
        WriteFileBytes(path, text);
        EXPECT_NE(TheAppOpen(path), nullptr);
        return path;
    }
    CDocument* TheAppOpen(const std::string& path) { return AfxGetApp()->OpenDocumentFile(path); }
    void HideOutput() { Frame().ShowControlBar(&OutputBar(Frame()), false, false); }

    ScratchDir m_dir{"build-commands"};
    MessageBoxRecorder m_boxes;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_batches;
    std::unique_ptr<KorvaneSession> m_session;
};

TEST_F(BuildCommands, CompilingANeverSavedDocumentAsksForASaveFirst)
{
    HideOutput();
    RunCommand(ID_COMPILE);
    EXPECT_TRUE(OutputBar(Frame()).IsVisible());
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("请先保存文件"));
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, 0u);
    EXPECT_EQ(m_boxes.Boxes()[0].owner, Frame().GetSafeHwnd());
    EXPECT_EQ(m_boxes.Boxes()[0].caption, "Korvane");
    EXPECT_FALSE(FileExists(kBatchPath));
}

TEST_F(BuildCommands, FileNewAfterAnOpenForgetsTheOpenedFile)
{
    std::string path = OpenSource("kept.asm", "original\r\n");
    m_session->Command(ID_FILE_NEW);
    m_session->Type("x");
    RunCommand(ID_COMPILE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("请先保存文件")});
    EXPECT_EQ(ReadFileBytes(path), "original\r\n");
}

TEST_F(BuildCommands, CompileRunsTheCompilerInTheSourceDirectory)
{
    std::string path = OpenSource("hello.asm");
    RunCommand(ID_COMPILE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    std::string output = Output();
    EXPECT_TRUE(Contains(output, "standin_tool.exe hello.asm;")) << output;
    EXPECT_TRUE(Contains(output, "standin_tool directory: " + m_dir.Path())) << output;
    // Standard output and standard error both reach the panel.
    EXPECT_TRUE(Contains(output, "standin_tool stdout line")) << output;
    EXPECT_TRUE(Contains(output, "standin_tool stderr line")) << output;
    EXPECT_FALSE(FileExists(kBatchPath));
    EXPECT_EQ(m_commands, std::vector<std::string>{kBatchPath});
}

TEST_F(BuildCommands, AModifiedDocumentIsSavedBeforeTheStep)
{
    std::string path = OpenSource("saved.asm", "abc");
    m_session->Editor().SendMessage(EM_SETSEL, 3, 3);
    m_session->Type("d");
    ASSERT_TRUE(m_session->Document().IsModified());
    RunCommand(ID_COMPILE);
    EXPECT_EQ(ReadFileBytes(path), "abcd");
    EXPECT_FALSE(m_session->Document().IsModified());
}

TEST_F(BuildCommands, AMissingToolPathLeavesTheFirstTwoLines)
{
    OpenSource("two.asm");
    SetCompiler("");
    RunCommand(ID_COMPILE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("您忘了还没设置编译器路径了，请在选项菜单中选择设置")});
    EXPECT_EQ(ReadFileBytes(kBatchPath), m_dir.Path().substr(0, 2) + "\r\ncd /d " + m_dir.Path() + "\r\n");

    m_boxes.Clear();
    SetLinker("");
    RunCommand(ID_LINK);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("您忘了还没设置连接器路径了，请在选项菜单中选择设置")});

    // A later step that passes overwrites the file and deletes it.
    SetCompiler(HelperPath("standin_tool.exe"));
    RunCommand(ID_COMPILE);
    EXPECT_FALSE(FileExists(kBatchPath));
}

TEST_F(BuildCommands, LinkDropsTheLastFourCharactersOfTheName)
{
    OpenSource("prog.s");
    RunCommand(ID_LINK);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe pr;")) << Output();
    OpenSource("a.as");
    RunCommand(ID_LINK);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe ;")) << Output();
    OpenSource("x.a");
    RunCommand(ID_LINK);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe ;")) << Output();
}

// Under a Western console code page (437) the Chinese folder and name go in their short forms;
// under 936 as they are. Either way the tool runs in the folder on the file.
TEST_F(BuildCommands, FoldersAndNamesGoInAFormTheConsoleCanRead)
{
    const std::string folder = m_dir.Folder("汇编作业");
    const std::string path = folder + "\\程序.asm";
    WriteFileBytes(path, "nop\r\n");
    ASSERT_NE(TheAppOpen(path), nullptr);
    const std::string log = m_dir.File("tool.log");
    ::SetEnvironmentVariableW(L"KORVANE_STANDIN_LOG", Widen(log).c_str());
    RunCommand(ID_COMPILE);
    ::SetEnvironmentVariableW(L"KORVANE_STANDIN_LOG", nullptr);
    EXPECT_TRUE(m_boxes.Texts().empty());

    const std::string report = ReadFileBytes(log);
    auto field = [&](const std::string& label) {
        size_t start = report.find(label);
        return start == std::string::npos ? std::string()
                                          : report.substr(start + label.size(), report.find("\r\n", start) - start - label.size());
    };
    EXPECT_TRUE(EqualsIgnoringCase(LongPathOf(field("directory: ")), folder)) << report;
    const std::string commandLine = field("command line: ");
    const std::string given = commandLine.substr(commandLine.rfind(' ') + 1);
    ASSERT_EQ(given.back(), ';') << commandLine;
    EXPECT_TRUE(EqualsIgnoringCase(LongPathOf(folder + "\\" + given.substr(0, given.size() - 1)), path)) << commandLine;
}

TEST_F(BuildCommands, APathTheConsoleCannotReadIsReportedInsteadOfRun)
{
    OpenSource("spelled.asm");
    const std::string tool = "c:\\no-such-folder\\汇编\\masm.exe";
    SetCompiler(tool);
    RunCommand(ID_COMPILE);
    bool readable = false;
    EncodeCodePage(Widen(tool), ConsoleCodePage(), &readable);
    readable = !readable;
    if (readable) {
        // cmd.exe is given the path and says itself that there is no such program.
        EXPECT_TRUE(m_boxes.Texts().empty());
        EXPECT_EQ(m_commands.size(), 1u);
    } else {
        // A missing file has no short form either: nothing runs, nothing is left behind.
        EXPECT_EQ(m_boxes.Texts(),
                  std::vector<std::string>{"路径 " + tool +
                                           " 不能写进批处理文件：控制台的代码页容不下其中的字符，所在的卷也没有 8.3 "
                                           "短名称。请把文件放到只用英文字母命名的文件夹中。"});
        EXPECT_TRUE(m_commands.empty());
        EXPECT_FALSE(FileExists(kBatchPath));
    }
}

// Also when the interpreter starts in another folder of that drive, which "cd c:" would keep.
TEST_F(BuildCommands, ASourceInADriveRootChangesToThatRoot)
{
    const std::string path = "c:\\korvane-root-test.asm";
    WriteFileBytes(path, "nop\r\n");
    ASSERT_NE(TheAppOpen(path), nullptr);
    EXPECT_EQ(Frame().GetSourceDir(), "c:");
    wchar_t previous[MAX_PATH * 4] = L"";
    ::GetCurrentDirectoryW(MAX_PATH * 4, previous);
    ::SetCurrentDirectoryW(Widen(m_dir.Path()).c_str());
    RunCommand(ID_COMPILE);
    ::SetCurrentDirectoryW(previous);
    EXPECT_TRUE(Contains(Output(), ">cd /d c:\\")) << Output();
    EXPECT_TRUE(Contains(Output(), "standin_tool directory: c:\\\r\n")) << Output();
    ::DeleteFileA(path.c_str());
}

// A source folder and a tool folder whose names cmd.exe would split or act on, and a source
// name it would act on: the batch file quotes and escapes them, and the tool gets them back.
TEST_F(BuildCommands, PathsWithBlanksAndCmdsSpecialCharactersReachTheToolUnchanged)
{
    const std::string folder = m_dir.Folder("my work") + "\\a&b (1) 100%";
    MakeFolder(folder);
    const std::string tool = m_dir.Folder("tool dir") + "\\standin_tool.exe";
    ASSERT_TRUE(::CopyFileW(Widen(HelperPath("standin_tool.exe")).c_str(), Widen(tool).c_str(), FALSE));
    SetTools(tool, tool);
    const std::string log = m_dir.File("tool.log");
    ::SetEnvironmentVariableW(L"KORVANE_STANDIN_LOG", Widen(log).c_str());
    for (const char* name : {"hello.asm", "x&y%.asm"}) {
        WriteFileBytes(folder + "\\" + name, "nop\r\n");
        ASSERT_NE(TheAppOpen(folder + "\\" + name), nullptr);
        RunCommand(ID_COMPILE);
    }
    ::SetEnvironmentVariableW(L"KORVANE_STANDIN_LOG", nullptr);
    EXPECT_TRUE(m_boxes.Texts().empty());
    ASSERT_EQ(m_batches.size(), 2u);
    EXPECT_EQ(m_batches[0], folder.substr(0, 2) + "\r\ncd /d \"" + m_dir.Path() + "\\my work\\a&b (1) 100%%\"\r\n" +
                                Quoted(tool) + " hello.asm;\r\n");
    EXPECT_TRUE(EndsWith(m_batches[1], Quoted(tool) + " x^&y%%.asm;\r\n")) << m_batches[1];
    EXPECT_EQ(ReadFileBytes(log), "standin_tool command line: " + Quoted(tool) + " hello.asm;\r\n" +
                                      "standin_tool directory: " + folder + "\r\n" +
                                      "standin_tool command line: " + Quoted(tool) + " x&y%.asm;\r\n" +
                                      "standin_tool directory: " + folder + "\r\n");
}

TEST_F(BuildCommands, BuildStopsAtAMissingCompilerPath)
{
    OpenSource("stop.asm");
    OutputWindow(Frame()).SetWindowText("before");
    SetCompiler("");
    RunCommand(ID_BUILD);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(Output(), "before");
}

TEST_F(BuildCommands, LongOutputZeroBytesSplitCharactersAndLineEndsReachThePanelWhole)
{
    OpenSource("bytes.asm");
    std::wstring pattern;
    for (int i = 0; i < 100000; ++i)
        pattern += static_cast<wchar_t>('A' + i % 61);
    const std::pair<const char*, std::wstring> cases[] = {
        {"pattern 100000 3000", pattern},  {"zero", L"abc defghi"},      {"leadzero", L" hiddenvisible"},
        {"gbksplit", L"ab\u4E2Dcd"},       {"crlfsplit", L"one\r\ntwo\r\n"},
        {"cat utf8.txt", L"\u4F60\u597D utf-8\r\n"},
    };
    WriteFileBytes(m_dir.File("utf8.txt"), "\xE4\xBD\xA0\xE5\xA5\xBD utf-8\n");
    for (const auto& [mode, shown] : cases) {
        SetCompiler(Quoted(HelperPath("pipe_child.exe")) + " " + Replaced(mode, "utf8.txt", Quoted(m_dir.File("utf8.txt"))));
        RunCommand(ID_COMPILE);
        const std::wstring output = OutputText();
        // The tool's output starts on the line after the interpreter's echo of its command line.
        const size_t start = output.find(L"\r\n", output.find(L"bytes.asm;")) + 2;
        EXPECT_TRUE(output.compare(start, shown.size(), shown) == 0) << mode << ": " << output.substr(start, 40);
    }
}

TEST_F(BuildCommands, TheTemporaryFolderServesWhenTheDriveRootCannotBeWritten)
{
    OpenSource("fallback.asm");
    AppServices().strBatchFilePath = L"c:\\no-such-folder\\temp.bat";
    RunCommand(ID_COMPILE);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe fallback.asm;")) << Output();
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    EXPECT_EQ(m_commands, std::vector<std::string>{std::string(temp) + "temp.bat"});
    EXPECT_FALSE(FileExists(std::string(temp) + "temp.bat"));
}

TEST_F(BuildCommands, ABatchPathWithBlanksIsQuotedForTheInterpreter)
{
    OpenSource("quoted.asm");
    std::string folder = m_dir.File("with blanks");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    AppServices().strBatchFilePath = Widen(folder + "\\temp.bat");
    RunCommand(ID_COMPILE);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe quoted.asm;")) << Output();
    EXPECT_EQ(m_commands, std::vector<std::string>{Quoted(folder + "\\temp.bat")});
}

TEST_F(BuildCommands, NoPlaceForTheBatchFileIsReported)
{
    OpenSource("nowhere.asm");
    AppServices().strBatchFilePath = L"c:\\no-such-folder\\temp.bat";
    char saved[MAX_PATH * 2] = "";
    ::GetEnvironmentVariableA("TMP", saved, sizeof saved);
    ::SetEnvironmentVariableA("TMP", "c:\\no-such-folder");
    RunCommand(ID_COMPILE);
    ::SetEnvironmentVariableA("TMP", saved[0] ? saved : nullptr);
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("不能创建编译所需的批处理文件"));
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}

namespace {
// The processes named by the "gated_tool pids" line of a spawning stand-in tool.
std::vector<UniqueHandle> OpenToolTree(const std::string& output)
{
    std::vector<UniqueHandle> processes;
    std::istringstream line(output.substr(output.find("gated_tool pids ") + 16));
    DWORD pid = 0;
    while (processes.size() < 3 && line >> pid)
        processes.emplace_back(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    return processes;
}

bool AllEnded(const std::vector<UniqueHandle>& processes)
{
    for (const UniqueHandle& process : processes) {
        if (::WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0)
            return false;
    }
    return true;
}

// A runner whose every start fails as a missing program does.
class FailingProcess : public CPipeProcess {
public:
    Result<void> Start(const std::wstring&) override { return CPipeProcess::Start(L"korvane-no-such-program-1b2c.exe"); }
};

const UINT kStepCommands[] = {ID_COMPILE, ID_LINK, ID_BUILD, ID_STOP_BUILD};
}

// While the gated compiler waits: what the panel, the status bar, the menu and the toolbar
// show, and what happens to commands sent anyway; then the step's end.
TEST_F(BuildCommands, AStepShowsItsOutputWhileItRunsAndEndsWithItsLine)
{
    ToolGate gate;
    OpenSource("gate.asm");
    SetCompiler(gate.ToolCommand() + " 5");
    m_session->Command(ID_COMPILE);
    ASSERT_TRUE(WaitFor([&] { return Contains(Output(), "gated_tool first line"); })) << Output();
    EXPECT_TRUE(Frame().IsBuildRunning());
    EXPECT_FALSE(Contains(Output(), "second line"));
    EXPECT_EQ(StatusBar(Frame()).GetPaneText(0), std::string("正在编译…"));

    HMENU popup = ::GetSubMenu(::GetMenu(Frame().GetSafeHwnd()), 3);
    Frame().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 3);
    HWND toolBar = ToolBar(Frame()).GetSafeHwnd();
    for (UINT id : kStepCommands) {
        const bool enabled = id == ID_STOP_BUILD;
        EXPECT_EQ((::GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) == 0, enabled) << id;
        if (id != ID_STOP_BUILD) {
            EXPECT_FALSE(::SendMessageA(toolBar, TB_ISBUTTONENABLED, id, 0)) << id;
        }
    }
    EXPECT_FALSE(::GetMenuState(popup, ID_RUN, MF_BYCOMMAND) & MF_GRAYED);
    wchar_t stopEntry[64] = L"";
    ::GetMenuStringW(popup, 3, stopEntry, 64, MF_BYPOSITION);
    EXPECT_EQ(Narrow(stopEntry), "停止\tCtrl+Break");

    // Sent anyway, and through their keys, the step commands do nothing.
    m_session->Command(ID_BUILD);
    PressAccelerator(m_session->Editor().GetSafeHwnd(), VK_F5);
    EXPECT_EQ(m_commands.size(), 1u);

    gate.Open();
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    EXPECT_TRUE(EndsWith(Output(), "gated_tool second line\r\n" + std::string("编译结束，退出码 5。") + "\r\n")) << Output();
    EXPECT_EQ(StatusBar(Frame()).GetPaneText(0), std::string("0 个错误，0 个警告"));
    PumpMessages();
    for (UINT id : kStepCommands) {
        if (id != ID_STOP_BUILD) {
            EXPECT_TRUE(::SendMessageA(toolBar, TB_ISBUTTONENABLED, id, 0)) << id;
        }
    }
}

TEST_F(BuildCommands, StopEndsTheToolAndWhatItStartedAndABuildLinksNothing)
{
    OpenSource("spawn.asm");
    SetCompiler(Quoted(HelperPath("gated_tool.exe")) + " spawn");
    m_session->Command(ID_BUILD);
    ASSERT_TRUE(WaitFor([&] { return Contains(Output(), "gated_tool pids"); })) << Output();
    // The interpreter, the tool, and the copy the tool started.
    std::vector<UniqueHandle> tree = OpenToolTree(Output());
    ASSERT_EQ(tree.size(), 3u);
    for (const UniqueHandle& process : tree)
        ASSERT_TRUE(process);

    EXPECT_TRUE(PressAccelerator(m_session->Editor().GetSafeHwnd(), VK_CANCEL, kCtrl));
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    EXPECT_TRUE(AllEnded(tree));
    EXPECT_TRUE(EndsWith(Output(), "\r\n" + std::string("编译已停止。") + "\r\n")) << Output();
    EXPECT_EQ(m_commands.size(), 1u);
    EXPECT_FALSE(FileExists(kBatchPath));
}

TEST_F(BuildCommands, BuildLinksOnlyAfterACompileThatSucceeded)
{
    OpenSource("both.asm");
    OutputWindow(Frame()).SetWindowText("before");
    SetCompiler(Quoted(HelperPath("pipe_child.exe")) + " exit 3");
    RunCommand(ID_BUILD);
    EXPECT_EQ(m_commands.size(), 1u);
    std::string output = Output();
    EXPECT_EQ(output.find("before"), std::string::npos) << output;
    EXPECT_TRUE(EndsWith(output, "exit 3\r\n" + std::string("编译结束，退出码 3。") + "\r\n" + std::string("编译失败，未连接。") + "\r\n"))
        << output;

    // A new command starts on an empty panel; the link step's output follows the compile step's.
    SetCompiler(HelperPath("standin_tool.exe"));
    RunCommand(ID_BUILD);
    EXPECT_EQ(m_commands.size(), 3u);
    output = Output();
    EXPECT_EQ(output.find("exit 3"), std::string::npos) << output;
    const size_t compiled = output.find("standin_tool.exe both.asm;");
    const size_t compileEnd = output.find(std::string("编译结束，退出码 0。"));
    const size_t linked = output.find("standin_tool.exe both;");
    const size_t linkEnd = output.find(std::string("连接结束，退出码 0。"));
    EXPECT_LT(compiled, compileEnd);
    EXPECT_LT(compileEnd, linked);
    EXPECT_LT(linked, linkEnd);
    EXPECT_NE(linkEnd, std::string::npos) << output;
}

TEST_F(BuildCommands, AToolThatCannotBeStartedIsReportedAndABuildLinksNothing)
{
    OpenSource("failing.asm");
    Frame().SetPipeProcess(std::make_unique<FailingProcess>());
    RunCommand(ID_BUILD);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(Output(), std::string("编译失败，未连接。") + "\r\n");
    EXPECT_FALSE(FileExists(kBatchPath));
}

TEST_F(BuildCommands, ClosingWhileAToolRunsAsksAndNoKeepsItRunning)
{
    ToolGate gate;
    OpenSource("close.asm");
    SetCompiler(gate.ToolCommand());
    m_session->Command(ID_COMPILE);
    ASSERT_TRUE(WaitFor([&] { return Contains(Output(), "first line"); }));
    m_boxes.QueueAnswer(IDNO);
    Frame().SendMessage(WM_CLOSE);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("工具仍在运行。要停止它并退出吗？"));
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(m_boxes.Boxes()[0].caption, "Korvane");
    ASSERT_NE(MainFrame(), nullptr);
    EXPECT_TRUE(Frame().IsBuildRunning());
    gate.Open();
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    EXPECT_TRUE(Contains(Output(), "gated_tool second line"));
}

TEST_F(BuildCommands, ClosingWhileAToolRunsWithYesAsksAboutTheDocumentThenEndsTheTree)
{
    OpenSource("yes.asm");
    SetCompiler(Quoted(HelperPath("gated_tool.exe")) + " spawn");
    m_session->Command(ID_COMPILE);
    ASSERT_TRUE(WaitFor([&] { return Contains(Output(), "gated_tool pids"); }));
    std::vector<UniqueHandle> tree = OpenToolTree(Output());
    m_session->Type("x");
    m_boxes.QueueAnswer(IDYES);
    m_boxes.QueueAnswer(IDNO);
    m_session->Close();
    EXPECT_EQ(MainFrame(), nullptr);
    ASSERT_EQ(m_boxes.Texts().size(), 2u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("工具仍在运行。要停止它并退出吗？"));
    EXPECT_NE(m_boxes.Texts()[1].find(std::string("将改动保存到")), std::string::npos);
    EXPECT_TRUE(AllEnded(tree));
    EXPECT_FALSE(FileExists(kBatchPath));
}

// ML takes "/c hello.asm", JWasm the name alone; a compiler that writes the program itself
// builds without a linker, and has nothing to link.
TEST_F(BuildCommands, EachCompilerGetsItsOwnArgumentsAndOneWithoutALinkStepBuildsAlone)
{
    OpenSource("hello.asm");
    for (const char* name : {"ml.exe", "jwasm.exe"}) {
        ASSERT_TRUE(::CopyFileW(Widen(HelperPath("standin_tool.exe")).c_str(), Widen(m_dir.File(name)).c_str(), FALSE));
    }
    SetTools(m_dir.File("ml.exe"), HelperPath("standin_tool.exe"));
    RunCommand(ID_COMPILE);
    EXPECT_TRUE(Contains(Output(), "ml.exe /c hello.asm\r\n")) << Output();

    CompilerSettings settings{CompilerType::Masm, m_dir.File("jwasm.exe"), "", ""};
    settings.m_bNoLink = true;
    Frame().SetCompilerSettings(settings);
    RunCommand(ID_BUILD);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_TRUE(Contains(Output(), "jwasm.exe hello.asm\r\n")) << Output();
    EXPECT_TRUE(EndsWith(Output(), "编译结束，退出码 0。\r\n")) << Output();
    RunCommand(ID_LINK);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"此工具链无需连接。"});
}

// The status line after a step: the messages counted, and for a tool cmd could not run (its
// exit code 9009) that it did not run, not "0 errors".
TEST_F(BuildCommands, TheStatusLineTellsAToolThatDidNotRunFromOneThatReportedNothing)
{
    const struct {
        const char* exitCode;
        UINT expected;
    } kEnds[] = {{"0", IDS_MESSAGE_SUMMARY}, {"5", IDS_MESSAGE_SUMMARY}, {"9009", IDS_TOOL_NOT_FOUND_9009}};
    OpenSource("hello.asm");
    for (const auto& end : kEnds) {
        ::SetEnvironmentVariableA("KORVANE_STANDIN_EXIT_CODE", end.exitCode);
        RunCommand(ID_COMPILE);
        const std::string expected = end.expected == IDS_MESSAGE_SUMMARY ? FormatResString(IDS_MESSAGE_SUMMARY, {"0", "0"})
                                                                         : LoadResString(end.expected);
        EXPECT_EQ(StatusBar(Frame()).GetPaneText(0), expected) << end.exitCode;
    }
    ::SetEnvironmentVariableA("KORVANE_STANDIN_EXIT_CODE", nullptr);
}
