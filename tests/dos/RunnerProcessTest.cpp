// korvane-dos.exe as a process, as a build step starts it: the machine's own failures each
// end with one line on standard error and their exit code, a function DOS lacks is named once,
// a tool that never ends goes when its job is closed, LINK asking for input that has ended
// does not wait for ever, and a program changes files only where it may.
#include "DosTestSupport.h"

#include "dosrun/DosRunner.h"

#include "korvane-dos.h"

#include <gtest/gtest.h>

#include <regex>

using namespace dos;

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// The runner's text in the system's code page, as a console or pipe shows it.
std::wstring Decode(const std::string& bytes)
{
    int length = MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

// The runner's message with this id, up to its first insert.
std::wstring MessageStart(unsigned id)
{
    HMODULE runner = LoadLibraryExW(DosTest::Runner().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const wchar_t* text = nullptr;
    int length = LoadStringW(runner, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring message(text, static_cast<size_t>(std::max(length, 0)));
    FreeLibrary(runner);
    return message.substr(0, message.find(L'%'));
}

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(DosRunner, EndsEachFailureOfTheMachineWithItsLineAndCode)
{
    DosTest::CScratchFolder folder;
    auto write = [&](const wchar_t* name, const std::string& bytes) {
        DosTest::WriteHostFile(folder.Path() + L"\\" + name, bytes);
    };
    std::string header = "MZ\x10\x00\x01\x00\x00\x00\x02\x00";
    write(L"TRUNC.EXE", header);
    write(L"BIG.COM", std::string(65281, '\x90'));
    CopyFileW(DosTest::Runner().c_str(), (folder.Path() + L"\\WIN.EXE").c_str(), FALSE);
    struct Case {
        std::wstring arguments;
        DWORD code;
        unsigned message;
        const char* detail;
    } cases[] = {
        {L"NOSUCH.EXE", kExitNotFound, IDS_DOS_NOT_FOUND, "NOSUCH.EXE"},
        {L"WIN.EXE", kExitWindowsProgram, IDS_DOS_WINDOWS_PROGRAM, "WIN.EXE"},
        {L"TRUNC.EXE", kExitCorruptHeader, IDS_DOS_CORRUPT_HEADER, "TRUNC.EXE"},
        {Quoted(DosTest::Program(L"BIGMEM.COM")), kExitNoMemory, IDS_DOS_NO_MEMORY, "BIGMEM.COM"},
        {L"BIG.COM", kExitComTooLarge, IDS_DOS_COM_TOO_LARGE, "BIG.COM"},
        {Quoted(DosTest::Program(L"FAULTS.COM")) + L" d", kExitDivideError, IDS_DOS_DIVIDE_ERROR, "[0-9A-F]{4}:[0-9A-F]{4}.*F6 F3"},
        {Quoted(DosTest::Program(L"FAULTS.COM")) + L" i", kExitInvalidOpcode, IDS_DOS_INVALID_OPCODE, "[0-9A-F]{4}:[0-9A-F]{4}.*63 C0"},
        {Quoted(DosTest::Program(L"FAULTS.COM")) + L" h", kExitHalted, IDS_DOS_HALTED, "[0-9A-F]{4}:[0-9A-F]{4}.*F4"},
        {L"--mem 1 X.COM", kExitUsage, IDS_DOS_BAD_OPTION, "--mem 1"},
        {L"--allow-writes NOSUCH X.COM", kExitUsage, IDS_DOS_BAD_OPTION, "--allow-writes NOSUCH"},
    };
    for (const Case& c : cases) {
        DosTest::ProcessResult result = DosTest::RunRunner(c.arguments, folder.Path());
        ASSERT_TRUE(result.ended);
        EXPECT_EQ(result.exitCode, c.code) << result.error;
        std::wstring error = Decode(result.error);
        EXPECT_EQ(error.rfind(MessageStart(c.message), 0), 0u) << result.error;
        EXPECT_TRUE(std::regex_search(result.error, std::regex(c.detail))) << result.error;
        EXPECT_EQ(Lines(result.error), c.code == kExitUsage ? 2u : 1u) << result.error;
        EXPECT_TRUE(result.output.empty()) << result.output;
    }
}

TEST(DosRunner, NamesAFunctionDosLacksOnceAndGoesOn)
{
    DosTest::ProcessResult result = DosTest::RunRunner(Quoted(DosTest::Program(L"FAULTS.COM")) + L" u", L"");
    ASSERT_TRUE(result.ended);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "0001 0001 \r\n");
    EXPECT_EQ(Lines(result.error), 1u);
    EXPECT_NE(result.error.find("INT 21h AH=1Fh"), std::string::npos) << result.error;
}

TEST(DosRunner, ATaskThatNeverEndsGoesWhenItsJobIsClosed)
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = Quoted(DosTest::Runner()) + L" " + Quoted(DosTest::Program(L"FOREVER.COM"));
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &info));
    AssignProcessToJobObject(job, info.hProcess);
    ResumeThread(info.hThread);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 1500), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(job);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

TEST(DosRunner, LinkReadingItsAnswersFromInputThatHasEndedEnds)
{
    std::string folder = KORVANE_DEFAULT_DOS_TOOLS;
    std::wstring link = std::wstring(folder.begin(), folder.end()) + L"\\LINK.EXE";
    DosTest::CScratchFolder work;
    DosTest::ProcessResult result = DosTest::RunRunner(Quoted(link), work.Path(), 30000);
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.exitCode, 2u);
    EXPECT_NE(result.output.find("L1020: no object modules specified"), std::string::npos) << result.output;
}

// A folder of the test's own beside the test programs' folder, outside the temporary folder,
// emptied and removed with what it holds when the object goes.
class CBuildFolder {
public:
    explicit CBuildFolder(const std::wstring& name)
    {
        std::wstring programs = DosTest::Program(L"");
        programs.pop_back();
        m_path = programs.substr(0, programs.find_last_of(L'\\') + 1) + name + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~CBuildFolder() { Remove(m_path); }
    const std::wstring& Path() const { return m_path; }

private:
    static void Remove(const std::wstring& folder)
    {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        while (find != INVALID_HANDLE_VALUE) {
            std::wstring name = entry.cFileName, path = folder + L"\\" + name;
            if (name != L"." && name != L"..") {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(path);
                else
                    DeleteFileW(path.c_str());
            }
            if (!FindNextFileW(find, &entry)) {
                FindClose(find);
                break;
            }
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring m_path;
};

TEST(DosRunner, ChangesFilesOnlyInItsOwnStartAndAllowedFolders)
{
    // WRITES.COM creates, writes, reads back and deletes the file its tail names. It runs from
    // LAB; "outside folder" and OTHER are no folder of its own.
    CBuildFolder base(L"dos-writes-");
    const std::wstring lab = base.Path() + L"\\LAB", outside = base.Path() + L"\\outside folder";
    const std::wstring other = base.Path() + L"\\OTHER";
    for (const std::wstring& folder : {lab, outside, other})
        CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = Quoted(lab + L"\\WRITES.COM");
    ASSERT_TRUE(CopyFileW(DosTest::Program(L"WRITES.COM").c_str(), (lab + L"\\WRITES.COM").c_str(), FALSE));
    DosTest::CScratchFolder start;
    const std::string done = "ok ok ok ok ok ok ok same\r\n";
    const std::string refused = "error 5 \r\n";
    // DOS reaches "outside folder" by the volume's short name, or by the alias it makes.
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(outside.c_str(), shortPath, MAX_PATH);
    std::wstring shortName = shortPath;
    shortName = shortName.substr(shortName.find_last_of(L'\\') + 1);
    if (shortName == L"outside folder" || shortName.empty())
        shortName = L"OUTSID~1";
    const std::wstring aliased = base.Path() + L"\\" + shortName + L"\\X.TXT";
    struct Case {
        std::wstring arguments;
        std::wstring folder;
        const std::string& output;
    } cases[] = {
        {program + L" " + lab + L"\\OWN.TXT", start.Path(), done},
        {program + L" START.TXT", start.Path(), done},
        {program + L" " + other + L"\\X.TXT", start.Path(), refused},
        {program + L" " + aliased, start.Path(), refused},
        {program + L" ..\\" + shortName + L"\\X.TXT", lab, refused},
        {program + L" \\..\\..\\..\\..\\..\\..\\..\\KVWRITES.TXT", lab, refused},
        {L"--allow-writes " + other + L" --allow-writes " + Quoted(outside) + L" " + program + L" " + aliased,
         start.Path(), done},
    };
    for (const Case& c : cases) {
        DosTest::ProcessResult result = DosTest::RunRunner(c.arguments, c.folder);
        ASSERT_TRUE(result.ended);
        EXPECT_EQ(result.output, c.output) << std::string(c.arguments.begin(), c.arguments.end()) << result.error;
        EXPECT_EQ(result.exitCode, &c.output == &done ? 0u : 5u);
        // Nothing was left or made where the program wrote, nor at the root of the drive.
        for (const std::wstring& file : {outside + L"\\X.TXT", other + L"\\X.TXT", lab + L"\\OWN.TXT",
                                         start.Path() + L"\\START.TXT", lab.substr(0, 3) + L"KVWRITES.TXT"})
            EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

}
