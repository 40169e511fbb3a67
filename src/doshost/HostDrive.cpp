// The host's disks as the DOS machine's drive: each operation is one Windows call on the host
// path CHostFileSystem maps the DOS path to, its failure in DOS's terms.
#include "doshost/HostDrive.h"

namespace dos {

namespace {

// An open host file; its handle is closed with it.
class CHostFile : public IDriveFile {
public:
    explicit CHostFile(HANDLE handle) : m_handle(handle) {}
    ~CHostFile() override { CloseHandle(m_handle); }
    CHostFile(const CHostFile&) = delete;
    CHostFile& operator=(const CHostFile&) = delete;

    DosError Read(uint8_t* bytes, uint32_t count, uint32_t& got) override
    {
        DWORD read = 0;
        BOOL done = ReadFile(m_handle, bytes, count, &read, nullptr);
        got = read;
        return done ? kErrNone : CHostFileSystem::FromWin32(GetLastError());
    }

    DosError Write(const uint8_t* bytes, uint32_t count, uint32_t& written) override
    {
        DWORD wrote = 0;
        BOOL done = WriteFile(m_handle, bytes, count, &wrote, nullptr);
        written = wrote;
        return done || GetLastError() == ERROR_DISK_FULL ? kErrNone : CHostFileSystem::FromWin32(GetLastError());
    }

    DosError Truncate() override
    {
        return SetEndOfFile(m_handle) ? kErrNone : CHostFileSystem::FromWin32(GetLastError());
    }

    DosError Seek(int64_t distance, SeekOrigin origin, uint64_t& position) override
    {
        static const DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
        LARGE_INTEGER move, at{};
        move.QuadPart = distance;
        if (!SetFilePointerEx(m_handle, move, &at, kMethods[static_cast<int>(origin)]))
            return CHostFileSystem::FromWin32(GetLastError());
        position = static_cast<uint64_t>(at.QuadPart);
        return kErrNone;
    }

    uint64_t Size() override
    {
        LARGE_INTEGER size{};
        GetFileSizeEx(m_handle, &size);
        return static_cast<uint64_t>(size.QuadPart);
    }

    DosError GetTime(uint16_t& date, uint16_t& time) override
    {
        FILETIME written;
        if (!GetFileTime(m_handle, nullptr, nullptr, &written))
            return CHostFileSystem::FromWin32(GetLastError());
        CHostFileSystem::ToDosTime(written, date, time);
        return kErrNone;
    }

    DosError SetTime(uint16_t date, uint16_t time) override
    {
        FILETIME written = CHostFileSystem::FromDosTime(date, time);
        return SetFileTime(m_handle, nullptr, nullptr, &written) ? kErrNone : CHostFileSystem::FromWin32(GetLastError());
    }

    void Commit() override { FlushFileBuffers(m_handle); }

private:
    HANDLE m_handle;
};

std::wstring RootOf(uint8_t drive) { return std::wstring(1, static_cast<wchar_t>(L'A' + drive)) + L":\\"; }

}

template <typename Call>
DosError CHostDrive::OnHost(const DosPath::FullPath& path, Call call)
{
    std::wstring host;
    DosError error = m_names.ToHost(path, host);
    if (error == kErrNone && !call(host))
        error = CHostFileSystem::FromWin32(GetLastError());
    return error;
}

bool CHostDrive::Exists(uint8_t drive)
{
    return drive < 26 && (GetLogicalDrives() & (1u << drive)) != 0;
}

DosError CHostDrive::PathOf(const std::wstring& name, DosPath::FullPath& full)
{
    std::wstring host = name;
    if (host.empty()) {
        const DWORD length = GetCurrentDirectoryW(0, nullptr);
        host.resize(length);
        host.resize(GetCurrentDirectoryW(length, host.data()));
    }
    return m_names.ToDos(host, full);
}

bool CHostDrive::TemporaryFolder(DosPath::FullPath& folder)
{
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return length > 0 && length <= MAX_PATH && m_names.ToDos(std::wstring(temp, length), folder) == kErrNone;
}

DosError CHostDrive::FreeSpace(uint8_t drive, uint64_t& available, uint64_t& total)
{
    ULARGE_INTEGER free, size;
    if (!GetDiskFreeSpaceExW(RootOf(drive).c_str(), &free, &size, nullptr))
        return CHostFileSystem::FromWin32(GetLastError());
    available = free.QuadPart;
    total = size.QuadPart;
    return kErrNone;
}

DosError CHostDrive::GetAttributes(const DosPath::FullPath& path, uint8_t& attributes)
{
    return OnHost(path, [&attributes](const std::wstring& host) {
        DWORD found = GetFileAttributesW(host.c_str());
        if (found != INVALID_FILE_ATTRIBUTES)
            attributes = CHostFileSystem::ToDosAttributes(found);
        return found != INVALID_FILE_ATTRIBUTES;
    });
}

DosError CHostDrive::SetAttributes(const DosPath::FullPath& path, uint8_t attributes)
{
    return OnHost(path, [attributes](const std::wstring& host) {
        return SetFileAttributesW(host.c_str(), CHostFileSystem::ToHostAttributes(attributes)) != FALSE;
    });
}

DosError CHostDrive::Open(const DosPath::FullPath& path, uint8_t mode, OpenAction action, uint8_t attributes,
                          std::unique_ptr<IDriveFile>& file)
{
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    // Compatibility, deny all, deny write, deny read, deny none.
    static const DWORD kShare[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE};
    static const DWORD kDisposition[] = {OPEN_EXISTING, TRUNCATE_EXISTING, CREATE_NEW, CREATE_ALWAYS};
    uint8_t access = mode & 7;
    uint8_t share = (mode >> 4) & 7;
    if (access > 2 || share > 4)
        return kErrInvalidAccess;
    return OnHost(path, [&](const std::wstring& host) {
        HANDLE opened = CreateFileW(host.c_str(), kAccess[access], kShare[share], nullptr,
                                    kDisposition[static_cast<int>(action)], CHostFileSystem::ToHostAttributes(attributes),
                                    nullptr);
        if (opened != INVALID_HANDLE_VALUE)
            file = std::make_unique<CHostFile>(opened);
        return opened != INVALID_HANDLE_VALUE;
    });
}

DosError CHostDrive::Delete(const DosPath::FullPath& path)
{
    return OnHost(path, [](const std::wstring& host) { return DeleteFileW(host.c_str()) != FALSE; });
}

DosError CHostDrive::Rename(const DosPath::FullPath& from, const DosPath::FullPath& to)
{
    std::wstring target;
    DosError error = m_names.ToHost(to, target);
    if (error != kErrNone)
        return error;
    return OnHost(from, [&target](const std::wstring& host) { return MoveFileW(host.c_str(), target.c_str()) != FALSE; });
}

DosError CHostDrive::MakeFolder(const DosPath::FullPath& path)
{
    return OnHost(path, [](const std::wstring& host) { return CreateDirectoryW(host.c_str(), nullptr) != FALSE; });
}

DosError CHostDrive::RemoveFolder(const DosPath::FullPath& path)
{
    return OnHost(path, [](const std::wstring& host) { return RemoveDirectoryW(host.c_str()) != FALSE; });
}

DosError CHostDrive::List(const DosPath::FullPath& folder, std::vector<DosDirEntry>& entries)
{
    std::wstring host;
    DosError error = m_names.ToHost(folder, host);
    return error == kErrNone ? m_names.List(host, entries) : error;
}

}  // namespace dos
