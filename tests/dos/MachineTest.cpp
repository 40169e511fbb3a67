// The DOS machine driven in this process as Korvane's debugger will drive it: programs loaded
// and run with a budget, the screen read, keys pressed when it waits for them, input that ends,
// output as it comes, and the host's names as DOS sees them.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace dos;

namespace {

constexpr uint64_t kBudget = 10000000;

DosMachineSettings Settings(ConsoleInput input, ConsoleOutput output)
{
    DosMachineSettings settings;
    settings.input = input;
    settings.output = output;
    settings.error = output;
    return settings;
}

std::string Row(const machine::ScreenImage& screen, int row)
{
    std::string text;
    for (int column = 0; column < screen.columns; ++column)
        text.push_back(static_cast<char>(screen.Cell(row, column) & 0xFF));
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(DosMachine, ShowsDirectWritesBiosAndDosTextOnItsScreenAndWaitsForAKey)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Keyboard, ConsoleOutput::Screen));
    ASSERT_EQ(machine.Load(DosTest::Program(L"SCREEN.COM"), ""), LoadError::None);
    ASSERT_EQ(machine.Run(kBudget), StopReason::WaitingForInput);
    EXPECT_EQ(machine.Screen().Cell(0, 0), 0x1E41);
    EXPECT_EQ(Row(machine.Screen(), 2), "ttydos");
    EXPECT_EQ(machine.Screen().cursorRow, 2);
    EXPECT_EQ(machine.Screen().cursorColumn, 6);
    EXPECT_GT(host.keyWanted, 0);
    EXPECT_TRUE(host.output.empty());
    // Waiting leaves the machine where it was: running again without a key waits again.
    EXPECT_EQ(machine.Run(kBudget), StopReason::WaitingForInput);
    machine.PressKey(0x3B00);
    ASSERT_EQ(machine.Run(kBudget), StopReason::Ended);
    EXPECT_EQ(machine.ExitCode(), 0x3B);
    EXPECT_NE(std::find(host.events.begin(), host.events.end(), ExternalEvent::KeyRead), host.events.end());
}

TEST(DosMachine, WritesWhatTheBiosPrintsToAPipeAsText)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    ASSERT_EQ(machine.Load(DosTest::Program(L"SCREEN.COM"), ""), LoadError::None);
    EXPECT_EQ(machine.Run(kBudget), StopReason::Ended);
    // The teletype's "tty" and DOS's "dos"; the cell written to B800h is the screen's alone.
    EXPECT_EQ(host.output, "ttydos");
    EXPECT_EQ(machine.Screen().Cell(0, 0), 0x1E41);
    // INT 16h read the end of the input: Ctrl+Z, whose scan code is the return code.
    EXPECT_EQ(machine.ExitCode(), 0x2C);
}

TEST(DosMachine, ReadsKeysAsEachDosAndBiosFunctionGivesThem)
{
    struct Case {
        const char* tail;
        std::vector<uint16_t> keys;
        const char* output;
    } cases[] = {
        {" 1", {0x1E61, 0x3062}, "? a0061 b0062 "},
        {" 7", {0x4800}, "? 0000 0048 "},
        {" 8", {0x1C0D, 0x011B}, "? 000D 001B "},
        {" k", {0x48E0, 0x3B00}, "? 4800 3B00 "},
    };
    for (const Case& c : cases) {
        DosTest::CRecordingHost host;
        CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Keyboard, ConsoleOutput::Stream));
        ASSERT_EQ(machine.Load(DosTest::Program(L"KEYS.COM"), c.tail), LoadError::None);
        ASSERT_EQ(machine.Run(kBudget), StopReason::WaitingForInput) << c.tail;
        // What came before the wait is out already: the prompt.
        EXPECT_EQ(host.output, "? ") << c.tail;
        for (uint16_t key : c.keys)
            machine.PressKey(key);
        EXPECT_EQ(machine.Run(kBudget), StopReason::Ended) << c.tail;
        EXPECT_EQ(host.output, c.output) << c.tail;
    }
}

TEST(DosMachine, RedirectedInputThatEndsGivesCtrlZAndNeverWaits)
{
    struct Case {
        const char* tail;
        const char* input;
        const char* output;
    } cases[] = {
        {" 1", "x", "? 0078 001A "},
        {" 8", "", "? 001A 001A "},
        {" k", "\r", "? 1C0D 2C1A "},
    };
    for (const Case& c : cases) {
        DosTest::CRecordingHost host;
        host.input = c.input;
        CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
        ASSERT_EQ(machine.Load(DosTest::Program(L"KEYS.COM"), c.tail), LoadError::None);
        EXPECT_EQ(machine.Run(kBudget), StopReason::Ended) << c.tail;
        EXPECT_EQ(host.output, c.output) << c.tail;
        EXPECT_NE(std::find(host.events.begin(), host.events.end(), ExternalEvent::InputRead), host.events.end());
    }
}

TEST(DosMachine, InputThatHasNotComeMakesItWaitNotBlock)
{
    DosTest::CRecordingHost host;
    host.pending = true;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    ASSERT_EQ(machine.Load(DosTest::Program(L"KEYS.COM"), " 1"), LoadError::None);
    EXPECT_EQ(machine.Run(kBudget), StopReason::WaitingForInput);
    host.input = "pq";
    EXPECT_EQ(machine.Run(kBudget), StopReason::Ended);
    EXPECT_EQ(host.output, "? 0070 0071 ");
}

TEST(DosMachine, LoadsAProgramWithoutRunningItAsADebuggerAsks)
{
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    std::wstring programs = DosTest::Program(L"");
    SetCurrentDirectoryW(programs.c_str());
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    ASSERT_EQ(machine.Load(DosTest::Program(L"LOAD.COM"), ""), LoadError::None);
    EXPECT_EQ(machine.Run(kBudget), StopReason::Ended);
    EXPECT_EQ(machine.ExitCode(), 0);
    // The entry IP, then the child's own lines, then its return code once it has ended.
    EXPECT_EQ(host.output.substr(0, 7), "0100 \r\n");
    EXPECT_NE(host.output.find("[ 7 A.B C]\r\n"), std::string::npos) << host.output;
    EXPECT_EQ(host.output.substr(host.output.size() - 7), "0007 \r\n") << host.output;
    SetCurrentDirectoryW(previous);
}

TEST(DosMachine, StepsOneInstructionAtATime)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    ASSERT_EQ(machine.Load(DosTest::Program(L"SCREEN.COM"), ""), LoadError::None);
    CpuState& registers = machine.Registers();
    EXPECT_EQ(registers.ip, 0x100);
    EXPECT_EQ(registers.cs(), registers.ds());
    EXPECT_EQ(machine.Memory().Read16(registers.cs(), 0), 0x20CD);
    EXPECT_EQ(machine.Step(), StopReason::Limit);
    EXPECT_EQ(registers.ip, 0x101);
    EXPECT_EQ(machine.Step(), StopReason::Limit);
    EXPECT_EQ(registers.ax(), 0xB800);
}

TEST(DosMachine, SeesHostNamesAsShortNamesOrAliasesAndCreatesTheNamesGiven)
{
    DosTest::CScratchFolder folder;
    struct File {
        const wchar_t* name;
        const char* text;
    } files[] = {{L"hello.asm", "HELLO"}, {L"a long name.text", "LONG!"}, {L"\x4e2d\x6587\x540d.txt", "CHINA"}};
    for (const File& file : files)
        DosTest::WriteHostFile(folder.Path() + L"\\" + file.name, file.text);
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.Path().c_str());

    // The first run lists the folder; each name it gives then opens the file it stands for.
    DosTest::CRecordingHost lister;
    CDosMachine first(lister, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    ASSERT_EQ(first.Load(DosTest::Program(L"NAMES.COM"), " HELLO.ASM"), LoadError::None);
    EXPECT_EQ(first.Run(kBudget), StopReason::Ended);
    size_t second = lister.output.find("\r\n") + 2;
    std::string listing = lister.output.substr(second, lister.output.find("\r\n", second) - second);
    std::vector<std::string> names;
    for (size_t at = 0; at < listing.size();) {
        size_t end = listing.find(' ', at);
        std::string name = listing.substr(at, end - at);
        if (name != "." && name != "..")
            names.push_back(name);
        at = end == std::string::npos ? listing.size() : end + 1;
    }
    ASSERT_EQ(names.size(), 3u) << listing;
    EXPECT_NE(std::find(names.begin(), names.end(), "HELLO.ASM"), names.end()) << listing;
    std::vector<std::string> contents;
    for (const std::string& name : names) {
        EXPECT_TRUE(DosPath::IsValid83(name)) << name;
        DosTest::CRecordingHost reader;
        CDosMachine machine(reader, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
        ASSERT_EQ(machine.Load(DosTest::Program(L"NAMES.COM"), " " + name), LoadError::None);
        machine.Run(kBudget);
        contents.push_back(reader.output.substr(0, reader.output.find("\r\n")));
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"CHINA", "HELLO", "LONG!"}));
    EXPECT_NE(GetFileAttributesW((folder.Path() + L"\\NEW.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
    SetCurrentDirectoryW(previous);
}

// DOS starts in the folder given, and the process's own current folder stays where it was
// (a debugger in Korvane's window shares its process).
TEST(DosMachine, AnswersTheHostsRefusalsWithDosErrorsAndKeepsFileTimes)
{
    DosTest::CScratchFolder folder;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    ASSERT_EQ(machine.Load(DosTest::Program(L"FILEERRS.COM"), "", folder.Path()), LoadError::None);
    EXPECT_EQ(machine.Run(kBudget), StopReason::Ended);
    // Denied by another handle's sharing: 32; the date and time set; a handle closed twice: 6;
    // a read-only file opened for writing or deleted: 5; a folder opened as a file: 5.
    EXPECT_EQ(host.output, "0000 0020 0000 645C 2A43 0000 0006 \r\n0000 0001 0005 0005 0000 0005 \r\n");
    EXPECT_EQ(GetFileAttributesW((folder.Path() + L"\\FILE.DAT").c_str()), INVALID_FILE_ATTRIBUTES);
    wchar_t now[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_STREQ(now, previous);
}

TEST(DosMachine, OpensAFileByTheLongNameAProgramGivesInItsCodePage)
{
    DosTest::CScratchFolder folder;
    DosTest::WriteHostFile(folder.Path() + L"\\\x62a5\x544a.txt", "GBK!!");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.Path().c_str());
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(936), Settings(ConsoleInput::Stream, ConsoleOutput::Stream));
    // The GBK bytes of the name.
    ASSERT_EQ(machine.Load(DosTest::Program(L"NAMES.COM"), " \xb1\xa8\xb8\xe6.txt"), LoadError::None);
    machine.Run(kBudget);
    EXPECT_EQ(host.output.rfind("GBK!!\r\n", 0), 0u) << host.output;
    SetCurrentDirectoryW(previous);
}

}
