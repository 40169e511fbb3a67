// The process runner with captured output, with tests/helpers/pipe_child.exe and
// standin_tool.exe as children.
#include "build/PipeProcess.h"

#include "HandleCount.h"

#include "framework/Strings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Helper(const std::string& name)
{
    return ExecutableDir() + "\\" + name + ".exe";
}

std::string ChildCommand(const std::string& arguments)
{
    return "\"" + Helper("pipe_child") + "\" " + arguments;
}

std::vector<std::string> ReadAll(CPipeProcess& process)
{
    std::vector<std::string> pieces;
    for (;;) {
        std::string piece = process.ReadChunk();
        if (piece.empty())
            break;
        pieces.push_back(piece);
    }
    return pieces;
}

std::string Join(const std::vector<std::string>& pieces)
{
    std::string all;
    for (const auto& piece : pieces)
        all += piece;
    return all;
}

std::string Pattern(size_t total)
{
    std::string bytes;
    for (size_t i = 0; i < total; ++i)
        bytes += static_cast<char>('A' + i % 61);
    return bytes;
}


DWORD HandleCount()
{
    return OwnHandleCount();
}

}

// Every test records the runner's message boxes, so that none is ever shown.
//
// Wine without its preloader (as Debian ships it) now and then fails to start a child while
// the address space is laid out ("failed to map the shared user data"), and CreateProcessA
// reports ERROR_INTERNAL_ERROR. StartChild tries such a start again, a few times at most;
// every other failure counts.
class PipeProcessTest : public ::testing::Test {
protected:
    bool StartChild(CPipeProcess& process, const std::string& command)
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            size_t shown = m_recorder.Boxes().size();
            if (process.Start(command))
                return true;
            auto boxes = m_recorder.Boxes();
            if (boxes.size() != shown + 1 || !IsWineStartFlake(boxes.back()))
                return false;
            ++m_nRetried;
        }
        return false;
    }

    static bool IsWineStartFlake(const RecordedMessageBox& box)
    {
        return box.text == SystemErrorText(ERROR_INTERNAL_ERROR);
    }

    // The boxes shown, less those of starts that StartChild tried again.
    std::vector<RecordedMessageBox> Boxes() const
    {
        std::vector<RecordedMessageBox> boxes;
        for (const auto& box : m_recorder.Boxes()) {
            if (!IsWineStartFlake(box))
                boxes.push_back(box);
        }
        return boxes;
    }

    // Runs the command to its end and returns everything it wrote.
    std::string Capture(const std::string& command)
    {
        CPipeProcess process;
        EXPECT_TRUE(StartChild(process, command)) << command;
        return Join(ReadAll(process));
    }

    MessageBoxRecorder m_recorder;
    int m_nRetried = 0;
};

TEST_F(PipeProcessTest, ConstructionZeroesTheRecords)
{
    CPipeProcess process;
    const auto* info = reinterpret_cast<const unsigned char*>(&process.m_processInfo);
    const auto* startup = reinterpret_cast<const unsigned char*>(&process.m_startupInfo);
    const auto* attributes = reinterpret_cast<const unsigned char*>(&process.m_pipeAttributes);
    for (size_t i = 0; i < sizeof process.m_processInfo; ++i)
        ASSERT_EQ(0, info[i]);
    for (size_t i = 0; i < sizeof process.m_startupInfo; ++i)
        ASSERT_EQ(0, startup[i]);
    for (size_t i = 0; i < sizeof process.m_pipeAttributes; ++i)
        ASSERT_EQ(0, attributes[i]);
    // Draining an object that never started is harmless.
    EXPECT_EQ("", process.ReadChunk());
}

TEST_F(PipeProcessTest, PreparePipeMakesAnInheritablePipeAndAHiddenStartup)
{
    CPipeProcess process;
    ASSERT_TRUE(process.PreparePipe());
    EXPECT_EQ(sizeof(SECURITY_ATTRIBUTES), process.m_pipeAttributes.nLength);
    EXPECT_EQ(nullptr, process.m_pipeAttributes.lpSecurityDescriptor);
    EXPECT_TRUE(process.m_pipeAttributes.bInheritHandle);
    EXPECT_EQ(sizeof(STARTUPINFOA), process.m_startupInfo.cb);
    EXPECT_EQ(static_cast<DWORD>(STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES), process.m_startupInfo.dwFlags);
    EXPECT_EQ(0x101u, process.m_startupInfo.dwFlags);
    EXPECT_EQ(SW_HIDE, process.m_startupInfo.wShowWindow);
    EXPECT_EQ(process.m_hWritePipe, process.m_startupInfo.hStdOutput);
    EXPECT_EQ(process.m_hWritePipe, process.m_startupInfo.hStdError);
    DWORD flags = 0;
    ASSERT_TRUE(::GetHandleInformation(process.m_hReadPipe, &flags));
    EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
    ASSERT_TRUE(::GetHandleInformation(process.m_hWritePipe, &flags));
    EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
    // The two ends are one pipe.
    DWORD written = 0, read = 0;
    char buffer[8] = {};
    ASSERT_TRUE(::WriteFile(process.m_hWritePipe, "ping", 4, &written, nullptr));
    ASSERT_TRUE(::ReadFile(process.m_hReadPipe, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ("ping", std::string(buffer, read));
    ::CloseHandle(process.m_hWritePipe);
    ::CloseHandle(process.m_hReadPipe);
    process.m_hWritePipe = nullptr;
    process.m_hReadPipe = nullptr;
}

TEST_F(PipeProcessTest, NoOutputGivesAnEmptyFirstPiece)
{
    CPipeProcess process;
    ASSERT_TRUE(StartChild(process, ChildCommand("silent")));
    EXPECT_EQ(nullptr, process.m_hWritePipe); // the parent's write end is closed at once
    EXPECT_EQ("", process.ReadChunk());
    EXPECT_EQ("", process.ReadChunk());
}

TEST_F(PipeProcessTest, ShortOutputArrivesWhole)
{
    EXPECT_EQ("hello korvane\n", Capture(ChildCommand("echo hello korvane")));
}

TEST_F(PipeProcessTest, LongOutputArrivesInOrderInPiecesOfAtMost4095Bytes)
{
    for (size_t total : {4095u, 4096u, 100000u}) {
        SCOPED_TRACE(total);
        CPipeProcess process;
        ASSERT_TRUE(StartChild(process, ChildCommand("pattern " + std::to_string(total))));
        std::vector<std::string> pieces = ReadAll(process);
        for (const auto& piece : pieces)
            EXPECT_LE(piece.size(), 4095u);
        if (total > 4095) {
            EXPECT_GE(pieces.size(), 2u);
        }
        EXPECT_EQ(Pattern(total), Join(pieces));
    }
}

TEST_F(PipeProcessTest, OneWriteLargerThanTheBufferIsSplit)
{
    CPipeProcess process;
    ASSERT_TRUE(StartChild(process, ChildCommand("pattern 20000 20000")));
    std::vector<std::string> pieces = ReadAll(process);
    EXPECT_GE(pieces.size(), 5u);
    for (const auto& piece : pieces)
        EXPECT_LE(piece.size(), 4095u);
    EXPECT_EQ(Pattern(20000), Join(pieces));
}

TEST_F(PipeProcessTest, StandardErrorAndOutputShareOneStreamInWriteOrder)
{
    std::string expected;
    for (int i = 1; i <= 200; ++i)
        expected += "out " + std::to_string(i) + "\nerr " + std::to_string(i) + "\n";
    EXPECT_EQ(expected, Capture(ChildCommand("interleave 200")));
}

TEST_F(PipeProcessTest, AZeroByteCutsTheRestOfItsRead)
{
    CPipeProcess process;
    ASSERT_TRUE(StartChild(process, ChildCommand("zero")));
    EXPECT_EQ("abc", process.ReadChunk());
    EXPECT_EQ("ghi", process.ReadChunk());
    EXPECT_EQ("", process.ReadChunk());
}

TEST_F(PipeProcessTest, AReadStartingWithAZeroByteDoesNotEndTheOutput)
{
    EXPECT_EQ("visible", Capture(ChildCommand("leadzero")));
}

TEST_F(PipeProcessTest, DoubleByteCharacterSplitAcrossReadsIsWholeWhenJoined)
{
    CPipeProcess process;
    ASSERT_TRUE(StartChild(process, ChildCommand("gbksplit")));
    std::vector<std::string> pieces = ReadAll(process);
    EXPECT_EQ(2u, pieces.size());
    EXPECT_EQ(Gbk("ab中cd"), Join(pieces));
}

TEST_F(PipeProcessTest, ChildInheritsTheCurrentDirectoryAndRunsHidden)
{
    ScratchDir dir("pipe-cwd");
    char previous[MAX_PATH * 4];
    ::GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(dir.Path().c_str()));
    std::string command = "\"" + Helper("standin_tool") + "\" hello.asm;";
    std::string output = Capture(command);
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ("standin_tool command line: " + command + "\r\n" + "standin_tool directory: " + dir.Path() + "\r\n" +
                  "standin_tool stdout line\r\n" + "standin_tool stderr line\r\n",
              output);
}

TEST_F(PipeProcessTest, ChildInheritsTheEnvironment)
{
    ScratchDir dir("pipe-env");
    std::string log = dir.File("standin.log");
    ASSERT_TRUE(::SetEnvironmentVariableA("KORVANE_STANDIN_LOG", log.c_str()));
    std::string command = "\"" + Helper("standin_tool") + "\" a b";
    std::string output = Capture(command);
    ::SetEnvironmentVariableA("KORVANE_STANDIN_LOG", nullptr);
    EXPECT_NE(std::string::npos, output.find("standin_tool stderr line"));
    EXPECT_EQ(0u, ReadFileBytes(log).find("standin_tool command line: " + command + "\r\n"));
}

TEST_F(PipeProcessTest, BatchFileRunsThroughTheInterpreterWithItsOutputCaptured)
{
    ScratchDir dir("pipe-batch");
    std::string batch = dir.File("t.bat");
    WriteFileBytes(batch, "@echo off\r\necho from batch\r\n\"" + Helper("pipe_child") + "\" echo child line\r\n");
    std::string output = Capture(batch);
    EXPECT_NE(std::string::npos, output.find("from batch")) << output;
    EXPECT_NE(std::string::npos, output.find("child line\n")) << output;
}

TEST_F(PipeProcessTest, MissingProgramShowsTheSystemTextAndFails)
{
    CPipeProcess process;
    EXPECT_FALSE(process.Start("korvane-no-such-program-1b2c.exe argument"));
    auto boxes = Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND), boxes[0].text);
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes[0].type);
    EXPECT_EQ("Korvane", boxes[0].caption);
    // A failed start keeps nothing and leaves the object ready for the next start.
    EXPECT_EQ(nullptr, process.m_hReadPipe);
    EXPECT_EQ(nullptr, process.m_hWritePipe);
    EXPECT_EQ(nullptr, process.m_processInfo.hProcess);
    EXPECT_EQ(nullptr, process.m_processInfo.hThread);
    EXPECT_EQ("", process.ReadChunk());
    m_recorder.Clear();
    ASSERT_TRUE(StartChild(process, ChildCommand("echo again")));
    EXPECT_EQ("again\n", Join(ReadAll(process)));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PipeProcessTest, EmptyCommandLineFailsWithAMessage)
{
    CPipeProcess process;
    EXPECT_FALSE(process.Start(""));
    EXPECT_FALSE(process.Start(static_cast<const char*>(nullptr)));
    auto boxes = Boxes();
    ASSERT_EQ(2u, boxes.size());
    for (const auto& box : boxes) {
        EXPECT_FALSE(box.text.empty());
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), box.type);
    }
}

TEST_F(PipeProcessTest, LastErrorTextIsTheSystemTextOrTheErrorNumber)
{
    CPipeProcess process;
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND, 100), process.LastErrorText());
    // A code the system has no text for still says something.
    ::SetLastError(0x2345678);
    std::string unknown = process.LastErrorText();
    EXPECT_FALSE(unknown.empty());
    EXPECT_EQ(SystemErrorText(0x2345678, 100), unknown);
}

TEST_F(PipeProcessTest, LongCommandLinesRunWholeWithoutOverrun)
{
    std::string command99 = ChildCommand("echo ");
    ASSERT_LT(command99.size(), 99u) << "helper path too long for this check";
    command99 += std::string(99 - command99.size(), 'n');
    ASSERT_EQ(99u, command99.size());
    EXPECT_EQ(command99.substr(command99.find("echo ") + 5) + "\n", Capture(command99));

    for (size_t length : {100u, 101u, 500u, 5000u}) {
        SCOPED_TRACE(length);
        std::string command = ChildCommand("echo ");
        size_t prefix = command.size();
        for (size_t i = 0; command.size() < length; ++i)
            command += static_cast<char>('a' + i % 26);
        ASSERT_EQ(length, command.size());
        EXPECT_EQ(command.substr(prefix) + "\n", Capture(command));
    }
}

TEST_F(PipeProcessTest, TooLongCommandLineFailsWithAMessage)
{
    CPipeProcess process;
    std::string command = ChildCommand("echo " + std::string(40000, 'z'));
    EXPECT_FALSE(process.Start(command));
    auto boxes = Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes[0].type);
}

TEST_F(PipeProcessTest, DrainedRunReleasesItsHandles)
{
    CPipeProcess process;
    ASSERT_TRUE(StartChild(process, ChildCommand("echo x")));
    EXPECT_NE(nullptr, process.m_hReadPipe);
    EXPECT_NE(nullptr, process.m_processInfo.hProcess);
    EXPECT_NE(nullptr, process.m_processInfo.hThread);
    EXPECT_NE(0u, process.m_processInfo.dwProcessId);
    EXPECT_EQ("x\n", process.ReadChunk());
    EXPECT_EQ("", process.ReadChunk());
    EXPECT_EQ(nullptr, process.m_hReadPipe);
    EXPECT_EQ(nullptr, process.m_hWritePipe);
    EXPECT_EQ(nullptr, process.m_processInfo.hProcess);
    EXPECT_EQ(nullptr, process.m_processInfo.hThread);
}

TEST_F(PipeProcessTest, AThousandStartsLeakNoHandles)
{
    std::string command = ChildCommand("silent");
    {
        // Warm-up: whatever the first start loads for good is not a leak.
        CPipeProcess process;
        ASSERT_TRUE(StartChild(process, command));
        ReadAll(process);
        EXPECT_FALSE(process.Start("korvane-no-such-program-1b2c.exe"));
    }
    DWORD before = HandleCount();
    ASSERT_GT(before, 0u);
    CPipeProcess process; // reused, as the main frame does
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(StartChild(process, command)) << i << ": " << (m_recorder.Texts().empty() ? "" : m_recorder.Texts().back());
        ASSERT_EQ("", process.ReadChunk()) << i;
    }
    // The drained run holds nothing any more (its pipe, process and thread are closed).
    DWORD drained = HandleCount();
    EXPECT_LE(drained, before + 2) << "before " << before << ", after the drained starts " << drained;
    for (int i = 0; i < 100; ++i)
        ASSERT_FALSE(process.Start("korvane-no-such-program-1b2c.exe"));
    // A run left undrained is released by the next start and by the destructor.
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(StartChild(process, ChildCommand("echo left")));
    ReadAll(process);
    {
        CPipeProcess abandoned;
        ASSERT_TRUE(StartChild(abandoned, ChildCommand("echo left")));
    }
    DWORD after = HandleCount();
    EXPECT_LE(after, before + 8) << "before " << before << ", after " << after;
    EXPECT_EQ(101u, Boxes().size());
    if (m_nRetried > 0)
        std::printf("(%d starts failed inside Wine and were tried again)\n", m_nRetried);
}

// The leak checks above and in the registry tests rely on this count seeing handles at all.
TEST(HandleCountTest, SeesKernelAndRegistryHandles)
{
    DWORD before = OwnHandleCount();
    ASSERT_GT(before, 0u);
    HANDLE events[10];
    for (HANDLE& event : events)
        event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key));
    DWORD during = OwnHandleCount();
    EXPECT_GE(during, before + 11);
    ::RegCloseKey(key);
    for (HANDLE event : events)
        ::CloseHandle(event);
    EXPECT_LE(OwnHandleCount(), before + 1);
}
