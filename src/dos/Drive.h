// The disks DOS sees under its drive letters: every file operation its services, its file
// table and its program loader need, in DOS's own terms (full DOS paths, DOS attributes, dates
// and errors). The host's disks are one such drive (src/doshost), CMemoryDrive another.
#pragma once

#include "dos/DosError.h"
#include "dos/DosPath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dos {

// DOS's attribute bits.
constexpr uint8_t kAttrReadOnly = 0x01;
constexpr uint8_t kAttrHidden = 0x02;
constexpr uint8_t kAttrSystem = 0x04;
constexpr uint8_t kAttrVolume = 0x08;
constexpr uint8_t kAttrFolder = 0x10;
constexpr uint8_t kAttrArchive = 0x20;

// One directory entry as INT 21h 4Eh/4Fh report it.
struct DosDirEntry {
    std::string name;
    uint8_t attributes = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t size = 0;
};

enum class OpenAction : uint8_t {
    // The file must exist (3Dh).
    OpenExisting,
    // The file must exist and is emptied (6Ch's "replace").
    TruncateExisting,
    // The file must not exist: kErrFileExists when it does (5Bh).
    CreateNew,
    // Made, or emptied when it exists (3Ch).
    CreateAlways,
};

enum class SeekOrigin : uint8_t { Start, Current, End };

// An open file; destroying it closes it.
class IDriveFile {
public:
    virtual ~IDriveFile() = default;
    virtual DosError Read(uint8_t* bytes, uint32_t count, uint32_t& got) = 0;
    // A full disk takes fewer bytes than given and is no error, as DOS reports it.
    virtual DosError Write(const uint8_t* bytes, uint32_t count, uint32_t& written) = 0;
    // Ends the file at the current position (DOS's write of no bytes).
    virtual DosError Truncate() = 0;
    virtual DosError Seek(int64_t distance, SeekOrigin origin, uint64_t& position) = 0;
    virtual uint64_t Size() = 0;
    virtual DosError GetTime(uint16_t& date, uint16_t& time) = 0;
    virtual DosError SetTime(uint16_t date, uint16_t time) = 0;
    // Writes what is buffered through to the disk.
    virtual void Commit() = 0;
};

// A missing name is kErrFileNotFound, a missing folder on the way to it kErrPathNotFound, an
// existing one where none may be kErrFileExists; DOS turns these into each function's answer.
class IDrive {
public:
    virtual ~IDrive() = default;

    // Whether drive `drive` (0 for A) is there.
    virtual bool Exists(uint8_t drive) = 0;
    // The DOS path, in Canonical's spelling, of an existing file or folder that the front end
    // names: a host path for the host's drive (relative ones from the host's current folder;
    // empty for that folder).
    virtual DosError PathOf(const std::wstring& name, DosPath::FullPath& full) = 0;
    // The one spelling of a path on this drive: each part that exists as the drive lists it,
    // the rest as DOS would store it (uppercase, cut to 8.3). Two paths that reach the same
    // file have the same spelling.
    virtual DosPath::FullPath Canonical(const DosPath::FullPath& path) = 0;
    // Where the host keeps its temporary files, in Canonical's spelling; false when it has no
    // such folder.
    virtual bool TemporaryFolder(DosPath::FullPath& folder) = 0;
    virtual DosError FreeSpace(uint8_t drive, uint64_t& available, uint64_t& total) = 0;

    virtual DosError GetAttributes(const DosPath::FullPath& path, uint8_t& attributes) = 0;
    virtual DosError SetAttributes(const DosPath::FullPath& path, uint8_t attributes) = 0;
    // `mode` is INT 21h 3Dh's byte (access in bits 0-2, sharing in bits 4-6); `attributes`
    // are a new file's.
    virtual DosError Open(const DosPath::FullPath& path, uint8_t mode, OpenAction action, uint8_t attributes,
                          std::unique_ptr<IDriveFile>& file) = 0;
    virtual DosError Delete(const DosPath::FullPath& path) = 0;
    virtual DosError Rename(const DosPath::FullPath& from, const DosPath::FullPath& to) = 0;
    virtual DosError MakeFolder(const DosPath::FullPath& path) = 0;
    // A folder that is not empty is kErrAccessDenied.
    virtual DosError RemoveFolder(const DosPath::FullPath& path) = 0;
    // Every entry of a folder under its DOS name ("." and ".." too, except at the root).
    virtual DosError List(const DosPath::FullPath& folder, std::vector<DosDirEntry>& entries) = 0;
};

}  // namespace dos
