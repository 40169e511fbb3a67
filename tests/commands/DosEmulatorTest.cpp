// DOS tools and programs on a system that cannot run them (Wine, like 64-bit Windows),
// through the real frame: Korvane's own machine when no emulator is set, MS-DOS Player and DOSBox
// stand-ins running the build steps, the built program and the debugger, the configuration
// files DOSBox is given, its redirected output in the panel, its exit code, Stop, and the
// 8.3 names it needs. The DOS programs are files with an "MZ" header and nothing else; the
// source folder has a blank and cmd's special characters in its name.
#include "build/DosProgram.h"
#include "build/DosRoute.h"
#include "frame/MainFrame.h"
#include "framework/PathName.h"
#include "framework/Services.h"
#include "framework/Unicode.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/RecordingProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {
std::string ToUpper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

const char kBatchPath[] = "c:\\temp.bat";
// A DOS program for all that can be told without running it: an "MZ" header and nothing more.
const std::string kDosProgram = "MZ" + std::string(0x3E, '\0');

// The text between the first occurrence of before (after start) and the following after.
std::string Between(const std::string& text, const std::string& before, const std::string& after, size_t start = 0)
{
    const size_t from = text.find(before, start);
    if (from == std::string::npos)
        return {};
    const size_t to = text.find(after, from + before.size());
    return to == std::string::npos ? std::string() : text.substr(from + before.size(), to - from - before.size());
}

void SetEnvironment(const wchar_t* name, const std::string& value)
{
    ::SetEnvironmentVariableW(name, value.empty() ? nullptr : Widen(value).c_str());
}

std::string Doubled(const std::string& path)
{
    std::string doubled;
    for (char ch : path)
        doubled += ch == '%' ? "%%" : std::string(1, ch);
    return doubled;
}
}

class DosEmulator : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::DeleteFileA(kBatchPath);
        SetEnvironment(L"KORVANE_STANDIN_LOG", m_log);
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
        Frame().SetPipeProcess(std::make_unique<RecordingProcess>(m_commands, &m_batches));
        MakeFolder(m_source);
        WriteFileBytes(Tool("masm.exe"), kDosProgram);
        WriteFileBytes(Tool("link.exe"), kDosProgram);
        OpenSource("hello.asm");
        UseEmulator("", "");
    }
    void TearDown() override
    {
        m_session.reset();
        for (const wchar_t* name :
             {L"KORVANE_STANDIN_LOG", L"KORVANE_STANDIN_HANG", L"KORVANE_STANDIN_EXIT_CODE", L"KORVANE_STANDIN_TOOL_CODE"})
            SetEnvironment(name, "");
        AppServices().systemRunsDosPrograms.reset();
        ::DeleteFileA(kBatchPath);
    }
    CMainFrame& Frame() const { return m_session->Frame(); }
    std::string Tool(const std::string& name) const { return m_tools + "\\" + name; }
    std::string Log() const { return ReadFileBytes(m_log); }
    std::string Output() const { return OutputWindow(Frame()).GetWindowText(); }
    // The helper program copied under that name into a folder with a blank, and set as the
    // emulator (none for an empty helper); MASM is the toolchain.
    std::string UseEmulator(const std::string& helper, const std::string& name)
    {
        const std::string emulator = helper.empty() ? "" : m_emulators + "\\" + name;
        if (!helper.empty()) {
            EXPECT_TRUE(::CopyFileW(Widen(HelperPath(helper)).c_str(), Widen(emulator).c_str(), FALSE));
        }
        Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, Tool("masm.exe"), Tool("link.exe"), emulator});
        return emulator;
    }
    void OpenSource(const std::string& name)
    {
        WriteFileBytes(m_source + "\\" + name, "nop\r\n");
        ASSERT_NE(AfxGetApp()->OpenDocumentFile(m_source + "\\" + name), nullptr);
    }
    void RunCommand(UINT id)
    {
        m_session->Command(id);
        EXPECT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    }
    // What the DOSBox stand-in logged of each of its runs.
    struct DosBoxRun {
        std::string commandLine;
        std::string configFile;
        std::string config;
    };
    std::vector<DosBoxRun> DosBoxRuns() const
    {
        const std::string log = Log();
        const std::string start = "dosbox_standin command line: ";
        std::vector<DosBoxRun> runs;
        for (size_t at = log.find(start); at != std::string::npos; at = log.find(start, at + 1)) {
            runs.push_back(DosBoxRun{Between(log, start, "\r\n", at), Between(log, "-conf \"", "\"", at),
                                     Between(log, "dosbox_standin config:\r\n", "dosbox_standin end of config", at)});
        }
        return runs;
    }

    ScratchDir m_dir{"dos-emulator"};
    const std::string m_source = m_dir.Folder("my work") + "\\a&b (1) 100%";
    const std::string m_tools = m_dir.Folder("dos tools");
    const std::string m_emulators = m_dir.Folder("emulator dir");
    const std::string m_log = m_dir.File("standin.log");
    MessageBoxRecorder m_boxes;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_batches;
    std::unique_ptr<KorvaneSession> m_session;
};

TEST_F(DosEmulator, WithoutOneTheBuiltInMachineRunsEachToolAndAnUnknownOneIsReported)
{
    // The tools here are only headers, which the machine refuses: each step runs alone.
    RunCommand(ID_COMPILE);
    RunCommand(ID_LINK);
    EXPECT_TRUE(m_boxes.Texts().empty());
    ASSERT_EQ(m_batches.size(), 2u);
    const std::string machine = Quoted(BuiltInMachine().Utf8());
    EXPECT_TRUE(EndsWith(m_batches[0], machine + " " + Quoted(Tool("masm.exe")) + " hello.asm;\r\n")) << m_batches[0];
    EXPECT_TRUE(EndsWith(m_batches[1], machine + " " + Quoted(Tool("link.exe")) + " hello;\r\n")) << m_batches[1];

    // One set by hand in the registry, of no kind its name tells.
    const size_t started = m_commands.size();
    m_boxes.Clear();
    Frame().SetCompilerSettings(CompilerSettings{CompilerType::Masm, Tool("masm.exe"), "", "c:\\emu\\qemu.exe"});
    RunCommand(ID_COMPILE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"不认识这个 DOS 模拟器：c:\\emu\\qemu.exe。DOS 模拟器的文件名要以 "
                                                        "dosbox（DOSBox、DOSBox-X、DOSBox Staging）或 msdos（MS-DOS "
                                                        "Player）开头。"});
    EXPECT_EQ(m_commands.size(), started);
    EXPECT_EQ(Log(), "");
}

TEST_F(DosEmulator, MsDosPlayerRunsEachToolInTheSourceFolderWithItsOutputCaptured)
{
    const std::string emulator = UseEmulator("standin_tool.exe", "msdos.exe");
    // MS-DOS Player ends with its program's exit code, which is the step's.
    SetEnvironment(L"KORVANE_STANDIN_EXIT_CODE", "2");
    RunCommand(ID_BUILD);
    EXPECT_TRUE(EndsWith(Output(), "编译结束，退出码 2。\r\n编译失败，未连接。\r\n")) << Output();
    SetEnvironment(L"KORVANE_STANDIN_EXIT_CODE", "");
    m_batches.clear();
    ::DeleteFileW(Widen(m_log).c_str());
    RunCommand(ID_BUILD);
    EXPECT_TRUE(m_boxes.Texts().empty());
    ASSERT_EQ(m_batches.size(), 2u);
    const std::string change = "\r\ncd /d \"" + Doubled(m_source) + "\"\r\n";
    const std::string compile = Quoted(emulator) + " " + Quoted(Tool("masm.exe")) + " hello.asm;";
    const std::string link = Quoted(emulator) + " " + Quoted(Tool("link.exe")) + " hello;";
    EXPECT_TRUE(EndsWith(m_batches[0], change + compile + "\r\n")) << m_batches[0];
    EXPECT_TRUE(EndsWith(m_batches[1], change + link + "\r\n")) << m_batches[1];
    EXPECT_EQ(Log(), "standin_tool command line: " + compile + "\r\nstandin_tool directory: " + m_source + "\r\n" +
                         "standin_tool command line: " + link + "\r\nstandin_tool directory: " + m_source + "\r\n");
    const std::string output = Output();
    EXPECT_TRUE(Contains(output, "standin_tool stderr line")) << output;
    EXPECT_TRUE(EndsWith(output, "standin_tool stderr line\r\n连接结束，退出码 0。\r\n")) << output;
}

// DOSBox itself ends with 0 whatever its tool did: the tool's own exit code comes back through
// the file the batch file beside the configuration writes.
TEST_F(DosEmulator, DosBoxRunsEachStepFromItsConfigurationAndShowsTheRedirectedOutputAndExitCode)
{
    const std::string emulator = UseEmulator("dosbox_standin.exe", "DOSBox.exe");
    SetEnvironment(L"KORVANE_STANDIN_TOOL_CODE", "4");
    RunCommand(ID_BUILD);
    EXPECT_TRUE(m_boxes.Texts().empty());
    ASSERT_EQ(m_batches.size(), 1u);
    const std::string configFile = Between(m_batches[0], Quoted(emulator) + " -conf \"", "\" -noconsole\r\n");
    ASSERT_FALSE(configFile.empty()) << m_batches[0];
    std::vector<DosBoxRun> runs = DosBoxRuns();
    ASSERT_EQ(runs.size(), 1u) << Log();
    EXPECT_EQ(runs[0].configFile, configFile);
    const std::string batchFile = configFile.substr(0, configFile.rfind('.')) + ".BAT";
    EXPECT_EQ(runs[0].config, "[autoexec]\r\n"
                              "mount c \"" + Doubled(m_source) + "\"\r\n"
                              "mount d \"" + m_tools + "\"\r\n"
                              "mount e " + SplitPath(configFile).folder + "\r\n"
                              "c:\r\n"
                              "call E:\\" + ToUpper(SplitPath(batchFile).name) + "\r\n"
                              "exit\r\n");
    // The tool's redirected output, in GBK, then the tool's exit code: a failed compile.
    EXPECT_TRUE(EndsWith(Output(), "ran " + Tool("MASM.EXE") + " hello.asm; in " + m_source + "\r\n汇编结束\r\n" +
                                       "编译结束，退出码 4。\r\n编译失败，未连接。\r\n"))
        << Output();
    for (const std::string& left : {configFile, batchFile, m_source + "\\KORVANE.OUT", m_source + "\\KORVANE.RET",
                                    std::string(kBatchPath)})
        EXPECT_FALSE(FileExists(left)) << left;

    SetEnvironment(L"KORVANE_STANDIN_TOOL_CODE", "");
    RunCommand(ID_BUILD);
    EXPECT_EQ(DosBoxRuns().size(), 3u) << Log();
    const std::string output = Output();
    EXPECT_TRUE(Contains(output, "汇编结束\r\n编译结束，退出码 0。\r\n")) << output;
    EXPECT_TRUE(EndsWith(output, "ran " + Tool("LINK.EXE") + " hello; in " + m_source + "\r\n汇编结束\r\n连接结束，退出码 0。\r\n"))
        << output;
    EXPECT_FALSE(FileExists(m_source + "\\KORVANE.OUT"));
}

TEST_F(DosEmulator, StopEndsDosBoxAndDosBoxXStartsWithoutItsStartUpScreen)
{
    UseEmulator("dosbox_standin.exe", "dosbox-x.exe");
    SetEnvironment(L"KORVANE_STANDIN_HANG", "1");
    m_session->Command(ID_COMPILE);
    ASSERT_TRUE(WaitFor([&] { return Contains(Log(), "dosbox_standin pid: "); }));
    UniqueHandle emulator(::OpenProcess(SYNCHRONIZE, FALSE, std::stoul(Between(Log(), "dosbox_standin pid: ", "\r\n"))));
    ASSERT_TRUE(emulator);
    m_session->Command(ID_STOP_BUILD);
    ASSERT_TRUE(WaitFor([&] { return !Frame().IsBuildRunning(); }));
    EXPECT_EQ(::WaitForSingleObject(emulator.get(), 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(EndsWith(Output(), "编译已停止。\r\n")) << Output();
    ASSERT_EQ(m_batches.size(), 1u);
    const std::string configFile = Between(m_batches[0], " -conf \"", "\" -fastlaunch\r\n");
    ASSERT_FALSE(configFile.empty()) << m_batches[0];
    EXPECT_FALSE(FileExists(configFile));
    EXPECT_FALSE(FileExists(m_source + "\\KORVANE.OUT"));
}

TEST_F(DosEmulator, DosBoxTakesOnlyEightDotThreeNames)
{
    UseEmulator("dosbox_standin.exe", "dosbox.exe");
    OpenSource("hello world.asm");
    RunCommand(ID_COMPILE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"DOSBox 中的文件名必须是 8.3 格式（名字最多 8 个字符，扩展名最多 3 "
                                                        "个字符，只用英文字母、数字和下划线）：hello world.asm"});
    EXPECT_TRUE(m_commands.empty());
    EXPECT_FALSE(FileExists(kBatchPath));
    EXPECT_EQ(Log(), "");
}

TEST_F(DosEmulator, RunAndDebugStartMsDosPlayerWithTheProgram)
{
    const std::string emulator = UseEmulator("standin_tool.exe", "msdos.exe");
    const std::string program = m_source + "\\hello.exe";
    WriteFileBytes(program, kDosProgram);
    m_session->Command(ID_DEBUG);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"没有找到 DEBUG.EXE 或 DEBUG.COM：请把它放在编译器或 DOS 模拟器所在的"
                                                        "文件夹中，或在“选项 > 设置编译器...”中指定调试器。"});

    WriteFileBytes(Tool("debug.exe"), kDosProgram);
    // One after the other: two programs appending to one log at once may overwrite each other.
    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return Count(Log(), "standin_tool directory") == 1; })) << Log();
    m_session->Command(ID_DEBUG);
    ASSERT_TRUE(WaitFor([&] { return Count(Log(), "standin_tool directory") == 2; })) << Log();
    EXPECT_TRUE(Contains(Log(), "standin_tool command line: " + Quoted(emulator) + " " + Quoted(program) + "\r\n"))
        << Log();
    EXPECT_TRUE(Contains(Log(), "standin_tool command line: " + Quoted(emulator) + " " + Quoted(Tool("debug.exe")) +
                                    " " + Quoted(program) + "\r\n"))
        << Log();

    // A tiny-model program, and the toolchain's own debugger (FreeDOS's DEBUG.COM).
    const std::string comProgram = m_source + "\\hello.com";
    WriteFileBytes(comProgram, "\xB4\x4C\xCD\x21");
    CompilerSettings settings = Frame().GetCompilerSettings();
    settings.m_strDebuggerPath = m_emulators + "\\DEBUG.COM";
    WriteFileBytes(settings.m_strDebuggerPath, "\xCD\x20");
    Frame().SetCompilerSettings(settings);
    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return Count(Log(), "standin_tool directory") == 3; })) << Log();
    m_session->Command(ID_DEBUG);
    ASSERT_TRUE(WaitFor([&] { return Count(Log(), "standin_tool directory") == 4; })) << Log();
    EXPECT_TRUE(Contains(Log(), "standin_tool command line: " + Quoted(emulator) + " " + Quoted(comProgram) + "\r\n"))
        << Log();
    EXPECT_TRUE(Contains(Log(), "standin_tool command line: " + Quoted(emulator) + " " +
                                    Quoted(settings.m_strDebuggerPath) + " " + Quoted(comProgram) + "\r\n"))
        << Log();
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
}

TEST_F(DosEmulator, RunAndDebugLeaveDosBoxAtItsPromptWithTheProgramOnC)
{
    const std::string emulator = UseEmulator("dosbox_standin.exe", "dosbox.exe");
    WriteFileBytes(m_source + "\\hello.exe", kDosProgram);
    // Not beside the compiler: beside the emulator.
    WriteFileBytes(m_emulators + "\\debug.exe", kDosProgram);

    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return Contains(Log(), "ran " + m_source + "\\HELLO.EXE in " + m_source); })) << Log();
    m_session->Command(ID_DEBUG);
    ASSERT_TRUE(WaitFor([&] { return Contains(Log(), "ran " + m_emulators + "\\DEBUG.EXE HELLO.EXE in " + m_source); }))
        << Log();
    const std::vector<DosBoxRun> runs = DosBoxRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(Contains(runs[0].config, "exit")) << runs[0].config;
    for (const DosBoxRun& run : runs) {
        EXPECT_EQ(run.commandLine, Quoted(emulator) + " -conf " + Quoted(run.configFile) + " -noconsole");
        // Each configuration goes once its emulator has ended.
        EXPECT_TRUE(WaitFor([&] { return !FileExists(run.configFile); })) << run.configFile;
    }
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(DosEmulator, WhereTheSystemRunsDosProgramsTheToolRunsAsItIs)
{
    UseEmulator("standin_tool.exe", "msdos.exe");
    AppServices().systemRunsDosPrograms = true;
    RunCommand(ID_COMPILE);
    ASSERT_EQ(m_batches.size(), 1u);
    EXPECT_TRUE(EndsWith(m_batches[0], "\"\r\n" + Quoted(Tool("masm.exe")) + " hello.asm;\r\n")) << m_batches[0];
    EXPECT_EQ(Log(), "");
}
