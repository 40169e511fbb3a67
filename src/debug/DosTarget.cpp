// The DOS machine under the debugger: loading as DEBUG does, counted runs and steps over the
// step-back history, the instruction kinds step over needs, and what a step changed.
#include "debug/DosTarget.h"

#include "debug/DebugCommands.h"
#include "debug/DebugResources.h"
#include "debug/DosDisplay.h"
#include "debug/DosInstructions.h"
#include "debug/DosPanes.h"
#include "debug/HexDump.h"

#include "dos/ProgramImage.h"
#include "doshost/HostDrive.h"


#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace dos {

namespace {

BackLimit LimitOf(ExternalEvent event)
{
    switch (event) {
    case ExternalEvent::KeyRead: return BackLimit::KeyRead;
    case ExternalEvent::InputRead: return BackLimit::InputRead;
    case ExternalEvent::FileRead: return BackLimit::FileRead;
    case ExternalEvent::FileWritten: return BackLimit::FileWritten;
    case ExternalEvent::FileSystemChanged: return BackLimit::FileSystemChanged;
    }
    return BackLimit::FileSystemChanged;
}

struct ProgramFile {
    bool exe = false;
    // The size DEBUG puts in BX:CX: a .COM file's, an .EXE's load module's.
    uint32_t size = 0;
};

ProgramFile Inspect(const std::wstring& program)
{
    std::ifstream file(program.c_str(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto size = static_cast<uint32_t>(bytes.size());
    CProgramImage image;
    if (image.Parse(std::move(bytes)) != ImageError::None || !image.IsExe())
        return {false, size};
    return {true, static_cast<uint32_t>(image.Module().size())};
}

DosMachineSettings DebuggerSettings(uint32_t instructionsPerMs, std::vector<std::wstring> writableFolders, std::wstring floppy,
                                    bool bootSector)
{
    DosMachineSettings settings;
    settings.input = ConsoleInput::Keyboard;
    settings.output = ConsoleOutput::Screen;
    settings.error = ConsoleOutput::Screen;
    settings.pace.instructionsPerMs = instructionsPerMs;
    settings.writableFolders = std::move(writableFolders);
    settings.floppyImage = std::move(floppy);
    settings.floppyFirstSectors = bootSector;
    return settings;
}

}

CDosTarget::CDosTarget(uint32_t instructionsPerMs, std::vector<std::wstring> writableFolders, std::wstring floppy, bool bootSector)
    : m_machine(std::make_unique<CDosMachine>(static_cast<IDosHost&>(*this), std::make_unique<CHostDrive>(),
                                              DebuggerSettings(instructionsPerMs, std::move(writableFolders), std::move(floppy), bootSector))),
      m_history(kHistoryInstructions, kHistoryBytes),
      m_memoryBefore(CMemory::kSize)
{
}

LoadError CDosTarget::Load(const std::wstring& program, const std::wstring& folder, const std::string& tail)
{
    m_machine->Cpu().AttachHistory(nullptr);
    const LoadError error = m_machine->Load(program, tail, folder);
    StartHistory();
    if (error == LoadError::None)
        StartAsDebugDoes(program);
    MarkChanges();
    return error;
}

BootSector CDosTarget::Boot(const std::wstring& folder)
{
    m_machine->Cpu().AttachHistory(nullptr);
    const BootSector boot = m_machine->Boot(folder);
    StartHistory();
    m_nPsp = 0;
    m_nImageBase = 0;
    MarkChanges();
    return boot;
}

void CDosTarget::StartHistory()
{
    m_history.Clear();
    m_machine->Cpu().AttachHistory(&m_history);
    m_nExecuted = 0;
    m_barrier = BackLimit::None;
    m_nBarrierAt = 0;
    m_unsupported.clear();
}

// DEBUG clears the general registers but SP and puts the program's size in BX:CX.
void CDosTarget::StartAsDebugDoes(const std::wstring& program)
{
    CpuState& state = m_machine->Registers();
    m_nPsp = state.ds();
    const ProgramFile file = Inspect(program);
    // The image of an .EXE follows its PSP; a .COM's offsets count from the PSP.
    m_nImageBase = CMemory::Linear(static_cast<uint16_t>(m_nPsp + (file.exe ? 0x10 : 0)), 0);
    for (unsigned r = kAX; r <= kDI; ++r)
        if (r != kSP)
            state.reg[r] = 0;
    state.bx() = static_cast<uint16_t>(file.size >> 16);
    state.cx() = static_cast<uint16_t>(file.size);
}

uint32_t CDosTarget::NameId() const
{
    return IDS_MACHINE_DOS;
}

std::vector<std::unique_ptr<CDebugPane>> CDosTarget::MakePanes(CDebugSession& session)
{
    return CDosPanes::Make(session, *this);
}

void CDosTarget::SetClockRunning(bool running)
{
    if (running)
        m_machine->StartClock();
    else
        m_machine->StopClock();
}

StopReason CDosTarget::After(StopReason reason)
{
    m_nExecuted += m_machine->Executed();
    if (m_bBarrierInRun) {
        m_nBarrierAt = m_nExecuted;
        m_bBarrierInRun = false;
    }
    if (reason == StopReason::Ended || reason == StopReason::Faulted) {
        m_barrier = BackLimit::Ended;
        m_nBarrierAt = m_nExecuted;
    }
    return reason;
}

StopReason CDosTarget::Step()
{
    if (m_machine->Finished())
        return m_machine->Step();
    return After(m_machine->Step());
}

// The machine cuts the run at its devices' events; what it ran is counted once it returns.
StopReason CDosTarget::Run(uint64_t budget)
{
    if (m_machine->Finished())
        return m_machine->Run(budget);
    return After(m_machine->Run(budget));
}

size_t CDosTarget::BackDepth() const
{
    if (m_barrier == BackLimit::Ended)
        return 0;
    return m_history.Depth();
}

size_t CDosTarget::StepBack(size_t count)
{
    if (m_barrier == BackLimit::Ended)
        return 0;
    const size_t undone = m_machine->Cpu().StepBack(count);
    m_nExecuted -= undone;
    return undone;
}

// A key arrives when the user types it: no step back takes it out of the BIOS's buffer again.
void CDosTarget::Feed(uint16_t key)
{
    m_machine->Cpu().AttachHistory(nullptr);
    m_machine->PressKey(key);
    m_machine->Cpu().AttachHistory(&m_history);
}

// What the program took cannot be given back: nothing before it may be undone (the history
// forgets it at once, also within the instruction that took it, whose retry must keep it).
void CDosTarget::OnExternalEvent(ExternalEvent event)
{
    m_history.Clear();
    m_barrier = LimitOf(event);
    m_bBarrierInRun = true;
}

InputState CDosTarget::ReadInput(uint8_t*, size_t, size_t& count)
{
    count = 0;
    return InputState::End;
}

const CpuState& CDosTarget::Registers() const
{
    return m_machine->Registers();
}

uint32_t CDosTarget::Pc() const
{
    const CpuState& state = Registers();
    return CMemory::Linear(state.seg[kCS], state.ip);
}

NextInstruction CDosTarget::Next() const
{
    const CpuState& state = Registers();
    return CDosInstructions::Next(Memory(), state.seg[kCS], state.ip);
}

uint32_t CDosTarget::AddressAfter(const NextInstruction& next) const
{
    const CpuState& state = Registers();
    return CMemory::Linear(state.seg[kCS], static_cast<uint16_t>(state.ip + next.length));
}

uint32_t CDosTarget::StackDepth() const
{
    const CpuState& state = Registers();
    return CMemory::kSize - CMemory::Linear(state.seg[kSS], state.reg[kSP]);
}

void CDosTarget::SetBreakpoint(uint32_t address, bool set)
{
    if (set)
        m_machine->Cpu().SetBreakpoint(address);
    else
        m_machine->Cpu().ClearBreakpoint(address);
}

void CDosTarget::MarkChanges()
{
    m_before = Registers();
    std::memcpy(m_memoryBefore.data(), m_machine->Memory().Data(), CMemory::kSize);
}

bool CDosTarget::ByteChanged(uint32_t linear) const
{
    linear &= CMemory::kMask;
    return m_memoryBefore[linear] != m_machine->Memory().Data()[linear];
}

uint8_t CDosTarget::ReadByte(uint32_t linear) const
{
    return m_machine->Memory().Peek8(linear);
}

std::string CDosTarget::PlaceText() const
{
    const CpuState& state = Registers();
    return CDosDisplay::Address(state.seg[kCS], state.ip);
}

Sentence CDosTarget::FaultText() const
{
    const MachineFault& fault = m_machine->Fault();
    std::string bytes;
    for (const uint8_t byte : fault.bytes)
        bytes += (bytes.empty() ? "" : " ") + CHexDump::Hex2(byte);
    const std::vector<std::string> inserts{CDosDisplay::Address(fault.cs, fault.ip), bytes};
    switch (fault.kind) {
    case FaultKind::DivideError: return {IDS_FAULT_DIVIDE, inserts};
    case FaultKind::InvalidOpcode: return {IDS_FAULT_INVALID_OPCODE, inserts};
    case FaultKind::BoundRange: return {IDS_FAULT_BOUND, inserts};
    case FaultKind::Halted: return {IDS_FAULT_HALTED, inserts};
    case FaultKind::NoBootDisk: return {IDS_FAULT_NO_BOOT_DISK, inserts};
    case FaultKind::None: break;
    }
    return {IDS_FAULT_UNKNOWN, inserts};
}

}  // namespace dos
