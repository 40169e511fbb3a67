// The DOS machine under the debugger: loading as DEBUG does, counted runs and steps over the
// step-back history, the instruction kinds step over needs, and what a step changed.
#include "debug/DosTarget.h"

#include "debug/DebugTargets.h"
#include "debug/DosInstructions.h"

#include "dos/ProgramImage.h"
#include "doshost/HostDrive.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace dos {

namespace {

// The machine runs its devices between slices of this many instructions at most; Run counts
// the instructions of each slice.
constexpr uint64_t kSlice = 65536;

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

DosMachineSettings DebuggerSettings()
{
    DosMachineSettings settings;
    settings.input = ConsoleInput::Keyboard;
    settings.output = ConsoleOutput::Screen;
    settings.error = ConsoleOutput::Screen;
    return settings;
}

}

CDosTarget::CDosTarget()
    : m_machine(std::make_unique<CDosMachine>(static_cast<IDosHost&>(*this), std::make_unique<CHostDrive>(),
                                              DebuggerSettings())),
      m_history(kHistoryInstructions, kHistoryBytes),
      m_memoryBefore(CMemory::kSize)
{
}

LoadError CDosTarget::Load(const std::wstring& program, const std::wstring& folder, const std::string& tail)
{
    m_machine->Cpu().AttachHistory(nullptr);
    const LoadError error = m_machine->Load(program, tail, folder);
    m_history.Clear();
    m_machine->Cpu().AttachHistory(&m_history);
    m_nExecuted = 0;
    m_barrier = BackLimit::None;
    m_nBarrierAt = 0;
    m_unsupported.clear();
    if (error == LoadError::None)
        StartAsDebugDoes(program);
    MarkChanges();
    return error;
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

TargetStop CDosTarget::After(MachineState state)
{
    m_nExecuted += m_machine->Cpu().Executed();
    if (m_bBarrierInRun) {
        m_nBarrierAt = m_nExecuted;
        m_bBarrierInRun = false;
    }
    switch (state) {
    case MachineState::Running: return TargetStop::Limit;
    case MachineState::WaitingForKey: return TargetStop::WaitingForKey;
    case MachineState::Idle: return TargetStop::Idle;
    case MachineState::Stopped: return TargetStop::Paused;
    case MachineState::Breakpoint: return TargetStop::Breakpoint;
    case MachineState::Ended:
    case MachineState::Faulted:
        m_barrier = BackLimit::Ended;
        m_nBarrierAt = m_nExecuted;
        return state == MachineState::Ended ? TargetStop::Ended : TargetStop::Faulted;
    }
    return TargetStop::Limit;
}

TargetStop CDosTarget::Step()
{
    if (m_barrier == BackLimit::Ended)
        return TargetStop::Ended;
    return After(m_machine->Step());
}

TargetStop CDosTarget::Run(uint64_t budget)
{
    if (m_barrier == BackLimit::Ended)
        return TargetStop::Ended;
    while (budget > 0) {
        const uint64_t slice = std::min(budget, kSlice);
        const TargetStop stop = After(m_machine->Run(slice));
        if (stop != TargetStop::Limit)
            return stop;
        budget -= slice;
    }
    return TargetStop::Limit;
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
    return m_machine->Memory().Read8(linear);
}

bool CDosTarget::ReadScreen(ScreenCells& screen) const
{
    const CTextVideo& video = m_machine->Screen();
    for (int row = 0; row < ScreenCells::kRows; ++row)
        for (int column = 0; column < ScreenCells::kColumns; ++column)
            screen.cells[row * ScreenCells::kColumns + column] =
                video.Cell(static_cast<uint8_t>(row), static_cast<uint8_t>(column));
    video.CursorPosition(screen.row, screen.column);
    // A cursor whose start line has bit 5 set is hidden.
    screen.cursorShown = (video.CursorShape() & 0x2000) == 0;
    return true;
}

}  // namespace dos

std::unique_ptr<IDebugTarget> DebugTargets::LoadDos(const std::wstring& program, const std::wstring& folder,
                                                    const std::string& tail, int& error)
{
    auto target = std::make_unique<dos::CDosTarget>();
    const dos::LoadError loaded = target->Load(program, folder, tail);
    error = static_cast<int>(loaded);
    if (loaded != dos::LoadError::None)
        return nullptr;
    return target;
}

