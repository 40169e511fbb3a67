// The host's disks as the DOS machine's drive: DOS's drive letters are the host's, its names
// the host's under CHostFileSystem's mapping, and every file call is one of Windows' ...W ones.
#pragma once

#include "doshost/HostFileSystem.h"

#include "dos/Drive.h"

#include <windows.h>

namespace dos {

class CHostDrive : public IDrive {
public:
    // DOS names and text pass through this code page (the system's OEM one by default).
    explicit CHostDrive(UINT codePage = CP_OEMCP) : m_names(codePage) {}

    bool Exists(uint8_t drive) override;
    DosError PathOf(const std::wstring& name, DosPath::FullPath& full) override;
    DosPath::FullPath Canonical(const DosPath::FullPath& path) override { return m_names.Canonical(path); }
    bool TemporaryFolder(DosPath::FullPath& folder) override;
    DosError FreeSpace(uint8_t drive, uint64_t& available, uint64_t& total) override;
    DosError GetAttributes(const DosPath::FullPath& path, uint8_t& attributes) override;
    DosError SetAttributes(const DosPath::FullPath& path, uint8_t attributes) override;
    DosError Open(const DosPath::FullPath& path, uint8_t mode, OpenAction action, uint8_t attributes,
                  std::unique_ptr<IDriveFile>& file) override;
    DosError Delete(const DosPath::FullPath& path) override;
    DosError Rename(const DosPath::FullPath& from, const DosPath::FullPath& to) override;
    DosError MakeFolder(const DosPath::FullPath& path) override;
    DosError RemoveFolder(const DosPath::FullPath& path) override;
    DosError List(const DosPath::FullPath& folder, std::vector<DosDirEntry>& entries) override;

private:
    // Runs `call` (false on failure, with GetLastError's code) on the host path of `path`.
    template <typename Call>
    DosError OnHost(const DosPath::FullPath& path, Call call);

    CHostFileSystem m_names;
};

}  // namespace dos
