// INT 21h's file, folder and drive functions. Every host call is on a file the program named;
// nothing else on the host is opened, changed or created.
#include "dos/DosFileServices.h"

#include "dos/DosLayout.h"
#include "dos/GuestMemory.h"

#include <algorithm>
#include <cstring>

namespace dos {

namespace {

constexpr size_t kSearchSlots = 32;
constexpr uint8_t kLastDrive = 26;
constexpr uint16_t kSearchMark = 0x4B56;

// The DOS attributes a program may set on a file.
DWORD HostAttributes(uint16_t dos)
{
    DWORD host = 0;
    if (dos & 0x01)
        host |= FILE_ATTRIBUTE_READONLY;
    if (dos & 0x02)
        host |= FILE_ATTRIBUTE_HIDDEN;
    if (dos & 0x04)
        host |= FILE_ATTRIBUTE_SYSTEM;
    if (dos & 0x20)
        host |= FILE_ATTRIBUTE_ARCHIVE;
    return host ? host : FILE_ATTRIBUTE_NORMAL;
}

std::string Uppercase(std::string text) { return DosPath::Upper(std::move(text)); }

}

void CDosFileServices::Reset(const std::wstring& startFolder)
{
    for (std::string& folder : m_directories)
        folder.clear();
    m_searches.assign(kSearchSlots, Search{});
    m_nNextSearch = 0;
    std::wstring current = startFolder;
    if (current.empty()) {
        const DWORD length = GetCurrentDirectoryW(0, nullptr);
        current.resize(length);
        current.resize(GetCurrentDirectoryW(length, current.data()));
    }
    DosPath::FullPath full;
    if (m_c.host.ToDos(current, full) != kErrNone)
        return;
    m_nDrive = full.drive;
    m_directories[full.drive] = full.path.substr(1);
}

std::string CDosFileServices::Text(uint16_t segment, uint16_t offset) const
{
    return GuestMemory::ReadAsciiz(m_c.memory, segment, offset, 128);
}

DosError CDosFileServices::Locate(const std::string& path, DosPath::FullPath& full, std::wstring& host)
{
    DosError error = DosPath::Resolve(path, m_nDrive, [this](uint8_t drive) { return CurrentDirectory(drive); }, full);
    if (error != kErrNone)
        return error;
    if (!CHostFileSystem::DriveExists(full.drive))
        return kErrPathNotFound;
    return m_c.host.ToHost(full, host);
}

DosError CDosFileServices::LocateAt(uint16_t segment, uint16_t offset, DosPath::FullPath& full, std::wstring& host)
{
    return Locate(Text(segment, offset), full, host);
}

void CDosFileServices::SelectDrive(CpuState& state)
{
    if (CHostFileSystem::DriveExists(state.dl()))
        m_nDrive = state.dl();
    state.set_al(kLastDrive);
}

void CDosFileServices::SetDta(CpuState& state)
{
    m_c.dos.dtaSegment = state.ds();
    m_c.dos.dtaOffset = state.dx();
}

void CDosFileServices::GetDta(CpuState& state)
{
    state.es() = m_c.dos.dtaSegment;
    state.bx() = m_c.dos.dtaOffset;
}

void CDosFileServices::FreeSpace(CpuState& state)
{
    uint8_t drive = state.dl() ? static_cast<uint8_t>(state.dl() - 1) : m_nDrive;
    std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + drive)) + L":\\";
    ULARGE_INTEGER available, total;
    if (!CHostFileSystem::DriveExists(drive) || !GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr)) {
        state.ax() = 0xFFFF;
        return;
    }
    // 32 KB clusters: DOS's largest, 2 GB at most.
    const uint64_t cluster = 64 * 512;
    state.ax() = 64;
    state.cx() = 512;
    state.bx() = static_cast<uint16_t>(std::min<uint64_t>(available.QuadPart / cluster, 0xFFFF));
    state.dx() = static_cast<uint16_t>(std::min<uint64_t>(total.QuadPart / cluster, 0xFFFF));
}

void CDosFileServices::MakeFolder(CpuState& state)
{
    DosPath::FullPath full;
    std::wstring host;
    DosError error = LocateAt(state.ds(), state.dx(), full, host);
    if (error == kErrNone && !CreateDirectoryW(host.c_str(), nullptr)) {
        DWORD code = GetLastError();
        error = code == ERROR_ALREADY_EXISTS ? kErrAccessDenied : CHostFileSystem::FromWin32(code);
    }
    if (error == kErrNone)
        Changed();
    m_c.dos.Answer(state, error);
}

void CDosFileServices::RemoveFolder(CpuState& state)
{
    DosPath::FullPath full;
    std::wstring host;
    DosError error = LocateAt(state.ds(), state.dx(), full, host);
    if (error == kErrNone && full.path.substr(1) == m_directories[full.drive])
        error = kErrCurrentDirectory;
    if (error == kErrNone && !RemoveDirectoryW(host.c_str()))
        error = CHostFileSystem::FromWin32(GetLastError());
    if (error == kErrNone)
        Changed();
    m_c.dos.Answer(state, error);
}

void CDosFileServices::ChangeFolder(CpuState& state)
{
    DosPath::FullPath full;
    std::wstring host;
    DosError error = LocateAt(state.ds(), state.dx(), full, host);
    if (error == kErrNone) {
        DWORD attributes = GetFileAttributesW(host.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            error = kErrPathNotFound;
    }
    DosPath::FullPath canonical;
    if (error == kErrNone)
        error = m_c.host.ToDos(host, canonical);
    if (error == kErrNone)
        m_directories[canonical.drive] = canonical.path.substr(1);
    m_c.dos.Answer(state, error);
}

void CDosFileServices::GetFolder(CpuState& state)
{
    uint8_t drive = state.dl() ? static_cast<uint8_t>(state.dl() - 1) : m_nDrive;
    if (drive >= kLastDrive || !CHostFileSystem::DriveExists(drive)) {
        m_c.dos.Fail(state, kErrInvalidDrive);
        return;
    }
    GuestMemory::WriteAsciiz(m_c.memory, state.ds(), state.si(), Uppercase(m_directories[drive]));
    state.ax() = 0x0100;
    DosState::Succeed(state);
}

bool CDosFileServices::DeviceFile(const std::string& path, uint8_t mode, DosOpenFile& file)
{
    size_t start = path.find_last_of("\\/:");
    std::string name = Uppercase(path.substr(start == std::string::npos ? 0 : start + 1));
    name = name.substr(0, name.find('.'));
    if (name == "CON") {
        bool input = (mode & 7) == 0;
        file = {input ? FileKind::StandardInput : FileKind::StandardOutput, INVALID_HANDLE_VALUE, mode, 0, 0x80D3};
        return true;
    }
    static const char* const kQuiet[] = {"NUL", "AUX", "PRN", "COM1", "COM2", "COM3", "COM4", "LPT1", "LPT2", "LPT3"};
    for (const char* quiet : kQuiet) {
        if (name == quiet) {
            file = {FileKind::Null, INVALID_HANDLE_VALUE, mode, 0, 0x8084};
            return true;
        }
    }
    return false;
}

DosError CDosFileServices::OpenPath(const std::string& path, uint8_t mode, DWORD disposition, uint16_t attributes,
                                    uint16_t& handle)
{
    DosOpenFile file;
    if (DeviceFile(path, mode, file))
        return m_c.files.Add(m_c.dos.currentPsp, file, handle);
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD kShare[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE};
    uint8_t access = mode & 7;
    uint8_t share = (mode >> 4) & 7;
    if (access > 2 || share > 4)
        return kErrInvalidAccess;
    if (DosPath::HasWildcards(path))
        return kErrFileNotFound;
    DosPath::FullPath full;
    std::wstring host;
    DosError error = Locate(path, full, host);
    if (error != kErrNone)
        return error;
    // A folder cannot be opened as a file, nor a read-only file for writing (whatever rights
    // the host would give).
    DWORD existing = GetFileAttributesW(host.c_str());
    bool readOnly = existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY))
        return kErrAccessDenied;
    if (readOnly && (access != 0 || disposition != OPEN_EXISTING))
        return kErrAccessDenied;
    HANDLE opened = CreateFileW(host.c_str(), kAccess[access], kShare[share], nullptr, disposition,
                                HostAttributes(attributes), nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        return code == ERROR_FILE_EXISTS ? kErrFileExists : CHostFileSystem::FromWin32(code);
    }
    if (disposition != OPEN_EXISTING)
        Changed();
    file = {FileKind::Host, opened, mode, 0, static_cast<uint16_t>(0x40 | full.drive)};
    return m_c.files.Add(m_c.dos.currentPsp, file, handle);
}

void CDosFileServices::Create(CpuState& state)
{
    uint16_t handle = 0;
    DosError error = OpenPath(Text(state.ds(), state.dx()), 2, CREATE_ALWAYS, state.cx(), handle);
    if (error == kErrNone)
        state.ax() = handle;
    m_c.dos.Answer(state, error);
}

void CDosFileServices::CreateNew(CpuState& state)
{
    uint16_t handle = 0;
    DosError error = OpenPath(Text(state.ds(), state.dx()), 2, CREATE_NEW, state.cx(), handle);
    if (error == kErrNone)
        state.ax() = handle;
    m_c.dos.Answer(state, error);
}

void CDosFileServices::Open(CpuState& state)
{
    uint16_t handle = 0;
    DosError error = OpenPath(Text(state.ds(), state.dx()), state.al(), OPEN_EXISTING, 0, handle);
    if (error == kErrNone)
        state.ax() = handle;
    m_c.dos.Answer(state, error);
}

void CDosFileServices::ExtendedOpen(CpuState& state)
{
    std::string path = Text(state.ds(), state.si());
    uint8_t ifExists = state.dl() & 0x0F;
    uint8_t ifMissing = state.dl() >> 4;
    DosPath::FullPath full;
    std::wstring host;
    DosError error = Locate(path, full, host);
    DosOpenFile device;
    bool exists = DeviceFile(path, state.bl(), device) ||
                  (error == kErrNone && GetFileAttributesW(host.c_str()) != INVALID_FILE_ATTRIBUTES);
    uint16_t action = 0, handle = 0;
    if (exists && ifExists == 1) {
        error = OpenPath(path, state.bl(), OPEN_EXISTING, 0, handle);
        action = 1;
    } else if (exists && ifExists == 2) {
        error = OpenPath(path, state.bl(), TRUNCATE_EXISTING, 0, handle);
        action = 3;
    } else if (!exists && ifMissing == 1 && error == kErrNone) {
        error = OpenPath(path, state.bl(), CREATE_NEW, state.cx(), handle);
        action = 2;
    } else if (error == kErrNone) {
        error = exists ? kErrFileExists : kErrFileNotFound;
    }
    if (error == kErrNone) {
        state.ax() = handle;
        state.cx() = action;
    }
    m_c.dos.Answer(state, error);
}

void CDosFileServices::CreateTemporary(CpuState& state)
{
    std::string folder = Text(state.ds(), state.dx());
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/' && folder.back() != ':')
        folder += "\\";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[16];
        unsigned unique = (GetTickCount() + ++m_nTemporary * 7919u) & 0xFFFFFFu;
        snprintf(name, sizeof name, "K%07X", unique);
        uint16_t handle = 0;
        DosError error = OpenPath(folder + name, 2, CREATE_NEW, state.cx(), handle);
        if (error == kErrFileExists)
            continue;
        if (error == kErrNone) {
            GuestMemory::WriteAsciiz(m_c.memory, state.ds(), state.dx(), folder + name);
            state.ax() = handle;
        }
        m_c.dos.Answer(state, error);
        return;
    }
    m_c.dos.Fail(state, kErrCannotMake);
}

void CDosFileServices::Close(CpuState& state)
{
    m_c.dos.Answer(state, m_c.files.Close(m_c.dos.currentPsp, state.bx()));
}

CDosConsole::Read CDosFileServices::Read(CpuState& state)
{
    DosOpenFile* file = m_c.files.Get(m_c.dos.currentPsp, state.bx());
    if (!file || (file->kind == FileKind::Host && (file->mode & 7) == 1)) {
        m_c.dos.Fail(state, file ? kErrAccessDenied : kErrInvalidHandle);
        return CDosConsole::Read::Done;
    }
    std::vector<uint8_t> buffer(state.cx());
    uint16_t got = 0;
    switch (file->kind) {
    case FileKind::StandardInput:
    case FileKind::StandardOutput:
    case FileKind::StandardError: {
        CDosConsole::Read read = m_c.console.ReadHandle(buffer.data(), state.cx(), got);
        if (read != CDosConsole::Read::Done)
            return read;
        break;
    }
    case FileKind::Host: {
        DWORD read = 0;
        if (state.cx() && !ReadFile(file->handle, buffer.data(), state.cx(), &read, nullptr)) {
            m_c.dos.Fail(state, CHostFileSystem::FromWin32(GetLastError()));
            return CDosConsole::Read::Done;
        }
        got = static_cast<uint16_t>(read);
        m_c.front.OnExternalEvent(ExternalEvent::FileRead);
        break;
    }
    case FileKind::Null:
    case FileKind::Free:
        break;
    }
    GuestMemory::WriteBytes(m_c.memory, state.ds(), state.dx(), buffer.data(), got);
    state.ax() = got;
    DosState::Succeed(state);
    return CDosConsole::Read::Done;
}

void CDosFileServices::Write(CpuState& state)
{
    DosOpenFile* file = m_c.files.Get(m_c.dos.currentPsp, state.bx());
    if (!file || (file->kind == FileKind::Host && (file->mode & 7) == 0)) {
        m_c.dos.Fail(state, file ? kErrAccessDenied : kErrInvalidHandle);
        return;
    }
    std::string bytes = GuestMemory::ReadBytes(m_c.memory, state.ds(), state.dx(), state.cx());
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    switch (file->kind) {
    case FileKind::StandardInput:
    case FileKind::StandardOutput:
        m_c.console.Write(DosStream::Output, data, bytes.size());
        break;
    case FileKind::StandardError:
        m_c.console.Write(DosStream::Error, data, bytes.size());
        break;
    case FileKind::Host: {
        DWORD written = 0;
        BOOL done = bytes.empty() ? SetEndOfFile(file->handle)
                                  : WriteFile(file->handle, data, static_cast<DWORD>(bytes.size()), &written, nullptr);
        if (!done && GetLastError() != ERROR_DISK_FULL) {
            m_c.dos.Fail(state, CHostFileSystem::FromWin32(GetLastError()));
            return;
        }
        file->deviceInfo &= static_cast<uint16_t>(~0x40);
        m_c.front.OnExternalEvent(ExternalEvent::FileWritten);
        state.ax() = static_cast<uint16_t>(written);
        DosState::Succeed(state);
        return;
    }
    case FileKind::Null:
    case FileKind::Free:
        break;
    }
    state.ax() = state.cx();
    DosState::Succeed(state);
}

void CDosFileServices::Delete(CpuState& state)
{
    std::string path = Text(state.ds(), state.dx());
    DosPath::FullPath full;
    std::wstring host;
    DosError error = DosPath::HasWildcards(path) ? kErrFileNotFound : Locate(path, full, host);
    if (error == kErrNone) {
        DWORD attributes = GetFileAttributesW(host.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            error = kErrAccessDenied;
        else if (!DeleteFileW(host.c_str()))
            error = CHostFileSystem::FromWin32(GetLastError());
    }
    if (error == kErrNone)
        Changed();
    m_c.dos.Answer(state, error);
}

void CDosFileServices::Seek(CpuState& state)
{
    DosOpenFile* file = m_c.files.Get(m_c.dos.currentPsp, state.bx());
    if (!file || state.al() > 2) {
        m_c.dos.Fail(state, file ? kErrInvalidFunction : kErrInvalidHandle);
        return;
    }
    LARGE_INTEGER position{};
    if (file->kind == FileKind::Host) {
        LARGE_INTEGER move;
        int32_t distance = static_cast<int32_t>((static_cast<uint32_t>(state.cx()) << 16) | state.dx());
        // From the start, DOS's offset is unsigned.
        move.QuadPart = state.al() == 0 ? static_cast<int64_t>(static_cast<uint32_t>(distance)) : distance;
        static const DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
        if (!SetFilePointerEx(file->handle, move, &position, kMethods[state.al()])) {
            m_c.dos.Fail(state, CHostFileSystem::FromWin32(GetLastError()));
            return;
        }
    }
    state.ax() = static_cast<uint16_t>(position.QuadPart);
    state.dx() = static_cast<uint16_t>(position.QuadPart >> 16);
    DosState::Succeed(state);
}

void CDosFileServices::Attributes(CpuState& state)
{
    DosPath::FullPath full;
    std::wstring host;
    DosError error = LocateAt(state.ds(), state.dx(), full, host);
    if (error == kErrNone && state.al() == 0) {
        DWORD attributes = GetFileAttributesW(host.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            error = CHostFileSystem::FromWin32(GetLastError());
        else
            state.cx() = CHostFileSystem::ToDosAttributes(attributes);
    } else if (error == kErrNone && state.al() == 1) {
        DWORD attributes = GetFileAttributesW(host.c_str());
        if (state.cx() & 0x18)
            error = kErrAccessDenied;
        else if (attributes == INVALID_FILE_ATTRIBUTES)
            error = CHostFileSystem::FromWin32(GetLastError());
        else if (!SetFileAttributesW(host.c_str(), HostAttributes(state.cx())))
            error = CHostFileSystem::FromWin32(GetLastError());
        else
            Changed();
    } else if (error == kErrNone) {
        error = kErrInvalidFunction;
    }
    m_c.dos.Answer(state, error);
}

void CDosFileServices::Ioctl(CpuState& state)
{
    uint8_t function = state.al();
    if (function == 0x08 || function == 0x09 || function == 0x0E || function == 0x0F) {
        uint8_t drive = state.bl() ? static_cast<uint8_t>(state.bl() - 1) : m_nDrive;
        if (!CHostFileSystem::DriveExists(drive)) {
            m_c.dos.Fail(state, kErrInvalidDrive);
            return;
        }
        if (function == 0x08)
            state.ax() = drive < 2 ? 0 : 1;
        else if (function == 0x09)
            state.dx() = 0;
        else
            state.set_al(0);
        DosState::Succeed(state);
        return;
    }
    if (function == 0x0B) {
        DosState::Succeed(state);
        return;
    }
    DosOpenFile* file = m_c.files.Get(m_c.dos.currentPsp, state.bx());
    if (!file) {
        m_c.dos.Fail(state, kErrInvalidHandle);
        return;
    }
    bool device = (file->deviceInfo & 0x80) != 0;
    switch (function) {
    case 0x00:
        state.dx() = file->deviceInfo;
        break;
    case 0x01:
        if (!device) {
            m_c.dos.Fail(state, kErrInvalidFunction);
            return;
        }
        file->deviceInfo = static_cast<uint16_t>((file->deviceInfo & 0xFF00) | (state.dl() & 0xFF));
        break;
    case 0x06:
        if (file->kind == FileKind::StandardInput)
            state.set_al(m_c.console.CharacterReady() ? 0xFF : 0x00);
        else if (file->kind == FileKind::Host) {
            LARGE_INTEGER zero{}, at{}, size{};
            SetFilePointerEx(file->handle, zero, &at, FILE_CURRENT);
            GetFileSizeEx(file->handle, &size);
            state.set_al(at.QuadPart < size.QuadPart ? 0xFF : 0x00);
        } else
            state.set_al(file->kind == FileKind::Null ? 0x00 : 0xFF);
        break;
    case 0x07:
        state.set_al(0xFF);
        break;
    case 0x0A:
        state.dx() = 0;
        break;
    default:
        m_c.dos.Fail(state, kErrInvalidFunction);
        return;
    }
    DosState::Succeed(state);
}

void CDosFileServices::Duplicate(CpuState& state)
{
    uint16_t copy = 0;
    DosError error = m_c.files.Duplicate(m_c.dos.currentPsp, state.bx(), copy);
    if (error == kErrNone)
        state.ax() = copy;
    m_c.dos.Answer(state, error);
}

void CDosFileServices::ForceDuplicate(CpuState& state)
{
    m_c.dos.Answer(state, m_c.files.ForceDuplicate(m_c.dos.currentPsp, state.bx(), state.cx()));
}

void CDosFileServices::WriteEntry(const DosDirEntry& entry, uint16_t searchId, uint16_t position)
{
    uint16_t segment = m_c.dos.dtaSegment, offset = m_c.dos.dtaOffset;
    CMemory& memory = m_c.memory;
    memory.Write16(segment, static_cast<uint16_t>(offset + 13), kSearchMark);
    memory.Write16(segment, static_cast<uint16_t>(offset + 15), searchId);
    memory.Write16(segment, static_cast<uint16_t>(offset + 17), position);
    memory.Write8(segment, static_cast<uint16_t>(offset + 0x15), entry.attributes);
    memory.Write16(segment, static_cast<uint16_t>(offset + 0x16), entry.time);
    memory.Write16(segment, static_cast<uint16_t>(offset + 0x18), entry.date);
    memory.Write16(segment, static_cast<uint16_t>(offset + 0x1A), static_cast<uint16_t>(entry.size));
    memory.Write16(segment, static_cast<uint16_t>(offset + 0x1C), static_cast<uint16_t>(entry.size >> 16));
    GuestMemory::Fill(memory, segment, static_cast<uint16_t>(offset + 0x1E), 0, 13);
    GuestMemory::WriteAsciiz(memory, segment, static_cast<uint16_t>(offset + 0x1E), entry.name.substr(0, 12));
}

void CDosFileServices::NextMatch(CpuState& state, uint16_t searchId)
{
    Search& search = m_searches[searchId % kSearchSlots];
    if (search.next >= search.entries.size()) {
        m_c.dos.Fail(state, kErrNoMoreFiles);
        return;
    }
    WriteEntry(search.entries[search.next], searchId, static_cast<uint16_t>(search.next + 1));
    ++search.next;
    DosState::Succeed(state);
}

void CDosFileServices::FindFirst(CpuState& state)
{
    std::string path = Text(state.ds(), state.dx());
    size_t split = path.find_last_of("\\/:");
    std::string pattern = split == std::string::npos ? path : path.substr(split + 1);
    std::string folder = split == std::string::npos ? "." : path.substr(0, split + 1);
    if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') && folder[folder.size() - 2] != ':')
        folder.pop_back();
    DosPath::FullPath full;
    std::wstring host;
    DosError error = pattern.empty() ? kErrNoMoreFiles : Locate(folder, full, host);
    if (error == kErrNone && host.back() == L'\\')
        host.pop_back();
    uint16_t id = static_cast<uint16_t>(m_nNextSearch++ % kSearchSlots);
    Search& search = m_searches[id];
    search = Search{};
    if (error == kErrNone && state.cl() == 0x08)
        error = kErrNoMoreFiles;
    if (error == kErrNone)
        error = m_c.host.List(host, DosPath::ToFcbForm(pattern), state.cl(), search.entries);
    if (error == kErrNone && !DosPath::HasWildcards(pattern) && search.entries.empty())
        error = kErrFileNotFound;
    if (error != kErrNone) {
        m_c.dos.Fail(state, error == kErrNoMoreFiles && !DosPath::HasWildcards(pattern) ? kErrFileNotFound : error);
        return;
    }
    NextMatch(state, id);
}

void CDosFileServices::FindNext(CpuState& state)
{
    uint16_t segment = m_c.dos.dtaSegment, offset = m_c.dos.dtaOffset;
    if (m_c.memory.Read16(segment, static_cast<uint16_t>(offset + 13)) != kSearchMark) {
        m_c.dos.Fail(state, kErrNoMoreFiles);
        return;
    }
    uint16_t id = m_c.memory.Read16(segment, static_cast<uint16_t>(offset + 15));
    m_searches[id % kSearchSlots].next = m_c.memory.Read16(segment, static_cast<uint16_t>(offset + 17));
    NextMatch(state, id);
}

void CDosFileServices::Rename(CpuState& state)
{
    DosPath::FullPath fromFull, toFull;
    std::wstring from, to;
    DosError error = LocateAt(state.ds(), state.dx(), fromFull, from);
    if (error == kErrNone)
        error = LocateAt(state.es(), state.di(), toFull, to);
    if (error == kErrNone && fromFull.drive != toFull.drive)
        error = kErrNotSameDevice;
    if (error == kErrNone && !MoveFileW(from.c_str(), to.c_str())) {
        DWORD code = GetLastError();
        error = code == ERROR_ALREADY_EXISTS ? kErrAccessDenied : CHostFileSystem::FromWin32(code);
    }
    if (error == kErrNone)
        Changed();
    m_c.dos.Answer(state, error);
}

void CDosFileServices::FileTime(CpuState& state)
{
    DosOpenFile* file = m_c.files.Get(m_c.dos.currentPsp, state.bx());
    if (!file || state.al() > 1) {
        m_c.dos.Fail(state, file ? kErrInvalidFunction : kErrInvalidHandle);
        return;
    }
    if (file->kind != FileKind::Host) {
        DosState::Succeed(state);
        return;
    }
    if (state.al() == 0) {
        FILETIME written;
        GetFileTime(file->handle, nullptr, nullptr, &written);
        uint16_t date, time;
        CHostFileSystem::ToDosTime(written, date, time);
        state.cx() = time;
        state.dx() = date;
    } else {
        FILETIME written = CHostFileSystem::FromDosTime(state.dx(), state.cx());
        if (!SetFileTime(file->handle, nullptr, nullptr, &written)) {
            m_c.dos.Fail(state, CHostFileSystem::FromWin32(GetLastError()));
            return;
        }
        Changed();
    }
    DosState::Succeed(state);
}

void CDosFileServices::SetHandleCount(CpuState& state)
{
    uint16_t psp = m_c.dos.currentPsp;
    uint16_t count = state.bx();
    if (count <= m_c.files.TableSize(psp)) {
        DosState::Succeed(state);
        return;
    }
    uint16_t segment = 0, largest = 0;
    DosError error = m_c.arena.Allocate(static_cast<uint16_t>((count + 15) / 16), psp, segment, largest);
    if (error == kErrNone)
        m_c.files.MoveTable(psp, segment, 0, count);
    m_c.dos.Answer(state, error);
}

void CDosFileServices::Commit(CpuState& state)
{
    DosOpenFile* file = m_c.files.Get(m_c.dos.currentPsp, state.bx());
    if (!file) {
        m_c.dos.Fail(state, kErrInvalidHandle);
        return;
    }
    if (file->kind == FileKind::Host)
        FlushFileBuffers(file->handle);
    DosState::Succeed(state);
}

}  // namespace dos
