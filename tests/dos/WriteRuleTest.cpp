// DOS's file calls on a drive in memory: where a program may change files (every call that
// changes a file or folder, from every spelling of a path inside and outside the program's
// folders), the current folder kept however it is spelled, and the memory drive giving a
// program the answers the host's drive gives.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "dos/MemoryDrive.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace dos;

namespace {

constexpr uint16_t kPathAt = 0x200;
constexpr uint16_t kTargetAt = 0x300;

// A machine on a memory drive whose program is INT 21h and a jump back to it: each Call runs
// that one instruction with the registers and paths given.
class CCallMachine {
public:
    struct Answer {
        uint16_t ax;
        bool carry;
    };

    explicit CCallMachine(std::unique_ptr<CMemoryDrive> drive) : m_drive(*drive)
    {
        m_drive.AddFile("C:\\LAB\\CALL.COM", std::string("\xCD\x21\xEB\xFC", 4));
        m_drive.AddFolder("C:\\SRC");
        m_drive.AddFolder("C:\\TMP");
        m_drive.AddFolder("C:\\EXTRA");
        m_drive.SetTemporaryFolder("C:\\TMP");
        DosMachineSettings settings;
        settings.writableFolders = {L"C:\\EXTRA", L"C:\\MISSING"};
        m_machine = std::make_unique<CDosMachine>(m_host, std::move(drive), settings);
    }

    bool Load() { return m_machine->Load(L"C:\\LAB\\CALL.COM", "", L"C:\\SRC") == LoadError::None; }
    CMemoryDrive& Drive() { return m_drive; }

    Answer Call(uint16_t ax, uint16_t bx, uint16_t cx, uint16_t dx, const std::string& path, const std::string& target)
    {
        CpuState& state = m_machine->Registers();
        CMemory& memory = m_machine->Memory();
        for (size_t i = 0; i <= path.size(); ++i)
            memory.Write8(state.ds(), static_cast<uint16_t>(kPathAt + i), i < path.size() ? path[i] : 0);
        for (size_t i = 0; i <= target.size(); ++i)
            memory.Write8(state.ds(), static_cast<uint16_t>(kTargetAt + i), i < target.size() ? target[i] : 0);
        state.ax() = ax;
        state.bx() = bx;
        state.cx() = cx;
        state.dx() = dx;
        state.si() = kPathAt;
        state.es() = state.ds();
        state.di() = kTargetAt;
        state.ip = 0x100;
        m_machine->Step();
        return {state.ax(), state.Flag(kFlagCarry)};
    }

private:
    DosTest::CRecordingHost m_host;
    CMemoryDrive& m_drive;
    std::unique_ptr<CDosMachine> m_machine;
};

TEST(WriteRule, ChangesFilesOnlyBelowTheProgramsFoldersAndRefusesEveryOtherChangeWithError5)
{
    // Each place: how the program spells a folder, the folder that is, and whether the program
    // may change files in it (its own folder C:\LAB, the start folder C:\SRC, the temporary
    // folder C:\TMP and the writable folder C:\EXTRA that the settings add, and below them).
    struct Place {
        const char* spelling;
        const char* folder;
        bool writable;
    } places[] = {
        {"C:\\LAB\\", "C:\\LAB", true},
        {"C:\\LAB\\SUB\\", "C:\\LAB\\SUB", true},
        {"c:/lab//sub/", "C:\\LAB\\SUB", true},
        {"", "C:\\SRC", true},
        {"C:\\SRC\\", "C:\\SRC", true},
        {"C:\\TMP\\", "C:\\TMP", true},
        {"C:\\EXTRA\\", "C:\\EXTRA", true},
        {"C:\\OTHER\\..\\LAB\\", "C:\\LAB", true},
        {"C:\\OTHER\\", "C:\\OTHER", false},
        {"\\..\\..\\..\\OTHER\\", "C:\\OTHER", false},
        {"..\\OTHER\\", "C:\\OTHER", false},
        {"C:..\\OTHER\\", "C:\\OTHER", false},
        {"C:\\LAB\\\\..\\.\\OTHER\\\\", "C:\\OTHER", false},
        {"C:/LAB/../OTHER/", "C:\\OTHER", false},
        {"C:\\LABX\\", "C:\\LABX", false},
        {"C:\\", "C:", false},
    };
    enum class Effect { Reads, Opens, Changes };
    // Each call: its registers (DX kPathAt for the path), its path and its rename target with
    // "@" for the place's spelling.
    struct Call {
        const char* name;
        uint16_t ax, bx, cx, dx;
        const char* path;
        const char* target;
        Effect effect;
    } calls[] = {
        {"create", 0x3C00, 0, 0, kPathAt, "@NEW.TXT", "", Effect::Changes},
        {"create new", 0x5B00, 0, 0, kPathAt, "@NEW.TXT", "", Effect::Changes},
        {"extended open, create", 0x6C00, 2, 0, 0x0010, "@NEW.TXT", "", Effect::Changes},
        {"extended open, replace", 0x6C00, 2, 0, 0x0002, "@OLD.TXT", "", Effect::Changes},
        {"temporary file", 0x5A00, 0, 0, kPathAt, "@", "", Effect::Changes},
        {"make folder", 0x3900, 0, 0, kPathAt, "@NEWDIR", "", Effect::Changes},
        {"remove folder", 0x3A00, 0, 0, kPathAt, "@DIR", "", Effect::Changes},
        {"delete", 0x4100, 0, 0, kPathAt, "@OLD.TXT", "", Effect::Changes},
        {"set attributes", 0x4301, 0, kAttrReadOnly, kPathAt, "@OLD.TXT", "", Effect::Changes},
        {"rename there", 0x5600, 0, 0, kPathAt, "@OLD.TXT", "@NEW.TXT", Effect::Changes},
        {"rename from there", 0x5600, 0, 0, kPathAt, "@OLD.TXT", "C:\\LAB\\MOVED.TXT", Effect::Changes},
        {"rename to there", 0x5600, 0, 0, kPathAt, "C:\\LAB\\MINE.TXT", "@MOVED.TXT", Effect::Changes},
        {"set the time of a file opened to read", 0x5701, 0, 0x1234, 0x5000, "@OLD.TXT", "", Effect::Changes},
        {"open to write", 0x3D01, 0, 0, kPathAt, "@OLD.TXT", "", Effect::Opens},
        {"open to read and write", 0x3D02, 0, 0, kPathAt, "@OLD.TXT", "", Effect::Opens},
        {"open to read", 0x3D00, 0, 0, kPathAt, "@OLD.TXT", "", Effect::Reads},
        {"get attributes", 0x4300, 0, 0, kPathAt, "@OLD.TXT", "", Effect::Reads},
        {"find", 0x4E00, 0, 0, kPathAt, "@*.*", "", Effect::Reads},
    };
    auto at = [](std::string text, const char* spelling) {
        size_t mark = text.find('@');
        return mark == std::string::npos ? text : text.replace(mark, 1, spelling);
    };
    for (const Place& place : places) {
        for (const Call& call : calls) {
            std::string what = std::string(call.name) + " at " + place.spelling;
            CCallMachine machine(std::make_unique<CMemoryDrive>());
            machine.Drive().AddFile(std::string(place.folder) + "\\OLD.TXT", "old");
            machine.Drive().AddFolder(std::string(place.folder) + "\\DIR");
            machine.Drive().AddFile("C:\\LAB\\MINE.TXT", "mine");
            ASSERT_TRUE(machine.Load()) << what;
            std::string path = at(call.path, place.spelling), target = at(call.target, place.spelling);
            uint16_t bx = call.bx;
            if (call.ax == 0x5701) {
                CCallMachine::Answer opened = machine.Call(0x3D00, 0, 0, kPathAt, path, "");
                ASSERT_FALSE(opened.carry) << what;
                bx = opened.ax;
            }
            const std::string before = machine.Drive().Dump();
            CCallMachine::Answer answer = machine.Call(call.ax, bx, call.cx, call.dx, path, target);
            const bool allowed = place.writable || call.effect == Effect::Reads;
            EXPECT_EQ(answer.carry, !allowed) << what << ": AX " << answer.ax;
            if (!allowed) {
                EXPECT_EQ(answer.ax, kErrAccessDenied) << what;
            }
            EXPECT_EQ(machine.Drive().Dump() != before, allowed && call.effect == Effect::Changes) << what;
        }
    }
}

TEST(DosFolders, KeepsTheCurrentFolderHoweverARemovalSpellsIt)
{
    const char* spellings[] = {"C:\\SRC\\SUBDIREC", "c:\\src\\subdirec", "..\\SUBDIREC", "C:/SRC//SUBDIREC/",
                               "C:\\SRC\\SUBDIREC.", "\\SRC\\SUBDIRECTORY"};
    for (const char* spelling : spellings) {
        CCallMachine machine(std::make_unique<CMemoryDrive>());
        machine.Drive().AddFolder("C:\\SRC\\SUBDIREC");
        ASSERT_TRUE(machine.Load());
        ASSERT_FALSE(machine.Call(0x3B00, 0, 0, kPathAt, "SUBDIREC", "").carry);
        CCallMachine::Answer answer = machine.Call(0x3A00, 0, 0, kPathAt, spelling, "");
        EXPECT_TRUE(answer.carry) << spelling;
        EXPECT_EQ(answer.ax, kErrCurrentDirectory) << spelling;
    }
}

std::string Output(CDosMachine& machine, DosTest::CRecordingHost& host)
{
    EXPECT_EQ(machine.Run(10000000), StopReason::Ended);
    return host.output;
}

TEST(MemoryDrive, GivesAProgramTheAnswersTheHostsDriveGives)
{
    // FILES.COM creates, writes, seeks, reads, renames, searches, makes and removes a folder
    // and deletes, printing each answer.
    DosTest::CScratchFolder folder;
    DosTest::CRecordingHost onHost;
    CDosMachine hostMachine(onHost, std::make_unique<CHostDrive>(), DosMachineSettings{});
    ASSERT_EQ(hostMachine.Load(DosTest::Program(L"FILES.COM"), "", folder.Path()), LoadError::None);
    const std::string expected = Output(hostMachine, onHost);

    std::ifstream file(DosTest::Program(L"FILES.COM").c_str(), std::ios::binary);
    const std::string program((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto owned = std::make_unique<CMemoryDrive>();
    CMemoryDrive& drive = *owned;
    drive.AddFile("C:\\WORK\\FILES.COM", program);
    const std::string before = drive.Dump();
    DosTest::CRecordingHost inMemory;
    CDosMachine memoryMachine(inMemory, std::move(owned), DosMachineSettings{});
    ASSERT_EQ(memoryMachine.Load(L"C:\\WORK\\FILES.COM", "", L"C:\\WORK"), LoadError::None);
    EXPECT_EQ(Output(memoryMachine, inMemory), expected);
    // It removes all it made.
    EXPECT_EQ(drive.Dump(), before);
}

}
