// The process runner with captured output, with tests/helpers/pipe_child.exe and
// standin_tool.exe as children.
#include "build/PipeProcess.h"

#include "support/HandleCount.h"

#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string ChildCommand(const std::string& arguments)
{
    return Quoted(HelperPath("pipe_child.exe")) + " " + arguments;
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

}

// Wine without its preloader (as Debian ships it) now and then fails to start a child while
// the address space is laid out ("failed to map the shared user data"), and CreateProcessA
// reports ERROR_INTERNAL_ERROR. StartChild tries such a start again, a few times at most;
// every other failure counts.
class PipeProcessTest : public ::testing::Test {
protected:
    bool StartChild(CPipeProcess& process, const std::string& command)
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            const Result<void> started = process.Start(Widen(command));
            if (started)
                return true;
            if (started.Error().systemError != ERROR_INTERNAL_ERROR)
                return false;
        }
        return false;
    }

    // Runs the command to its end and returns everything it wrote.
    std::string Capture(const std::string& command)
    {
        CPipeProcess process;
        EXPECT_TRUE(StartChild(process, command)) << command;
        return Join(ReadAll(process));
    }
};

TEST_F(PipeProcessTest, NoOutputGivesAnEmptyFirstPiece)
{
    CPipeProcess process;
    ASSERT_TRUE(StartChild(process, ChildCommand("silent")));
    // The output ends with the child only because the parent keeps no write end of its own.
    EXPECT_EQ("", process.ReadChunk());
    EXPECT_EQ("", process.ReadChunk());
}

TEST_F(PipeProcessTest, ShortOutputArrivesWhole)
{
    EXPECT_EQ("hello korvane\n", Capture(ChildCommand("echo hello korvane")));
}

TEST_F(PipeProcessTest, LongOutputArrivesWholeAndInOrder)
{
    // The last one is written at once, more than the pipe and one read hold.
    for (auto [total, step] : {std::pair{4095, 7000}, {4096, 7000}, {100000, 7000}, {200000, 200000}}) {
        SCOPED_TRACE(total);
        CPipeProcess process;
        ASSERT_TRUE(StartChild(process, ChildCommand("pattern " + std::to_string(total) + " " + std::to_string(step))));
        std::vector<std::string> pieces = ReadAll(process);
        if (total > 65536) {
            EXPECT_GE(pieces.size(), static_cast<size_t>(total / 65536 + 1));
        }
        EXPECT_EQ(Pattern(static_cast<size_t>(total)), Join(pieces));
    }
}

TEST_F(PipeProcessTest, StandardErrorAndOutputShareOneStreamInWriteOrder)
{
    std::string expected;
    for (int i = 1; i <= 200; ++i)
        expected += "out " + std::to_string(i) + "\nerr " + std::to_string(i) + "\n";
    EXPECT_EQ(expected, Capture(ChildCommand("interleave 200")));
}

TEST_F(PipeProcessTest, ZeroBytesAreHandedOnAndEndNothing)
{
    EXPECT_EQ(std::string("\0hiddenvisible", 14), Capture(ChildCommand("leadzero")));
    EXPECT_EQ(std::string("abc\0defghi", 10), Capture(ChildCommand("zero")));
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
    std::string command = Quoted(HelperPath("standin_tool.exe")) + " hello.asm;";
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
    std::string command = Quoted(HelperPath("standin_tool.exe")) + " a b";
    std::string output = Capture(command);
    ::SetEnvironmentVariableA("KORVANE_STANDIN_LOG", nullptr);
    EXPECT_NE(std::string::npos, output.find("standin_tool stderr line"));
    EXPECT_EQ(0u, ReadFileBytes(log).find("standin_tool command line: " + command + "\r\n"));
}

TEST_F(PipeProcessTest, BatchFileRunsThroughTheInterpreterWithItsOutputCaptured)
{
    ScratchDir dir("pipe-batch");
    std::string batch = dir.File("t.bat");
    WriteFileBytes(batch, "@echo off\r\necho from batch\r\n" + ChildCommand("echo child line") + "\r\n");
    std::string output = Capture(batch);
    EXPECT_NE(std::string::npos, output.find("from batch")) << output;
    EXPECT_NE(std::string::npos, output.find("child line\n")) << output;
}

TEST_F(PipeProcessTest, AMissingProgramFailsWithTheSystemsReason)
{
    CPipeProcess process;
    const std::wstring missing = L"korvane-no-such-program-1b2c.exe argument";
    const Result<void> started = process.Start(missing);
    ASSERT_FALSE(started);
    EXPECT_EQ(started.Error().kind, Problem::Kind::NotStarted);
    EXPECT_EQ(started.Error().subject, missing);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), started.Error().systemError);
    // A failed start keeps nothing and leaves the object ready for the next start.
    EXPECT_EQ("", process.ReadChunk());
    ASSERT_TRUE(StartChild(process, ChildCommand("echo again")));
    EXPECT_EQ("again\n", Join(ReadAll(process)));
}

TEST_F(PipeProcessTest, AnEmptyCommandLineFailsWithAReason)
{
    CPipeProcess process;
    const Result<void> started = process.Start(L"");
    ASSERT_FALSE(started);
    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), started.Error().systemError);
}

TEST_F(PipeProcessTest, LongCommandLinesRunWhole)
{
    for (size_t length : {150u, 500u, 5000u}) {
        SCOPED_TRACE(length);
        std::string command = ChildCommand("echo ");
        size_t prefix = command.size();
        for (size_t i = 0; command.size() < length; ++i)
            command += static_cast<char>('a' + i % 26);
        ASSERT_EQ(length, command.size());
        EXPECT_EQ(command.substr(prefix) + "\n", Capture(command));
    }
}

// The leak checks of the step runner and the registry rely on this count seeing handles at all.
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
