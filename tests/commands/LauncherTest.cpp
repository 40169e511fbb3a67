// Run and debug: the command lines, the worker thread, the program's own console and
// current directory, and the system's message when the program is missing.
#include "build/ProgramLauncher.h"
#include "frame/MainFrame.h"
#include "framework/Strings.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
// Polls until the condition holds or a generous deadline passes.
template <typename Condition> bool Eventually(Condition condition)
{
    for (int i = 0; i < 300; ++i) {
        if (condition())
            return true;
        PumpMessages();
        ::Sleep(20);
    }
    return condition();
}

std::string CurrentDirectory()
{
    char dir[MAX_PATH * 2] = "";
    ::GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}
}

class Launcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_log = m_dir.File("ran.log");
        ::SetEnvironmentVariableA("KORVANE_STANDIN_LOG", m_log.c_str());
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
    }
    void TearDown() override
    {
        m_session.reset();
        ::SetEnvironmentVariableA("KORVANE_STANDIN_LOG", nullptr);
    }
    CMainFrame& Frame() const { return m_session->Frame(); }
    std::string Log() const { return ReadFileBytes(m_log); }

    ScratchDir m_dir{"launcher"};
    MessageBoxRecorder m_boxes;
    std::string m_log;
    std::unique_ptr<KorvaneSession> m_session;
};

TEST(LauncherCommandLines, AreBuiltFromTheSourceNameAndDirectory)
{
    EXPECT_EQ(RunCommandLine("c:\\work", "hello.asm"), "c:\\work\\hello");
    EXPECT_EQ(DebugCommandLine("c:\\work", "hello.asm"), "debug.exe c:\\work\\hello.exe");
    // A fresh document: a lone backslash, and the debugger's ".exe" after it.
    EXPECT_EQ(RunCommandLine("", ""), "\\");
    EXPECT_EQ(DebugCommandLine("", ""), "debug.exe \\.exe");
    EXPECT_EQ(RunCommandLine("c:", "a.s"), "c:\\");
}

TEST_F(Launcher, RunStartsTheProgramInTheEnvironmentsDirectory)
{
    Frame().m_strSourceDir = ExecutableDir();
    Frame().m_strSourceName = "standin_tool.asm";
    Frame().m_wndOutput.SetWindowText("untouched");
    m_session->Command(ID_RUN);
    ASSERT_TRUE(Eventually([&] { return Log().find("directory") != std::string::npos; }));
    EXPECT_NE(Log().find("command line: " + ExecutableDir() + "\\standin_tool\r\n"), std::string::npos) << Log();
    EXPECT_NE(Log().find("directory: " + CurrentDirectory() + "\r\n"), std::string::npos) << Log();
    EXPECT_STREQ(Frame().m_pszCommand, (ExecutableDir() + "\\standin_tool").c_str());
    EXPECT_EQ(Frame().m_wndOutput.GetWindowText(), "untouched");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(Launcher, TwoRunsStartTwoPrograms)
{
    Frame().m_strSourceDir = ExecutableDir();
    Frame().m_strSourceName = "standin_tool.asm";
    m_session->Command(ID_RUN);
    m_session->Command(ID_RUN);
    auto runs = [&] {
        std::string log = Log();
        size_t count = 0;
        for (size_t at = log.find("command line"); at != std::string::npos; at = log.find("command line", at + 1))
            ++count;
        return count;
    };
    EXPECT_TRUE(Eventually([&] { return runs() == 2; })) << Log();
}

TEST_F(Launcher, AMissingProgramShowsTheSystemsText)
{
    Frame().m_strSourceDir = m_dir.Path();
    Frame().m_strSourceName = "nothing.asm";
    m_session->Command(ID_RUN);
    ASSERT_TRUE(Eventually([&] { return !m_boxes.Boxes().empty(); }));
    RecordedMessageBox box = m_boxes.Boxes()[0];
    EXPECT_EQ(box.text, SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.caption, "Korvane");
}

TEST_F(Launcher, DebugFindsTheDebuggerOnThePath)
{
    std::string tools = m_dir.File("tools");
    ::CreateDirectoryA(tools.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((ExecutableDir() + "\\standin_tool.exe").c_str(), (tools + "\\debug.exe").c_str(), FALSE));
    char path[32767];
    ::GetEnvironmentVariableA("PATH", path, sizeof path);
    ::SetEnvironmentVariableA("PATH", (tools + ";" + path).c_str());
    Frame().m_strSourceDir = "c:\\work";
    Frame().m_strSourceName = "hello.asm";
    m_session->Command(ID_DEBUG);
    bool ran = Eventually([&] { return Log().find("command line") != std::string::npos; });
    ::SetEnvironmentVariableA("PATH", path);
    ASSERT_TRUE(ran);
    EXPECT_NE(Log().find("command line: debug.exe c:\\work\\hello.exe\r\n"), std::string::npos) << Log();
}

TEST(LauncherThread, OwnsAFullCopyOfALongCommandLine)
{
    MessageBoxRecorder boxes;
    std::string longName(300, 'x');
    std::string commandLine = "c:\\" + longName;
    UniqueHandle thread = LaunchProgramAsync(commandLine);
    commandLine.assign(commandLine.size(), '?');
    ASSERT_TRUE(thread);
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    // The start failed on the name as given, not on a cut or overwritten copy.
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SystemErrorText(ERROR_FILE_NOT_FOUND));
}

TEST(LauncherThread, LeaksNoHandles)
{
    std::string program = ExecutableDir() + "\\pipe_child.exe silent";
    auto runOnce = [&] {
        UniqueHandle thread = LaunchProgramAsync(program);
        ::WaitForSingleObject(thread.get(), 10000);
    };
    runOnce();
    DWORD before = 0, after = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &before);
    for (int i = 0; i < 50; ++i)
        runOnce();
    ::GetProcessHandleCount(::GetCurrentProcess(), &after);
    EXPECT_LE(after, before + 3);
}
