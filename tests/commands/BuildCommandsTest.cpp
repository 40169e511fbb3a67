// Compile, link and build through the real frame with stand-in tools: the batch file's
// three lines, the checks and their messages, the captured output in the output panel.
#include "build/BatchFile.h"
#include "build/ConsolePath.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/CWinApp.h"
#include "framework/Unicode.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
const char kBatchPath[] = "c:\\temp.bat";

std::string LongPathOf(const std::string& path)
{
    wchar_t longPath[MAX_PATH * 4] = L"";
    DWORD n = ::GetLongPathNameW(Widen(path).c_str(), longPath, MAX_PATH * 4);
    return n > 0 && n < MAX_PATH * 4 ? Narrow(longPath) : path;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The runner the frame starts its batch files with, remembering their command lines.
class RecordingProcess : public CPipeProcess {
public:
    explicit RecordingProcess(std::vector<std::string>& commands) : m_commands(commands) {}
    bool Start(const std::string& commandLine) override
    {
        m_commands.push_back(commandLine);
        return CPipeProcess::Start(commandLine);
    }

private:
    std::vector<std::string>& m_commands;
};
}

class BuildCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::DeleteFileA(kBatchPath);
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
        SetTools(HelperPath("standin_tool.exe"), HelperPath("standin_tool.exe"));
        Frame().SetPipeProcess(std::make_unique<RecordingProcess>(m_commands));
    }
    void TearDown() override
    {
        m_session.reset();
        CBatchFile::SetPreferredPath(kBatchPath);
        ::DeleteFileA(kBatchPath);
    }
    CMainFrame& Frame() const { return m_session->Frame(); }
    std::string Output() const { return OutputWindow(Frame()).GetWindowText(); }
    void SetTools(const std::string& compiler, const std::string& linker)
    {
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, compiler, linker});
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
    std::unique_ptr<KorvaneSession> m_session;
};

TEST_F(BuildCommands, CompilingANeverSavedDocumentAsksForASaveFirst)
{
    HideOutput();
    m_session->Command(ID_COMPILE);
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
    m_session->Command(ID_COMPILE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("请先保存文件")});
    EXPECT_EQ(ReadFileBytes(path), "original\r\n");
}

TEST_F(BuildCommands, CompileRunsTheCompilerInTheSourceDirectory)
{
    std::string path = OpenSource("hello.asm");
    m_session->Command(ID_COMPILE);
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
    m_session->Command(ID_COMPILE);
    EXPECT_EQ(ReadFileBytes(path), "abcd");
    EXPECT_FALSE(m_session->Document().IsModified());
}

TEST_F(BuildCommands, AMissingToolPathLeavesTheFirstTwoLines)
{
    OpenSource("two.asm");
    SetCompiler("");
    m_session->Command(ID_COMPILE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("您忘了还没设置编译器路径了，请在选项菜单中选择设置")});
    EXPECT_EQ(ReadFileBytes(kBatchPath), m_dir.Path().substr(0, 2) + "\r\ncd " + m_dir.Path() + "\r\n");

    m_boxes.Clear();
    SetLinker("");
    m_session->Command(ID_LINK);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{std::string("您忘了还没设置连接器路径了，请在选项菜单中选择设置")});

    // A later step that passes overwrites the file and deletes it.
    SetCompiler(HelperPath("standin_tool.exe"));
    m_session->Command(ID_COMPILE);
    EXPECT_FALSE(FileExists(kBatchPath));
}

TEST_F(BuildCommands, LinkDropsTheLastFourCharactersOfTheName)
{
    OpenSource("prog.s");
    m_session->Command(ID_LINK);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe pr;")) << Output();
    OpenSource("a.as");
    m_session->Command(ID_LINK);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe ;")) << Output();
    OpenSource("x.a");
    m_session->Command(ID_LINK);
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
    m_session->Command(ID_COMPILE);
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
    m_session->Command(ID_COMPILE);
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

TEST_F(BuildCommands, ASourceInADriveRootChangesToThatRoot)
{
    const std::string path = "c:\\korvane-root-test.asm";
    WriteFileBytes(path, "nop\r\n");
    ASSERT_NE(TheAppOpen(path), nullptr);
    EXPECT_EQ(Frame().GetSourceDir(), "c:");
    m_session->Command(ID_COMPILE);
    EXPECT_TRUE(Contains(Output(), ">cd c:")) << Output();
    EXPECT_TRUE(Contains(Output(), "standin_tool directory: c:\\")) << Output();
    ::DeleteFileA(path.c_str());
}

TEST_F(BuildCommands, BuildStopsAtAMissingCompilerPath)
{
    OpenSource("stop.asm");
    OutputWindow(Frame()).SetWindowText("before");
    SetCompiler("");
    m_session->Command(ID_BUILD);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(Output(), "before");
}

TEST_F(BuildCommands, LongOutputAndASplitDoubleByteCharacterShowWhole)
{
    OpenSource("long.asm");
    SetCompiler(HelperPath("pipe_child.exe") + " pattern 10000 3000");
    m_session->Command(ID_COMPILE);
    std::string pattern;
    for (int i = 0; i < 10000; ++i)
        pattern += static_cast<char>('A' + i % 61);
    EXPECT_TRUE(Contains(Output(), pattern));

    SetCompiler(HelperPath("pipe_child.exe") + " gbksplit");
    m_session->Command(ID_COMPILE);
    EXPECT_TRUE(Contains(Output(), "ab" + std::string("中") + "cd")) << Output();
}

TEST_F(BuildCommands, TheTemporaryFolderServesWhenTheDriveRootCannotBeWritten)
{
    OpenSource("fallback.asm");
    CBatchFile::SetPreferredPath("c:\\no-such-folder\\temp.bat");
    m_session->Command(ID_COMPILE);
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
    CBatchFile::SetPreferredPath(folder + "\\temp.bat");
    m_session->Command(ID_COMPILE);
    EXPECT_TRUE(Contains(Output(), "standin_tool.exe quoted.asm;")) << Output();
    EXPECT_EQ(m_commands, std::vector<std::string>{Quoted(folder + "\\temp.bat")});
}

TEST_F(BuildCommands, NoPlaceForTheBatchFileIsReported)
{
    OpenSource("nowhere.asm");
    CBatchFile::SetPreferredPath("c:\\no-such-folder\\temp.bat");
    char saved[MAX_PATH * 2] = "";
    ::GetEnvironmentVariableA("TMP", saved, sizeof saved);
    ::SetEnvironmentVariableA("TMP", "c:\\no-such-folder");
    m_session->Command(ID_COMPILE);
    ::SetEnvironmentVariableA("TMP", saved[0] ? saved : nullptr);
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("不能创建编译所需的批处理文件"));
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}
