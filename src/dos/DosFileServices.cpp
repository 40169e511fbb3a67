// INT 21h's file, folder and drive functions on the machine's drive. Every call is on a file the
// program named; nothing else is opened, changed or created, and nothing outside the write
// rule's folders is changed.
#include "dos/DosFileServices.h"

#include "dos/DosLayout.h"
#include "dos/GuestMemory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dos {

namespace {

constexpr size_t kSearchSlots = 32;
constexpr uint8_t kLastDrive = 26;
constexpr uint16_t kSearchMark = 0x4B56;

std::string Uppercase(std::string text) { return DosPath::Upper(std::move(text)); }

// The folder a file is in (the root for a file at the root).
DosPath::FullPath FolderOf(DosPath::FullPath file)
{
    size_t slash = file.path.find_last_of('\\');
    file.path.erase(slash == 0 ? 1 : slash);
    return file;
}

}

void CDosFileServices::Reset(const std::wstring& startFolder, const std::wstring& program,
                             const std::vector<std::wstring>& writableFolders)
{
    for (std::string& folder : m_directories)
        folder.clear();
    m_searches.assign(kSearchSlots, Search{});
    m_nNextSearch = 0;
    m_rule.Clear();
    DosPath::FullPath full;
    if (m_c.drive.PathOf(startFolder, full) == kErrNone) {
        m_nDrive = full.drive;
        m_directories[full.drive] = full.path.substr(1);
        m_rule.Allow(full);
    }
    if (m_c.drive.PathOf(program, full) == kErrNone)
        m_rule.Allow(FolderOf(full));
    if (m_c.drive.TemporaryFolder(full))
        m_rule.Allow(full);
    for (const std::wstring& folder : writableFolders)
        if (m_c.drive.PathOf(folder, full) == kErrNone)
            m_rule.Allow(full);
}

std::string CDosFileServices::Text(uint16_t segment, uint16_t offset) const
{
    return GuestMemory::ReadAsciiz(m_c.memory, segment, offset, 128);
}

DosError CDosFileServices::Locate(const std::string& path, DosPath::FullPath& full)
{
    DosError error = DosPath::Resolve(path, m_nDrive, [this](uint8_t drive) { return CurrentDirectory(drive); }, full);
    if (error == kErrNone && !m_c.drive.Exists(full.drive))
        error = kErrPathNotFound;
    return error;
}

DosError CDosFileServices::LocateAt(uint16_t segment, uint16_t offset, DosPath::FullPath& full)
{
    return Locate(Text(segment, offset), full);
}

DosError CDosFileServices::MayChange(const DosPath::FullPath& path) const
{
    return m_rule.Allows(path) ? kErrNone : kErrAccessDenied;
}

void CDosFileServices::SelectDrive(CpuState& state)
{
    if (m_c.drive.Exists(state.dl()))
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
    uint64_t available = 0, total = 0;
    if (!m_c.drive.Exists(drive) || m_c.drive.FreeSpace(drive, available, total) != kErrNone) {
        state.ax() = 0xFFFF;
        return;
    }
    // 32 KB clusters: DOS's largest, 2 GB at most.
    const uint64_t cluster = 64 * 512;
    state.ax() = 64;
    state.cx() = 512;
    state.bx() = static_cast<uint16_t>(std::min<uint64_t>(available / cluster, 0xFFFF));
    state.dx() = static_cast<uint16_t>(std::min<uint64_t>(total / cluster, 0xFFFF));
}

void CDosFileServices::MakeFolder(CpuState& state)
{
    DosPath::FullPath full;
    DosError error = LocateAt(state.ds(), state.dx(), full);
    if (error == kErrNone)
        error = MayChange(full);
    if (error == kErrNone)
        error = m_c.drive.MakeFolder(full);
    if (error == kErrFileExists)
        error = kErrAccessDenied;
    if (error == kErrNone)
        Changed();
    m_c.dos.Answer(state, error);
}

void CDosFileServices::RemoveFolder(CpuState& state)
{
    DosPath::FullPath full;
    DosError error = LocateAt(state.ds(), state.dx(), full);
    // Compared as the drive spells both, so that no other spelling removes the current folder.
    if (error == kErrNone && m_c.drive.Canonical(full).path.substr(1) == m_directories[full.drive])
        error = kErrCurrentDirectory;
    if (error == kErrNone)
        error = MayChange(full);
    if (error == kErrNone)
        error = m_c.drive.RemoveFolder(full);
    if (error == kErrNone)
        Changed();
    m_c.dos.Answer(state, error);
}

void CDosFileServices::ChangeFolder(CpuState& state)
{
    DosPath::FullPath full;
    DosError error = LocateAt(state.ds(), state.dx(), full);
    uint8_t attributes = 0;
    if (error == kErrNone && (m_c.drive.GetAttributes(full, attributes) != kErrNone || !(attributes & kAttrFolder)))
        error = kErrPathNotFound;
    if (error == kErrNone)
        m_directories[full.drive] = m_c.drive.Canonical(full).path.substr(1);
    m_c.dos.Answer(state, error);
}

void CDosFileServices::GetFolder(CpuState& state)
{
    uint8_t drive = state.dl() ? static_cast<uint8_t>(state.dl() - 1) : m_nDrive;
    if (drive >= kLastDrive || !m_c.drive.Exists(drive)) {
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
        file = {input ? FileKind::StandardInput : FileKind::StandardOutput, nullptr, mode, 0, 0x80D3};
        return true;
    }
    static const char* const kQuiet[] = {"NUL", "AUX", "PRN", "COM1", "COM2", "COM3", "COM4", "LPT1", "LPT2", "LPT3"};
    for (const char* quiet : kQuiet) {
        if (name == quiet) {
            file = {FileKind::Null, nullptr, mode, 0, 0x8084};
            return true;
        }
    }
    return false;
}

DosError CDosFileServices::OpenPath(const std::string& path, uint8_t mode, OpenAction action, uint16_t attributes,
                                    uint16_t& handle)
{
    DosOpenFile file;
    if (DeviceFile(path, mode, file))
        return m_c.files.Add(m_c.dos.currentPsp, std::move(file), handle);
    uint8_t access = mode & 7;
    uint8_t share = (mode >> 4) & 7;
    if (access > 2 || share > 4)
        return kErrInvalidAccess;
    if (DosPath::HasWildcards(path))
        return kErrFileNotFound;
    DosPath::FullPath full;
    DosError error = Locate(path, full);
    if (error != kErrNone)
        return error;
    // A folder cannot be opened as a file, nor a read-only file for writing (whatever rights
    // the host would give).
    uint8_t existing = 0;
    bool exists = m_c.drive.GetAttributes(full, existing) == kErrNone;
    if (exists && (existing & kAttrFolder))
        return kErrAccessDenied;
    if (exists && (existing & kAttrReadOnly) && (access != 0 || action != OpenAction::OpenExisting))
        return kErrAccessDenied;
    // Opening a missing file to write makes nothing: the drive answers that it is missing.
    bool changes = action != OpenAction::OpenExisting || (access != 0 && exists);
    if (changes && MayChange(full) != kErrNone)
        return kErrAccessDenied;
    error = m_c.drive.Open(full, mode, action, static_cast<uint8_t>(attributes), file.file);
    if (error != kErrNone)
        return error;
    if (action != OpenAction::OpenExisting)
        Changed();
    file.kind = FileKind::Disk;
    file.mode = mode;
    file.deviceInfo = static_cast<uint16_t>(0x40 | full.drive);
    file.path = full;
    return m_c.files.Add(m_c.dos.currentPsp, std::move(file), handle);
}

void CDosFileServices::Create(CpuState& state)
{
    uint16_t handle = 0;
    DosError error = OpenPath(Text(state.ds(), state.dx()), 2, OpenAction::CreateAlways, state.cx(), handle);
    if (error == kErrNone)
        state.ax() = handle;
    m_c.dos.Answer(state, error);
}

void CDosFileServices::CreateNew(CpuState& state)
{
    uint16_t handle = 0;
    DosError error = OpenPath(Text(state.ds(), state.dx()), 2, OpenAction::CreateNew, state.cx(), handle);
    if (error == kErrNone)
        state.ax() = handle;
    m_c.dos.Answer(state, error);
}

void CDosFileServices::Open(CpuState& state)
{
    uint16_t handle = 0;
    DosError error = OpenPath(Text(state.ds(), state.dx()), state.al(), OpenAction::OpenExisting, 0, handle);
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
    DosError error = Locate(path, full);
    DosOpenFile device;
    uint8_t attributes = 0;
    DosError found = error == kErrNone ? m_c.drive.GetAttributes(full, attributes) : error;
    bool exists = DeviceFile(path, state.bl(), device) || found == kErrNone;
    uint16_t action = 0, handle = 0;
    if (exists && ifExists == 1) {
        error = OpenPath(path, state.bl(), OpenAction::OpenExisting, 0, handle);
        action = 1;
    } else if (exists && ifExists == 2) {
        error = OpenPath(path, state.bl(), OpenAction::TruncateExisting, 0, handle);
        action = 3;
    } else if (!exists && ifMissing == 1 && error == kErrNone) {
        error = OpenPath(path, state.bl(), OpenAction::CreateNew, state.cx(), handle);
        action = 2;
    } else if (error == kErrNone) {
        error = exists ? kErrFileExists : found;
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
        unsigned unique = (++m_nTemporary * 7919u) & 0xFFFFFFu;
        snprintf(name, sizeof name, "K%07X", unique);
        uint16_t handle = 0;
        DosError error = OpenPath(folder + name, 2, OpenAction::CreateNew, state.cx(), handle);
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
    if (!file || (file->kind == FileKind::Disk && (file->mode & 7) == 1)) {
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
    case FileKind::Disk: {
        uint32_t read = 0;
        DosError error = state.cx() ? file->file->Read(buffer.data(), state.cx(), read) : kErrNone;
        if (error != kErrNone) {
            m_c.dos.Fail(state, error);
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
    if (!file || (file->kind == FileKind::Disk && (file->mode & 7) == 0)) {
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
    case FileKind::Disk: {
        uint32_t written = 0;
        DosError error = bytes.empty() ? file->file->Truncate()
                                       : file->file->Write(data, static_cast<uint32_t>(bytes.size()), written);
        if (error != kErrNone) {
            m_c.dos.Fail(state, error);
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
    DosError error = DosPath::HasWildcards(path) ? kErrFileNotFound : Locate(path, full);
    uint8_t attributes = 0;
    if (error == kErrNone && m_c.drive.GetAttributes(full, attributes) == kErrNone &&
        (attributes & (kAttrFolder | kAttrReadOnly)))
        error = kErrAccessDenied;
    if (error == kErrNone)
        error = MayChange(full);
    if (error == kErrNone)
        error = m_c.drive.Delete(full);
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
    uint64_t position = 0;
    if (file->kind == FileKind::Disk) {
        int32_t distance = static_cast<int32_t>((static_cast<uint32_t>(state.cx()) << 16) | state.dx());
        // From the start, DOS's offset is unsigned.
        int64_t move = state.al() == 0 ? static_cast<int64_t>(static_cast<uint32_t>(distance)) : distance;
        DosError error = file->file->Seek(move, static_cast<SeekOrigin>(state.al()), position);
        if (error != kErrNone) {
            m_c.dos.Fail(state, error);
            return;
        }
    }
    state.ax() = static_cast<uint16_t>(position);
    state.dx() = static_cast<uint16_t>(position >> 16);
    DosState::Succeed(state);
}

void CDosFileServices::Attributes(CpuState& state)
{
    DosPath::FullPath full;
    DosError error = LocateAt(state.ds(), state.dx(), full);
    uint8_t attributes = 0;
    if (error == kErrNone && state.al() == 0) {
        error = m_c.drive.GetAttributes(full, attributes);
        if (error == kErrNone)
            state.cx() = attributes;
    } else if (error == kErrNone && state.al() == 1) {
        if (state.cx() & (kAttrVolume | kAttrFolder))
            error = kErrAccessDenied;
        if (error == kErrNone)
            error = m_c.drive.GetAttributes(full, attributes);
        if (error == kErrNone)
            error = MayChange(full);
        if (error == kErrNone)
            error = m_c.drive.SetAttributes(full, static_cast<uint8_t>(state.cx()));
        if (error == kErrNone)
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
        if (!m_c.drive.Exists(drive)) {
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
        else if (file->kind == FileKind::Disk) {
            uint64_t at = 0;
            file->file->Seek(0, SeekOrigin::Current, at);
            state.set_al(at < file->file->Size() ? 0xFF : 0x00);
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
    DosError error = pattern.empty() ? kErrNoMoreFiles : Locate(folder, full);
    uint16_t id = static_cast<uint16_t>(m_nNextSearch++ % kSearchSlots);
    Search& search = m_searches[id];
    search = Search{};
    if (error == kErrNone && state.cl() == kAttrVolume)
        error = kErrNoMoreFiles;
    std::vector<DosDirEntry> entries;
    if (error == kErrNone)
        error = m_c.drive.List(full, entries);
    const std::string wanted = DosPath::ToFcbForm(pattern);
    for (const DosDirEntry& entry : entries) {
        // Hidden, system and folder entries only when asked for; plain files always.
        if (!(entry.attributes & (kAttrHidden | kAttrSystem | kAttrFolder) & ~state.cl()) &&
            DosPath::MatchFcb(wanted, DosPath::ToFcbForm(entry.name)))
            search.entries.push_back(entry);
    }
    if (error == kErrNone && search.entries.empty())
        error = kErrNoMoreFiles;
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
    DosPath::FullPath from, to;
    DosError error = LocateAt(state.ds(), state.dx(), from);
    if (error == kErrNone)
        error = LocateAt(state.es(), state.di(), to);
    if (error == kErrNone && from.drive != to.drive)
        error = kErrNotSameDevice;
    if (error == kErrNone)
        error = MayChange(from);
    if (error == kErrNone)
        error = MayChange(to);
    if (error == kErrNone)
        error = m_c.drive.Rename(from, to);
    if (error == kErrFileExists)
        error = kErrAccessDenied;
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
    if (file->kind != FileKind::Disk) {
        DosState::Succeed(state);
        return;
    }
    DosError error = kErrNone;
    if (state.al() == 0) {
        uint16_t date = 0, time = 0;
        error = file->file->GetTime(date, time);
        if (error == kErrNone) {
            state.cx() = time;
            state.dx() = date;
        }
    } else {
        error = MayChange(file->path);
        if (error == kErrNone)
            error = file->file->SetTime(state.dx(), state.cx());
        if (error == kErrNone)
            Changed();
    }
    m_c.dos.Answer(state, error);
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
    if (file->kind == FileKind::Disk)
        file->file->Commit();
    DosState::Succeed(state);
}

}  // namespace dos
