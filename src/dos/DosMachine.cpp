// The DOS machine: wires the parts together, runs the CPU in slices between which the devices
// catch up with the host's clock, and turns the CPU's stops into the machine's states.
#include "dos/DosMachine.h"

#include "dos/DosLayout.h"
#include "dos/GuestMemory.h"

#include <algorithm>
#include <cstring>

namespace dos {

namespace {

// Instructions between two looks at the host's clock: a fraction of a millisecond.
constexpr uint64_t kSlice = 65536;

}

CDosMachine::CDosMachine(IDosHost& host, std::unique_ptr<IDrive> drive, const DosMachineSettings& settings)
    : m_host(host),
      m_settings(settings),
      m_cpu(m_memory, *this),
      m_cmos(m_clock),
      m_keyboard(m_memory),
      m_video(m_memory),
      m_drive(std::move(drive)),
      m_files(m_memory),
      m_arena(m_memory),
      m_console(host, m_keyboard, m_video),
      m_fileServices({m_memory, m_dos, m_files, *m_drive, m_console, m_arena, host}),
      m_processes({m_memory, m_dos, m_arena, m_files, m_fileServices, *m_drive}),
      m_kernel({m_memory, m_dos, m_console, m_fileServices, m_processes, m_clock, host}),
      m_bios({m_memory, m_video, m_keyboard, m_pic, m_clock, m_console, host}),
      m_start(std::chrono::steady_clock::now())
{
    m_settings.memoryKb = std::clamp(m_settings.memoryKb, kMinimumKb, kMaximumKb);
}

uint64_t CDosMachine::TimerNow() const
{
    auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - m_start);
    return static_cast<uint64_t>(elapsed.count()) * CIntervalTimer::kHertz / 1000000000u;
}

std::chrono::microseconds CDosMachine::UntilNextTick() const
{
    return std::chrono::microseconds(m_timer.Remaining(TimerNow()) * 1000000u / CIntervalTimer::kHertz);
}

LoadError CDosMachine::Load(const std::wstring& program, const std::string& tail, const std::wstring& startFolder)
{
    std::memset(m_memory.Data(), 0, CMemory::kSize);
    m_dos = DosState{};
    m_dos.versionMajor = m_settings.versionMajor;
    m_dos.versionMinor = m_settings.versionMinor;
    m_fault = MachineFault{};
    m_pic.Reset();
    m_timer.Reset(TimerNow());
    m_bios.Reset(m_settings.memoryKb);
    m_kernel.Reset();
    m_console.Configure(m_settings.input, m_settings.output, m_settings.error);
    m_console.Reset();
    if (m_settings.output == ConsoleOutput::Stream)
        m_video.SetTextSink([this](const uint8_t* bytes, size_t count) { m_host.Write(DosStream::Output, bytes, count); });
    else
        m_video.SetTextSink(nullptr);
    // Handles 0-2 look like CON when they are the keyboard and the screen, like files when
    // they are redirected (as they do under COMMAND.COM's redirection).
    uint16_t inputInfo = m_settings.input == ConsoleInput::Keyboard ? 0x80D3 : 0x0042;
    uint16_t outputInfo = m_settings.output == ConsoleOutput::Screen ? 0x80D3 : 0x0042;
    m_files.Reset(inputInfo, outputInfo);
    m_fileServices.Reset(startFolder, program, m_settings.writableFolders);
    m_processes.Reset(static_cast<uint16_t>(m_settings.memoryKb * 64), m_settings.environment);
    LoadError error = m_processes.LoadFirst(program, tail, m_cpu.State());
    m_state = error == LoadError::None ? MachineState::Running : MachineState::Ended;
    UpdateLine();
    return error;
}

void CDosMachine::Devices()
{
    if (m_timer.Due(TimerNow()) && !m_pic.IsRequested(0))
        m_pic.Raise(0);
    if (m_keyboard.ScanWaiting() && !m_pic.IsRequested(1) && !m_pic.IsInService(1))
        m_pic.Raise(1);
    UpdateLine();
}

MachineState CDosMachine::After(StopReason reason)
{
    switch (reason) {
    case StopReason::Limit:
        return MachineState::Running;
    case StopReason::Stopped:
        return m_state;
    case StopReason::Blocked:
        return MachineState::WaitingForKey;
    case StopReason::Halted:
        if (!m_cpu.State().Flag(kFlagInterrupt)) {
            Stop(FaultKind::Halted, m_cpu.State().cs(), static_cast<uint16_t>(m_cpu.State().ip - 1));
            return m_state;
        }
        return MachineState::Idle;
    case StopReason::Requested:
        return MachineState::Stopped;
    case StopReason::Breakpoint:
        return MachineState::Breakpoint;
    }
    return MachineState::Running;
}

MachineState CDosMachine::Run(uint64_t maxInstructions)
{
    if (m_state == MachineState::Ended || m_state == MachineState::Faulted)
        return m_state;
    while (maxInstructions > 0) {
        Devices();
        uint64_t slice = std::min(maxInstructions, kSlice);
        MachineState state = After(m_cpu.Run(slice));
        if (state != MachineState::Running)
            return state;
        maxInstructions -= slice;
    }
    return MachineState::Running;
}

MachineState CDosMachine::Step()
{
    if (m_state == MachineState::Ended || m_state == MachineState::Faulted)
        return m_state;
    Devices();
    return After(m_cpu.Step());
}

void CDosMachine::PressKey(uint16_t key)
{
    if (GuestMemory::IsOwnVector(m_memory, 0x09))
        m_keyboard.Push(key);
    else
        m_keyboard.QueueScan(key);
}

uint8_t CDosMachine::In(uint16_t port)
{
    switch (port) {
    case 0x20:
    case 0x21:
        return m_pic.Read(port);
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x61:
        return m_timer.Read(port, TimerNow());
    case 0x60:
    case 0x64:
        return m_keyboard.ReadPort(port);
    case 0x70:
    case 0x71:
        return m_cmos.Read(port);
    case 0x3D4:
    case 0x3B4:
        return m_nCrtcIndex;
    case 0x3D5:
    case 0x3B5:
        return m_crtc[m_nCrtcIndex & 31];
    case 0x3DA:
    case 0x3BA:
        // The retrace bits change on every read, so a program that waits for them goes on.
        m_bRetrace = !m_bRetrace;
        return m_bRetrace ? 0x09 : 0x00;
    default:
        return 0xFF;
    }
}

void CDosMachine::Out(uint16_t port, uint8_t value)
{
    switch (port) {
    case 0x20:
    case 0x21:
        m_pic.Write(port, value);
        UpdateLine();
        break;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
    case 0x61:
        m_timer.Write(port, value, TimerNow());
        break;
    case 0x70:
    case 0x71:
        m_cmos.Write(port, value);
        break;
    case 0x3D4:
    case 0x3B4:
        m_nCrtcIndex = value;
        break;
    case 0x3D5:
    case 0x3B5:
        m_crtc[m_nCrtcIndex & 31] = value;
        break;
    default:
        break;
    }
}

uint8_t CDosMachine::AcknowledgeInterrupt()
{
    uint8_t vector = m_pic.Acknowledge();
    if (vector == 0x09)
        m_keyboard.LatchNextScan();
    UpdateLine();
    return vector;
}

uint16_t CDosMachine::DivideStart(uint16_t cs, uint16_t ip) const
{
    // AAM 0 (D4 00) is two bytes; DIV and IDIV (F6/F7, reg 6 or 7) two to four.
    if (m_memory.Read8(cs, static_cast<uint16_t>(ip - 2)) == 0xD4 && m_memory.Read8(cs, static_cast<uint16_t>(ip - 1)) == 0)
        return static_cast<uint16_t>(ip - 2);
    for (uint16_t length = 2; length <= 4; ++length) {
        uint16_t at = static_cast<uint16_t>(ip - length);
        uint8_t opcode = m_memory.Read8(cs, at);
        uint8_t modrm = m_memory.Read8(cs, static_cast<uint16_t>(at + 1));
        if ((opcode != 0xF6 && opcode != 0xF7) || ((modrm >> 3) & 7) < 6)
            continue;
        uint8_t mode = modrm >> 6, rm = modrm & 7;
        uint16_t expected = mode == 3 ? 2 : mode == 1 ? 3 : mode == 2 ? 4 : rm == 6 ? 4 : 2;
        if (expected == length)
            return at;
    }
    return ip;
}

ServiceResult CDosMachine::Stop(FaultKind kind, uint16_t cs, uint16_t ip)
{
    m_fault.kind = kind;
    m_fault.cs = cs;
    m_fault.ip = ip;
    for (uint16_t i = 0; i < sizeof m_fault.bytes; ++i)
        m_fault.bytes[i] = m_memory.Read8(cs, static_cast<uint16_t>(ip + i));
    m_state = MachineState::Faulted;
    return ServiceResult::Stop;
}

ServiceResult CDosMachine::Service(uint8_t vector, CCpu8086& cpu)
{
    CpuState& state = cpu.State();
    switch (vector) {
    case 0x00:
        return Stop(FaultKind::DivideError, state.cs(), DivideStart(state.cs(), state.ip));
    case 0x05:
        if (m_memory.Read8(state.cs(), state.ip) == 0x62)
            return Stop(FaultKind::BoundRange, state.cs(), state.ip);
        return ServiceResult::Done;
    case 0x06:
        return Stop(FaultKind::InvalidOpcode, state.cs(), state.ip);
    default:
        break;
    }
    ServiceResult result = m_kernel.Handles(vector) ? m_kernel.Interrupt(vector, state) : m_bios.Interrupt(vector, state);
    if (result == ServiceResult::Stop && m_state != MachineState::Faulted)
        m_state = MachineState::Ended;
    UpdateLine();
    return result;
}

}  // namespace dos
