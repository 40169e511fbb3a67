// DOS's programs: loading, EXEC and termination. The parent's registers at EXEC are kept here
// and given back when the child ends, as DOS gives them back from the parent's stack.
#include "dos/DosProcesses.h"

#include "dos/DosLayout.h"
#include "dos/GuestMemory.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace dos {

using namespace DosLayout;

namespace {

constexpr size_t kReadLimit = 0x200000;
constexpr uint16_t kStartFlags = 0xF202;
// Read, letting others read and write: how the loader opens a program.
constexpr uint8_t kReadSharingAll = 0x40;

uint16_t Paragraphs(size_t bytes) { return static_cast<uint16_t>((bytes + 15) / 16); }

// INT 22h, 23h and 24h: between the vector table and a PSP's copies of them.
void CopyVectors(CMemory& memory, uint16_t fromSegment, uint16_t from, uint16_t toSegment, uint16_t to)
{
    for (uint16_t i = 0; i < 6; ++i)
        memory.Write16(toSegment, static_cast<uint16_t>(to + 2 * i), memory.Read16(fromSegment, static_cast<uint16_t>(from + 2 * i)));
}

// The program's name as DOS 4 and later keep it in its memory block: the base name, uppercase.
std::string BlockName(const std::string& dosPath)
{
    size_t start = dosPath.find_last_of("\\:");
    std::string name = dosPath.substr(start == std::string::npos ? 0 : start + 1);
    return DosPath::Upper(name.substr(0, name.find('.')));
}

}

void CDosProcesses::Reset(uint16_t memoryTop, const std::vector<std::string>& environment)
{
    CMemory& memory = m_c.memory;
    m_returns.clear();
    m_c.arena.Reset(kFirstMcbSegment, memoryTop);
    uint16_t psp = 0, largest = 0;
    m_c.arena.Allocate(kShellPspParagraphs, kShellPspSegment, psp, largest);
    std::string block;
    for (const std::string& variable : environment) {
        if (variable.empty() || variable.find('=') == std::string::npos || variable.find('\0') != std::string::npos)
            continue;
        if (block.size() + variable.size() + 1 > kEnvironmentLimit - 1)
            break;
        block += variable + '\0';
    }
    block += '\0';
    m_c.arena.Allocate(Paragraphs(block.size()), kShellPspSegment, m_nShellEnvironment, largest);
    GuestMemory::WriteBytes(memory, m_nShellEnvironment, 0, block.data(), block.size());
    m_c.arena.SetName(psp, "COMMAND");
    Request shell;
    shell.tail = std::string("\0\r", 2);
    BuildPsp(psp, memoryTop, psp, m_nShellEnvironment, shell);
    m_c.files.OpenStandardHandles(psp);
    m_c.dos.currentPsp = psp;
    m_c.dos.dtaSegment = psp;
    m_c.dos.dtaOffset = 0x80;
    m_c.dos.returnCode = 0;
}

LoadError CDosProcesses::ReadImage(const DosPath::FullPath& path, CProgramImage& image)
{
    uint8_t attributes = 0;
    if (m_c.drive.GetAttributes(path, attributes) == kErrNone && (attributes & kAttrFolder))
        return LoadError::NotFound;
    std::unique_ptr<IDriveFile> file;
    DosError error = m_c.drive.Open(path, kReadSharingAll, OpenAction::OpenExisting, 0, file);
    if (error != kErrNone) {
        bool missing = error == kErrFileNotFound || error == kErrPathNotFound;
        return missing ? LoadError::NotFound : LoadError::Unreadable;
    }
    std::vector<uint8_t> bytes(kReadLimit);
    size_t size = 0;
    for (uint32_t got = 1; got > 0 && size < bytes.size(); size += got) {
        if (file->Read(bytes.data() + size, static_cast<uint32_t>(bytes.size() - size), got) != kErrNone)
            return LoadError::Unreadable;
    }
    bytes.resize(size);
    switch (image.Parse(std::move(bytes))) {
    case ImageError::None:
        return LoadError::None;
    case ImageError::WindowsProgram:
        return LoadError::WindowsProgram;
    case ImageError::CorruptHeader:
        return LoadError::CorruptHeader;
    case ImageError::ComTooLarge:
        return LoadError::ComTooLarge;
    }
    return LoadError::CorruptHeader;
}

bool CDosProcesses::CopyEnvironment(uint16_t source, const std::string& dosPath, uint16_t& block)
{
    // The strings up to the empty one that ends them, then the count word and the program's path.
    std::string strings;
    for (size_t i = 0; i + 1 < kEnvironmentLimit; ++i) {
        char byte = static_cast<char>(m_c.memory.Read8(source, static_cast<uint16_t>(i)));
        if (byte == '\0' && (strings.empty() || strings.back() == '\0'))
            break;
        strings.push_back(byte);
    }
    if (!strings.empty() && strings.back() != '\0')
        strings.push_back('\0');
    strings += std::string("\0\x01\0", 3) + dosPath + '\0';
    uint16_t largest = 0;
    if (m_c.arena.Allocate(Paragraphs(strings.size()), m_c.dos.currentPsp, block, largest) != kErrNone)
        return false;
    GuestMemory::WriteBytes(m_c.memory, block, 0, strings.data(), strings.size());
    return true;
}

LoadError CDosProcesses::PlaceImage(const CProgramImage& image, uint16_t& block, uint16_t& loadSegment)
{
    uint16_t largest = m_c.arena.Largest();
    uint32_t module = image.Paragraphs();
    uint32_t need, want;
    if (image.IsExe()) {
        need = 0x10 + module + image.MinExtra();
        want = std::min<uint32_t>(0xFFFF, 0x10 + module + image.MaxExtra());
    } else {
        need = Paragraphs(0x100 + image.Module().size() + 2);
        want = 0xFFFF;
    }
    if (largest < need)
        return LoadError::NotEnoughMemory;
    uint16_t size = static_cast<uint16_t>(std::max(need, std::min<uint32_t>(largest, want)));
    if (m_c.arena.Allocate(size, m_c.dos.currentPsp, block, largest) != kErrNone)
        return LoadError::NotEnoughMemory;
    bool high = image.IsExe() && image.MinExtra() == 0 && image.MaxExtra() == 0;
    loadSegment = static_cast<uint16_t>(high ? block + size - module : block + (image.IsExe() ? 0x10 : 0));
    const std::vector<uint8_t>& bytes = image.Module();
    // Through the memory's writes, so that a debugger's step-back history sees them.
    uint32_t base = CMemory::Linear(loadSegment, image.IsExe() ? 0 : 0x100);
    m_c.memory.WriteBlock(base, bytes.data(), std::min<size_t>(bytes.size(), CMemory::kSize - base));
    for (const Relocation& relocation : image.Relocations()) {
        uint16_t segment = static_cast<uint16_t>(loadSegment + relocation.segment);
        m_c.memory.Write16(segment, relocation.offset,
                           static_cast<uint16_t>(m_c.memory.Read16(segment, relocation.offset) + loadSegment));
    }
    return LoadError::None;
}

LoadError CDosProcesses::Load(const Request& request, Entry& entry)
{
    CProgramImage image;
    LoadError error = ReadImage(request.path, image);
    if (error != LoadError::None)
        return error;
    uint16_t parent = m_c.dos.currentPsp;
    uint16_t source = request.environment ? request.environment : m_c.memory.Read16(parent, Psp::kEnvironment);
    uint16_t environment = 0;
    if (!CopyEnvironment(source, request.dosPath, environment))
        return LoadError::NotEnoughMemory;
    uint16_t block = 0, loadSegment = 0;
    error = PlaceImage(image, block, loadSegment);
    if (error != LoadError::None) {
        m_c.arena.Free(environment);
        return error;
    }
    uint16_t top = static_cast<uint16_t>(block + m_c.arena.BlockSize(block));
    m_c.arena.SetOwner(block, block);
    m_c.arena.SetOwner(environment, block);
    m_c.arena.SetName(block, BlockName(request.dosPath));
    BuildPsp(block, top, parent, environment, request);
    m_c.files.Inherit(parent, block);
    entry.psp = block;
    entry.ax = FcbValidity(request);
    if (image.IsExe()) {
        entry.cs = static_cast<uint16_t>(image.InitialCs() + loadSegment);
        entry.ip = image.InitialIp();
        entry.ss = static_cast<uint16_t>(image.InitialSs() + loadSegment);
        entry.sp = image.InitialSp();
    } else {
        entry.cs = entry.ss = block;
        entry.ip = 0x100;
        uint32_t bytes = static_cast<uint32_t>(top - block) * 16;
        entry.sp = static_cast<uint16_t>(bytes >= 0x10000 ? 0xFFFE : bytes - 2);
        m_c.memory.Write16(block, entry.sp, 0);
    }
    return LoadError::None;
}

void CDosProcesses::BuildPsp(uint16_t psp, uint16_t memoryTop, uint16_t parent, uint16_t environment,
                             const Request& request)
{
    CMemory& memory = m_c.memory;
    GuestMemory::Fill(memory, psp, 0, 0, Psp::kSize);
    memory.Write16(psp, 0, 0x20CD);
    memory.Write16(psp, Psp::kMemoryTop, memoryTop);
    // The CP/M entry: a far call whose offset word tells the bytes in the segment.
    static const uint8_t kCpmCall[] = {0x9A, 0xF0, 0xFE, 0x1D, 0xF0};
    GuestMemory::WriteBytes(memory, psp, Psp::kCpmCall, kCpmCall, sizeof kCpmCall);
    CopyVectors(memory, 0, 0x22 * 4, psp, Psp::kTerminateAddress);
    memory.Write16(psp, Psp::kParent, parent);
    GuestMemory::Fill(memory, psp, Psp::kHandleTable, Psp::kUnusedHandle, Psp::kDefaultHandles);
    memory.Write16(psp, Psp::kEnvironment, environment);
    memory.Write16(psp, Psp::kHandleCount, Psp::kDefaultHandles);
    memory.Write16(psp, Psp::kHandleTablePointer, Psp::kHandleTable);
    memory.Write16(psp, Psp::kHandleTablePointer + 2, psp);
    memory.Write16(psp, Psp::kPreviousPsp, 0xFFFF);
    memory.Write16(psp, Psp::kPreviousPsp + 2, 0xFFFF);
    memory.Write8(psp, Psp::kVersion, m_c.dos.versionMajor);
    memory.Write8(psp, Psp::kVersion + 1, m_c.dos.versionMinor);
    static const uint8_t kDosCall[] = {0xCD, 0x21, 0xCB};
    GuestMemory::WriteBytes(memory, psp, Psp::kDosCall, kDosCall, sizeof kDosCall);
    GuestMemory::WriteBytes(memory, psp, Psp::kFcb1, request.fcb1, 16);
    GuestMemory::WriteBytes(memory, psp, Psp::kFcb2, request.fcb2, 16);
    GuestMemory::WriteBytes(memory, psp, Psp::kCommandTail, request.tail.data(), std::min<size_t>(request.tail.size(), 128));
}

uint16_t CDosProcesses::FcbValidity(const Request& request) const
{
    auto invalid = [this](uint8_t drive) { return drive != 0 && !m_c.drive.Exists(static_cast<uint8_t>(drive - 1)); };
    return static_cast<uint16_t>((invalid(request.fcb1[0]) ? 0x00FF : 0) | (invalid(request.fcb2[0]) ? 0xFF00 : 0));
}

void CDosProcesses::FillFcbs(Request& request) const
{
    std::string text = request.tail.substr(1, static_cast<uint8_t>(request.tail[0]));
    auto exists = [this](uint8_t drive) { return m_c.drive.Exists(static_cast<uint8_t>(drive - 1)); };
    size_t used = 0;
    DosPath::ParseFcbName(text, 1, exists, request.fcb1, used);
    size_t more = 0;
    DosPath::ParseFcbName(text.substr(used), 1, exists, request.fcb2, more);
}

void CDosProcesses::StartState(const Entry& entry, CpuState& state) const
{
    state = CpuState{};
    state.cs() = entry.cs;
    state.ip = entry.ip;
    state.ss() = entry.ss;
    state.sp() = entry.sp;
    state.ds() = state.es() = entry.psp;
    state.ax() = entry.ax;
    state.cx() = 0x00FF;
    state.dx() = entry.psp;
    state.si() = entry.ip;
    state.di() = entry.sp;
    state.bp() = 0x091C;
    state.flags = kStartFlags;
}

LoadError CDosProcesses::LoadFirst(const std::wstring& program, const std::string& tail, CpuState& state)
{
    Request request;
    if (m_c.drive.PathOf(program, request.path) != kErrNone)
        return LoadError::NotFound;
    request.dosPath = request.path.Text();
    std::string text = tail.substr(0, 126);
    request.tail = std::string(1, static_cast<char>(text.size())) + text + '\r';
    FillFcbs(request);
    Entry entry{};
    LoadError error = Load(request, entry);
    if (error != LoadError::None)
        return error;
    m_c.dos.currentPsp = entry.psp;
    m_c.dos.dtaSegment = entry.psp;
    m_c.dos.dtaOffset = 0x80;
    StartState(entry, state);
    return LoadError::None;
}

void CDosProcesses::Overlay(CpuState& state, const DosPath::FullPath& path)
{
    CProgramImage image;
    LoadError error = ReadImage(path, image);
    if (error != LoadError::None) {
        m_c.dos.Fail(state, error == LoadError::NotFound ? kErrFileNotFound : kErrBadFormat);
        return;
    }
    uint16_t segment = m_c.memory.Read16(state.es(), state.bx());
    uint16_t factor = m_c.memory.Read16(state.es(), static_cast<uint16_t>(state.bx() + 2));
    const std::vector<uint8_t>& bytes = image.Module();
    uint32_t base = CMemory::Linear(segment, 0);
    m_c.memory.WriteBlock(base, bytes.data(), std::min<size_t>(bytes.size(), CMemory::kSize - base));
    for (const Relocation& relocation : image.Relocations()) {
        uint16_t at = static_cast<uint16_t>(segment + relocation.segment);
        m_c.memory.Write16(at, relocation.offset, static_cast<uint16_t>(m_c.memory.Read16(at, relocation.offset) + factor));
    }
    DosState::Succeed(state);
}

ServiceResult CDosProcesses::Exec(CpuState& state)
{
    uint8_t mode = state.al();
    std::string path = GuestMemory::ReadAsciiz(m_c.memory, state.ds(), state.dx());
    Request request;
    DosError located = m_c.fileServices.Locate(path, request.path);
    uint8_t attributes = 0;
    // A missing folder on the way is DOS's error 3; a missing program is the loader's.
    if (located == kErrNone && m_c.drive.GetAttributes(request.path, attributes) == kErrPathNotFound)
        located = kErrPathNotFound;
    if (mode != 0 && mode != 1 && mode != 3) {
        m_c.dos.Fail(state, kErrInvalidFunction);
        return ServiceResult::Done;
    }
    if (located != kErrNone) {
        m_c.dos.Fail(state, located);
        return ServiceResult::Done;
    }
    if (mode == 3) {
        Overlay(state, request.path);
        return ServiceResult::Done;
    }
    CMemory& memory = m_c.memory;
    uint16_t block = state.bx();
    request.dosPath = m_c.drive.Canonical(request.path).Text();
    request.environment = memory.Read16(state.es(), block);
    auto farPointer = [&](uint16_t at, uint16_t& segment, uint16_t& offset) {
        offset = memory.Read16(state.es(), static_cast<uint16_t>(block + at));
        segment = memory.Read16(state.es(), static_cast<uint16_t>(block + at + 2));
    };
    uint16_t segment, offset;
    farPointer(2, segment, offset);
    uint8_t length = std::min<uint8_t>(memory.Read8(segment, offset), 126);
    request.tail = GuestMemory::ReadBytes(memory, segment, offset, length + 1u) + '\r';
    request.tail[0] = static_cast<char>(length);
    farPointer(6, segment, offset);
    std::string fcb = GuestMemory::ReadBytes(memory, segment, offset, 16);
    std::memcpy(request.fcb1, fcb.data(), 16);
    farPointer(10, segment, offset);
    fcb = GuestMemory::ReadBytes(memory, segment, offset, 16);
    std::memcpy(request.fcb2, fcb.data(), 16);

    // The child returns to the caller: INT 22h (copied into its PSP) and the saved stack.
    uint16_t parent = m_c.dos.currentPsp;
    memory.Write16(0, 0x22 * 4, state.ip);
    memory.Write16(0, 0x22 * 4 + 2, state.cs());
    memory.Write16(parent, Psp::kStackSave, state.sp());
    memory.Write16(parent, Psp::kStackSave + 2, state.ss());
    Entry entry{};
    LoadError error = Load(request, entry);
    if (error != LoadError::None) {
        static const DosError kErrors[] = {kErrNone, kErrFileNotFound, kErrAccessDenied, kErrBadFormat,
                                           kErrBadFormat, kErrNotEnoughMemory, kErrNotEnoughMemory};
        m_c.dos.Fail(state, kErrors[static_cast<int>(error)]);
        return ServiceResult::Done;
    }
    m_c.dos.currentPsp = entry.psp;
    if (mode == 1) {
        uint16_t sp = static_cast<uint16_t>(entry.sp - 2);
        memory.Write16(entry.ss, sp, entry.ax);
        memory.Write16(state.es(), static_cast<uint16_t>(block + 0x0E), sp);
        memory.Write16(state.es(), static_cast<uint16_t>(block + 0x10), entry.ss);
        memory.Write16(state.es(), static_cast<uint16_t>(block + 0x12), entry.ip);
        memory.Write16(state.es(), static_cast<uint16_t>(block + 0x14), entry.cs);
        DosState::Succeed(state);
        return ServiceResult::Done;
    }
    Return saved{state, m_c.dos.dtaSegment, m_c.dos.dtaOffset};
    DosState::Succeed(saved.state);
    m_returns[entry.psp] = saved;
    m_c.dos.dtaSegment = entry.psp;
    m_c.dos.dtaOffset = 0x80;
    StartState(entry, state);
    return ServiceResult::Done;
}

ServiceResult CDosProcesses::Terminate(CpuState& state, uint8_t code, uint8_t type, int keep)
{
    CMemory& memory = m_c.memory;
    uint16_t psp = m_c.dos.currentPsp;
    uint16_t parent = memory.Read16(psp, Psp::kParent);
    m_c.dos.returnCode = static_cast<uint16_t>((type << 8) | code);
    CopyVectors(memory, psp, Psp::kTerminateAddress, 0, 0x22 * 4);
    if (keep < 0) {
        m_c.files.CloseAll(psp);
        m_c.arena.FreeOwnedBy(psp);
    } else {
        uint16_t largest = 0;
        m_c.arena.Resize(psp, static_cast<uint16_t>(std::max(keep, 0x10)), largest);
    }
    if (psp == kShellPspSegment || parent == psp || parent == kShellPspSegment)
        return ServiceResult::Stop;
    m_c.dos.currentPsp = parent;
    auto saved = m_returns.find(psp);
    if (saved != m_returns.end()) {
        state = saved->second.state;
        m_c.dos.dtaSegment = saved->second.dtaSegment;
        m_c.dos.dtaOffset = saved->second.dtaOffset;
        m_returns.erase(saved);
    }
    state.sp() = memory.Read16(parent, Psp::kStackSave);
    state.ss() = memory.Read16(parent, Psp::kStackSave + 2);
    state.ip = memory.Read16(psp, Psp::kTerminateAddress);
    state.cs() = memory.Read16(psp, Psp::kTerminateAddress + 2);
    DosState::Succeed(state);
    return ServiceResult::Done;
}

void CDosProcesses::Allocate(CpuState& state)
{
    uint16_t segment = 0, largest = 0;
    DosError error = m_c.arena.Allocate(state.bx(), m_c.dos.currentPsp, segment, largest);
    if (error == kErrNone)
        state.ax() = segment;
    else
        state.bx() = largest;
    m_c.dos.Answer(state, error);
}

void CDosProcesses::Free(CpuState& state) { m_c.dos.Answer(state, m_c.arena.Free(state.es())); }

void CDosProcesses::Resize(CpuState& state)
{
    uint16_t largest = 0;
    DosError error = m_c.arena.Resize(state.es(), state.bx(), largest);
    if (error == kErrNotEnoughMemory)
        state.bx() = largest;
    m_c.dos.Answer(state, error);
}

void CDosProcesses::Strategy(CpuState& state)
{
    switch (state.al()) {
    case 0:
        state.ax() = m_c.arena.GetStrategy();
        break;
    case 1:
        m_c.arena.SetStrategy(state.bx());
        break;
    case 2:
        state.set_al(0);
        break;
    case 3:
        if (state.bx() != 0) {
            m_c.dos.Fail(state, kErrInvalidFunction);
            return;
        }
        break;
    default:
        m_c.dos.Fail(state, kErrInvalidFunction);
        return;
    }
    DosState::Succeed(state);
}

void CDosProcesses::CreatePsp(CpuState& state)
{
    CMemory& memory = m_c.memory;
    uint16_t from = m_c.dos.currentPsp;
    for (uint16_t i = 0; i < Psp::kSize; ++i)
        memory.Write8(state.dx(), i, memory.Read8(from, i));
    CopyVectors(memory, 0, 0x22 * 4, state.dx(), Psp::kTerminateAddress);
    memory.Write16(state.dx(), Psp::kHandleTablePointer + 2, state.dx());
}

void CDosProcesses::ReturnCode(CpuState& state)
{
    state.ax() = m_c.dos.returnCode;
    m_c.dos.returnCode = 0;
}

}  // namespace dos
