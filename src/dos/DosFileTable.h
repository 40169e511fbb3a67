// DOS's open files: the system file table (here, the drive's open files with reference counts)
// and each process's job file table of handles in its PSP, as DOS keeps it there (PSP 32h and 34h).
#pragma once

#include "dos/DosError.h"
#include "dos/Drive.h"
#include "dos/Memory.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace dos {

enum class FileKind : uint8_t {
    Free,
    // Handles 0, 1 and 2: the front end's standard input, output and error.
    StandardInput,
    StandardOutput,
    StandardError,
    // AUX and PRN (handles 3 and 4) and NUL: they take everything and give nothing.
    Null,
    // A file on the drive.
    Disk,
};

struct DosOpenFile {
    FileKind kind = FileKind::Free;
    std::unique_ptr<IDriveFile> file;
    // The open mode byte of INT 21h 3Dh (access, sharing, no-inherit bit).
    uint8_t mode = 2;
    uint16_t references = 0;
    // INT 21h 44h 00h's word for this file.
    uint16_t deviceInfo = 0;
    // Where a disk file is, for the write rule when the program sets its time.
    DosPath::FullPath path{};
};

class CDosFileTable {
public:
    static constexpr uint8_t kSystemFiles = 128;

    explicit CDosFileTable(CMemory& memory);
    CDosFileTable(const CDosFileTable&) = delete;
    CDosFileTable& operator=(const CDosFileTable&) = delete;

    // Closes every disk file and sets up the five standard files.
    void Reset(uint16_t inputInfo, uint16_t outputInfo);
    // The standard handles 0 to 4 of a new top-level PSP.
    void OpenStandardHandles(uint16_t psp);

    // Takes a system file for an opened file (a disk file it then owns, or a device) and
    // gives it a handle in the PSP; a file it has no room for is closed.
    DosError Add(uint16_t psp, DosOpenFile file, uint16_t& handle);
    DosOpenFile* Get(uint16_t psp, uint16_t handle);
    DosError Close(uint16_t psp, uint16_t handle);
    DosError Duplicate(uint16_t psp, uint16_t handle, uint16_t& copy);
    DosError ForceDuplicate(uint16_t psp, uint16_t handle, uint16_t target);
    // The child's table: the parent's handles that may be inherited.
    void Inherit(uint16_t parentPsp, uint16_t childPsp);
    void CloseAll(uint16_t psp);
    // Moves the PSP's table to `table` (count entries), as INT 21h 67h does.
    void MoveTable(uint16_t psp, uint16_t tableSegment, uint16_t tableOffset, uint16_t count);
    uint16_t TableSize(uint16_t psp) const;

private:
    uint32_t TableAddress(uint16_t psp) const;
    uint8_t Entry(uint16_t psp, uint16_t handle) const;
    void SetEntry(uint16_t psp, uint16_t handle, uint8_t entry);
    DosError FreeHandle(uint16_t psp, uint16_t& handle) const;
    void Release(uint8_t entry);

    CMemory& m_memory;
    std::vector<DosOpenFile> m_files;
};

}  // namespace dos
