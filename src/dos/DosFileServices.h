// INT 21h's file, folder and drive functions on the machine's drive: handles (3Ch-46h, 5Ah, 5Bh,
// 67h, 68h, 6Ch), names (39h-3Bh, 41h, 43h, 47h, 56h, 57h), searches (4Eh, 4Fh), drives (0Eh,
// 19h, 36h) and the disk transfer address (1Ah, 2Fh). Handles 0-2 go to the console. A change
// outside the folders the write rule allows is refused with error 5.
#pragma once

#include "dos/CpuState.h"
#include "dos/DosConsole.h"
#include "dos/DosFileTable.h"
#include "dos/DosHost.h"
#include "dos/DosState.h"
#include "dos/Drive.h"
#include "dos/MemoryArena.h"
#include "dos/WriteRule.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dos {

class CDosFileServices {
public:
    struct Context {
        CMemory& memory;
        DosState& dos;
        CDosFileTable& files;
        IDrive& drive;
        CDosConsole& console;
        CMemoryArena& arena;
        IDosHost& front;
    };

    explicit CDosFileServices(const Context& context) : m_c(context), m_rule(context.drive) {}

    // DOS's drive and folders anew, starting in the folder given (the host's current folder
    // when empty), every other drive at its root. The program (the first one, named as the
    // front end names it) may change files in its own folder, the start folder, the drive's
    // temporary folder and the writable folders given, and below them.
    void Reset(const std::wstring& startFolder, const std::wstring& program,
               const std::vector<std::wstring>& writableFolders);
    // A DOS path (as a program gives it) as a full DOS path on a drive that exists.
    DosError Locate(const std::string& path, DosPath::FullPath& full);
    bool DriveExists(uint8_t drive) { return m_c.drive.Exists(drive); }
    // Whether the write rule lets the program change the file or folder `path`.
    bool MayWrite(const DosPath::FullPath& path) const { return m_rule.Allows(path); }

    void SelectDrive(CpuState& state);
    void CurrentDrive(CpuState& state) { state.set_al(m_nDrive); }
    void SetDta(CpuState& state);
    void GetDta(CpuState& state);
    void FreeSpace(CpuState& state);
    void MakeFolder(CpuState& state);
    void RemoveFolder(CpuState& state);
    void ChangeFolder(CpuState& state);
    void GetFolder(CpuState& state);
    void Create(CpuState& state);
    void Open(CpuState& state);
    void Close(CpuState& state);
    // Wait when it waits for input, Break when the console read Ctrl+C.
    CDosConsole::Read Read(CpuState& state);
    void Write(CpuState& state);
    void Delete(CpuState& state);
    void Seek(CpuState& state);
    void Attributes(CpuState& state);
    void Ioctl(CpuState& state);
    void Duplicate(CpuState& state);
    void ForceDuplicate(CpuState& state);
    void FindFirst(CpuState& state);
    void FindNext(CpuState& state);
    void Rename(CpuState& state);
    void FileTime(CpuState& state);
    void CreateTemporary(CpuState& state);
    void CreateNew(CpuState& state);
    void SetHandleCount(CpuState& state);
    void Commit(CpuState& state);
    void ExtendedOpen(CpuState& state);

private:
    struct Search {
        std::vector<DosDirEntry> entries;
        size_t next = 0;
    };

    std::string Text(uint16_t segment, uint16_t offset) const;
    DosError LocateAt(uint16_t segment, uint16_t offset, DosPath::FullPath& full);
    std::string CurrentDirectory(uint8_t drive) const { return m_directories[drive]; }
    // kErrAccessDenied where the write rule keeps the program from changing `path`.
    DosError MayChange(const DosPath::FullPath& path) const;
    DosError OpenPath(const std::string& path, uint8_t mode, OpenAction action, uint16_t attributes, uint16_t& handle);
    static bool DeviceFile(const std::string& path, uint8_t mode, DosOpenFile& file);
    void WriteEntry(const DosDirEntry& entry, uint16_t searchId, uint16_t position);
    void NextMatch(CpuState& state, uint16_t searchId);
    void Changed() { m_c.front.OnExternalEvent(ExternalEvent::FileSystemChanged); }

    Context m_c;
    CWriteRule m_rule;
    uint8_t m_nDrive = 2;
    std::array<std::string, 26> m_directories;
    std::vector<Search> m_searches;
    size_t m_nNextSearch = 0;
    unsigned m_nTemporary = 0;
};

}  // namespace dos
