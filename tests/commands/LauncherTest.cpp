// Run and debug: the command lines, the worker thread, the program's own console and
// current directory, and the system's message when the program is missing.
#include "build/ProgramLauncher.h"
#include "frame/MainFrame.h"
#include "framework/Mailbox.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/HandleCount.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
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
    // Opens name.asm of the scratch folder; with a program, name.exe is the stand-in tool.
    void OpenSource(const std::string& name, bool withProgram)
    {
        WriteFileBytes(m_dir.File(name + ".asm"), "nop\r\n");
        ASSERT_NE(AfxGetApp()->OpenDocumentFile(m_dir.File(name + ".asm")), nullptr);
        if (withProgram) {
            ASSERT_TRUE(::CopyFileA(HelperPath("standin_tool.exe").c_str(), m_dir.File(name + ".exe").c_str(), FALSE));
        }
    }

    ScratchDir m_dir{"launcher"};
    MessageBoxRecorder m_boxes;
    std::string m_log;
    std::unique_ptr<KorvaneSession> m_session;
};

TEST(LauncherCommandLines, AreBuiltFromTheSourceNameAndDirectory)
{
    auto source = [](const wchar_t* path) { return FilePath(path); };
    EXPECT_EQ(RunCommandLine(source(L"c:\\work\\hello.asm")), L"c:\\work\\hello");
    EXPECT_EQ(DebugCommandLine(source(L"debug.exe"), L"", source(L"c:\\work\\hello.asm")), L"debug.exe c:\\work\\hello.exe");
    // A fresh document: a lone backslash, and the debugger's ".exe" after it.
    EXPECT_EQ(RunCommandLine(FilePath()), L"\\");
    EXPECT_EQ(DebugCommandLine(source(L"debug.exe"), L"", FilePath()), L"debug.exe \\.exe");
    EXPECT_EQ(RunCommandLine(source(L"c:\\a.s")), L"c:\\");
    // Blanks are quoted; what only cmd.exe would act on is not.
    EXPECT_EQ(RunCommandLine(source(L"c:\\my work\\a&b 100%\\hello.asm")), L"\"c:\\my work\\a&b 100%\\hello\"");
    EXPECT_EQ(RunCommandLine(source(L"c:\\a&b(1)%\\hello.asm")), L"c:\\a&b(1)%\\hello");
    EXPECT_EQ(DebugCommandLine(source(L"c:\\dos tools\\td.exe"), L"/t", source(L"c:\\my work\\hello.asm")),
              L"\"c:\\dos tools\\td.exe\" /t \"c:\\my work\\hello.exe\"");
}

namespace {
void SetWriteTime(const std::string& path, int minutesAgo)
{
    HANDLE file = ::CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * 10000000;
    const FILETIME then{time.LowPart, time.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &then);
    ::CloseHandle(file);
}
}

// A tiny-model program is a .COM: it runs when it is newer than the .EXE, or alone.
TEST(LauncherCommandLines, RunTheComProgramWhereItIsTheNewerOne)
{
    ScratchDir dir("built-program");
    const FilePath source = FilePath::FromUtf8(dir.File("hello.asm"));
    struct Case {
        int exeAge;  // minutes; -1 for none
        int comAge;
        const char* runs;
    } cases[] = {{5, -1, "hello.exe"}, {-1, 5, "hello.com"}, {10, 5, "hello.com"}, {5, 10, "hello.exe"}};
    for (const Case& c : cases) {
        for (auto [name, age] : {std::pair{"hello.exe", c.exeAge}, std::pair{"hello.com", c.comAge}}) {
            ::DeleteFileW(Widen(dir.File(name)).c_str());
            if (age >= 0) {
                WriteFileBytes(dir.File(name), "MZ");
                SetWriteTime(dir.File(name), age);
            }
        }
        EXPECT_EQ(BuiltProgram(source).Name(), Widen(c.runs)) << c.exeAge << " " << c.comAge;
    }
    // The system adds ".exe" to a name without one, but never ".com".
    EXPECT_EQ(RunCommandLine(source), Widen(dir.File("hello")));
    ::DeleteFileW(Widen(dir.File("hello.exe")).c_str());
    EXPECT_EQ(RunCommandLine(source), Widen(dir.File("hello.com")));
}

// A boot sector the assembler wrote as a .bin or .img is what the debugger boots, where it is
// the newest of what the source was built to.
TEST(LauncherCommandLines, TheDebuggerTakesABootSectorWhereItIsTheNewest)
{
    ScratchDir dir("debugged-program");
    const FilePath source = FilePath::FromUtf8(dir.File("boot.asm"));
    struct Case {
        int comAge, binAge, imgAge;  // minutes; -1 for none
        const char* debugs;
    } cases[] = {{5, -1, -1, "boot.com"}, {10, 5, -1, "boot.bin"}, {5, 10, -1, "boot.com"},
                 {-1, -1, 5, "boot.img"}, {-1, 10, 5, "boot.img"}, {-1, 5, 10, "boot.bin"}};
    for (const Case& c : cases) {
        for (auto [name, age] : {std::pair{"boot.com", c.comAge}, std::pair{"boot.bin", c.binAge}, std::pair{"boot.img", c.imgAge}}) {
            ::DeleteFileW(Widen(dir.File(name)).c_str());
            if (age >= 0) {
                WriteFileBytes(dir.File(name), "\xEB\xFE");
                SetWriteTime(dir.File(name), age);
            }
        }
        EXPECT_EQ(DebuggedProgram(source, CompilerSettings{}).program.Name(), Widen(c.debugs)) << c.comAge << " " << c.binAge << " " << c.imgAge;
        EXPECT_EQ(BuiltProgram(source).Name(), c.comAge >= 0 ? L"boot.com" : L"boot.exe") << "a run takes the DOS program still";
    }
}

TEST_F(Launcher, RunStartsTheProgramInTheEnvironmentsDirectory)
{
    OpenSource("prog", true);
    OutputWindow(Frame()).SetWindowText("untouched");
    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return Log().find("directory") != std::string::npos; }));
    EXPECT_NE(Log().find("command line: " + m_dir.File("prog") + "\r\n"), std::string::npos) << Log();
    EXPECT_NE(Log().find("directory: " + CurrentDirectory() + "\r\n"), std::string::npos) << Log();
    EXPECT_EQ(OutputWindow(Frame()).GetWindowText(), "untouched");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(Launcher, RunQuotesAProgramPathWithBlanks)
{
    const std::string folder = m_dir.Folder("my programs");
    WriteFileBytes(folder + "\\hello.asm", "nop\r\n");
    ASSERT_TRUE(::CopyFileA(HelperPath("standin_tool.exe").c_str(), (folder + "\\hello.exe").c_str(), FALSE));
    ASSERT_NE(AfxGetApp()->OpenDocumentFile(folder + "\\hello.asm"), nullptr);
    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return Log().find("directory") != std::string::npos; }));
    EXPECT_NE(Log().find("command line: " + Quoted(folder + "\\hello") + "\r\n"), std::string::npos) << Log();
}

TEST_F(Launcher, TwoRunsStartTwoPrograms)
{
    OpenSource("twice", true);
    m_session->Command(ID_RUN);
    m_session->Command(ID_RUN);
    EXPECT_TRUE(WaitFor([&] { return Count(Log(), "command line") == 2; })) << Log();
}

// The system's own text, told by the window's thread, with the program named where the text
// has a place for it.
TEST_F(Launcher, AProgramThatCannotStartIsReportedByTheWindowsOwnThread)
{
    OpenSource("nothing", false);
    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return !m_boxes.Boxes().empty(); }));
    RecordedMessageBox box = m_boxes.Boxes()[0];
    EXPECT_EQ(box.text, SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.caption, "Korvane");
    EXPECT_EQ(box.owner, Frame().GetSafeHwnd());
    EXPECT_EQ(box.threadId, ::GetCurrentThreadId());

    m_boxes.Clear();
    OpenSource("garbage", false);
    WriteFileBytes(m_dir.File("garbage.exe"), std::string(512, '\x7f'));
    m_session->Command(ID_RUN);
    ASSERT_TRUE(WaitFor([&] { return !m_boxes.Boxes().empty(); }));
    const std::string text = m_boxes.Texts()[0];
    EXPECT_TRUE(Contains(text, m_dir.File("garbage.exe"))) << text;
    EXPECT_FALSE(Contains(text, "%1")) << text;
}

TEST_F(Launcher, DebugFindsTheDebuggerOnThePath)
{
    std::string tools = m_dir.File("tools");
    ::CreateDirectoryA(tools.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(HelperPath("standin_tool.exe").c_str(), (tools + "\\debug.exe").c_str(), FALSE));
    char path[32767];
    ::GetEnvironmentVariableA("PATH", path, sizeof path);
    ::SetEnvironmentVariableA("PATH", (tools + ";" + path).c_str());
    OpenSource("hello", false);
    m_session->Command(ID_DEBUG);
    bool ran = WaitFor([&] { return Log().find("command line") != std::string::npos; });
    ::SetEnvironmentVariableA("PATH", path);
    ASSERT_TRUE(ran);
    // The system has no debug.exe of its own: the one found is started by its full path.
    EXPECT_NE(Log().find("command line: " + tools + "\\debug.exe " + m_dir.File("hello.exe") + "\r\n"),
              std::string::npos)
        << Log();
}

// The launch on a worker of its own, handing its problem back to the test's thread, as run and
// debug start it.
class LauncherThread : public ::testing::Test {
protected:
    // Runs the command line to the end of its worker; the system's error it handed back, if any.
    bool Launch(const std::string& commandLine, DWORD* error)
    {
        LaunchCommand command;
        command.commandLine = Widen(commandLine);
        bool handedBack = false;
        std::optional<Problem> problem;
        UniqueHandle thread = RunOffThread<Result<void>>(
            m_mailbox, [command] { return LaunchProgram(command); },
            [&](const Result<void>& launched) {
                handedBack = true;
                if (!launched)
                    problem = launched.Error();
            });
        command.commandLine.assign(commandLine.size(), L'?');
        if (!thread || ::WaitForSingleObject(thread.get(), 10000) != WAIT_OBJECT_0 ||
            !WaitFor([&] { return handedBack; }))
            return false;
        if (problem)
            *error = problem->systemError;
        return problem.has_value();
    }

    CMailbox m_mailbox;
};

TEST_F(LauncherThread, OwnsAFullCopyOfALongCommandLine)
{
    DWORD error = 0;
    // The start fails on the name as given, not on a cut or overwritten copy.
    ASSERT_TRUE(Launch("c:\\" + std::string(300, 'x'), &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(LauncherThread, LeaksNoHandles)
{
    std::string program = Quoted(HelperPath("pipe_child.exe")) + " silent";
    DWORD error = 0;
    EXPECT_FALSE(Launch(program, &error)) << error;
    DWORD before = OwnHandleCount();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(Launch(program, &error)) << error;
    EXPECT_LE(OwnHandleCount(), before + 3);
}

// The window that started a run is gone before the worker hands back that the program did
// not start: the problem is dropped on the worker's side, and nothing reaches the window.
TEST_F(LauncherThread, AFailureWhoseWindowWentFirstIsDropped)
{
    LaunchCommand command;
    command.commandLine = L"korvane-no-such-program-1b2c.exe";
    bool handedBack = false;
    UniqueHandle thread;
    {
        CMailbox gone;
        thread = RunOffThread<Result<void>>(
            gone, [command] { return LaunchProgram(command); },
            [&handedBack](const Result<void>&) { handedBack = true; });
        ASSERT_TRUE(thread);
    }
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    PumpMessages();
    EXPECT_FALSE(handedBack);
    // The mailbox of the fixture, made afresh, still takes what its own worker hands back.
    DWORD error = 0;
    EXPECT_TRUE(Launch("korvane-no-such-program-1b2c.exe", &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
