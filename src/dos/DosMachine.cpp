// The DOS machine: wires the parts together on the bus, and runs the CPU in slices between
// which the devices catch up with machine time.
#include "dos/DosMachine.h"

#include "dos/DosLayout.h"
#include "dos/GuestMemory.h"

#include <algorithm>
#include <cstring>

namespace dos {

namespace {

// Instructions between two looks at the devices in real time: a fraction of a millisecond.
constexpr uint64_t kSlice = 65536;

}

CDosMachine::CDosMachine(IDosHost& host, std::unique_ptr<IDrive> drive, const DosMachineSettings& settings)
    : m_host(host),
      m_settings(settings),
      m_cpu(m_memory, *this),
      m_clock(m_cpu),
      m_bus(m_memory),
      m_dosClock(m_clock),
      m_speaker(m_clock),
      m_timer(m_clock, m_pic, m_speaker),
      m_cmos(m_dosClock),
      m_keyboard(m_memory),
      m_keyboardController(m_pic),
      m_adapter(m_memory, m_clock),
      m_video(m_memory, m_adapter),
      m_mouse(m_memory, m_adapter),
      m_drive(std::move(drive)),
      m_files(m_memory),
      m_arena(m_memory),
      m_console(host, m_keyboard, m_video),
      m_fileServices({m_memory, m_dos, m_files, *m_drive, m_console, m_arena, host}),
      m_processes({m_memory, m_dos, m_arena, m_files, m_fileServices, *m_drive}),
      m_kernel({m_memory, m_dos, m_console, m_fileServices, m_processes, m_dosClock, host}),
      m_bios({m_memory, m_video, m_keyboard, m_keyboardController, m_pic, m_dosClock, m_console, host}),
      m_diskBios(m_memory, m_floppy)
{
    m_settings.memoryKb = std::clamp(m_settings.memoryKb, kMinimumKb, kMaximumKb);
    m_console.SetBell([this] { m_speaker.Beep(); });
    MapDevices();
}

void CDosMachine::MapDevices()
{
    m_bus.MapPorts(0x20, 0x21, m_pic);
    m_bus.MapPorts(0x40, 0x43, m_timer);
    m_bus.MapPorts(0x61, 0x61, m_timer);
    m_bus.MapPorts(0x60, 0x60, m_keyboardController);
    m_bus.MapPorts(0x64, 0x64, m_keyboardController);
    m_bus.MapPorts(0x70, 0x71, m_cmos);
    m_bus.MapPorts(0x3B0, 0x3DF, m_adapter);
    // The planes sit behind a trap; text and CGA memory stay RAM at the CPU's full speed.
    m_bus.MapMemory(CVideoAdapter::kGraphicsFirst, CVideoAdapter::kGraphicsLast, m_adapter, CDeviceBus::Region::Trapped);
    m_bus.MapMemory(CVideoAdapter::kMemoryFirst, CVideoAdapter::kMemoryLast, m_adapter, CDeviceBus::Region::Ram);
    m_bus.Attach(m_speaker);
    m_bus.Attach(m_mouse);
}

std::chrono::microseconds CDosMachine::UntilWake() const
{
    const std::chrono::microseconds paced = m_clock.UntilPaced();
    if (paced.count() > 0)
        return paced;
    const uint64_t now = m_clock.Now();
    if (m_nNextEvent == CBusDevice::kNever)
        return std::chrono::microseconds(CMachineClock::kNanosecondsPerMs * 55 / 1000);
    return std::chrono::microseconds(m_nNextEvent > now ? (m_nNextEvent - now + 999) / 1000 : 0);
}

void CDosMachine::ResetHardware()
{
    m_pic.Reset();
    m_timer.Reset();
    m_keyboardController.Reset();
    m_bios.Reset(m_settings.memoryKb);
    m_diskBios.Reset();
    m_mouse.Reset();
}

void CDosMachine::InsertFloppy()
{
    m_floppy.Eject();
    DosPath::FullPath image;
    if (m_settings.floppyImage.empty() || m_drive->PathOf(m_settings.floppyImage, image) != kErrNone)
        return;
    std::unique_ptr<IDriveFile> file;
    const bool writable = m_fileServices.MayWrite(image) &&
                          m_drive->Open(image, 2, OpenAction::OpenExisting, 0, file) == kErrNone;
    if (writable || m_drive->Open(image, 0, OpenAction::OpenExisting, 0, file) == kErrNone)
        m_floppy.Insert(std::move(file), !writable, m_settings.floppyFirstSectors);
}

void CDosMachine::PowerOn(const std::wstring& program, const std::wstring& startFolder)
{
    std::memset(m_memory.Data(), 0, CMemory::kSize);
    m_clock.Reset(m_settings.pace);
    m_dosClock.Reset(m_settings.pace.fixed ? CDosClock::kFixedStart : CDosClock::HostLocalTime());
    m_dos = DosState{};
    m_dos.versionMajor = m_settings.versionMajor;
    m_dos.versionMinor = m_settings.versionMinor;
    m_fault = MachineFault{};
    m_bBooted = false;
    m_speaker.Reset();
    m_fileServices.Reset(startFolder, program, m_settings.writableFolders);
    InsertFloppy();
    ResetHardware();
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
    m_processes.Reset(static_cast<uint16_t>(m_settings.memoryKb * 64), m_settings.environment);
    m_finish = StopReason::Ended;
    m_nNextEvent = CBusDevice::kNever;
}

LoadError CDosMachine::Load(const std::wstring& program, const std::string& tail, const std::wstring& startFolder)
{
    PowerOn(program, startFolder);
    LoadError error = m_processes.LoadFirst(program, tail, m_cpu.State());
    m_bFinished = error != LoadError::None;
    UpdateLine();
    m_clock.Start();
    return error;
}

BootSector CDosMachine::Boot(const std::wstring& startFolder)
{
    PowerOn(m_settings.floppyImage, startFolder);
    const BootSector boot = Bootstrap(m_cpu.State());
    m_bFinished = boot != BootSector::Loaded;
    UpdateLine();
    m_clock.Start();
    return boot;
}

BootSector CDosMachine::Bootstrap(CpuState& state)
{
    const BootSector boot = m_diskBios.LoadBootSector();
    if (boot != BootSector::Loaded)
        return boot;
    m_bBooted = true;
    state = CpuState{};
    state.cs() = 0;
    state.ip = CDiskBios::kBootOffset;
    state.ss() = 0;
    state.sp() = CDiskBios::kBootOffset;
    state.set_dl(0);
    state.SetFlag(kFlagInterrupt, true);
    return boot;
}

ServiceResult CDosMachine::Restart(CpuState& state)
{
    const uint16_t cs = state.cs(), ip = state.ip;
    ResetHardware();
    if (Bootstrap(state) != BootSector::Loaded)
        return Stop(FaultKind::NoBootDisk, cs, ip);
    return ServiceResult::Done;
}

uint64_t CDosMachine::AdvanceDevices()
{
    m_nNextEvent = m_bus.Advance(m_clock.Now());
    UpdateLine();
    return m_nNextEvent;
}

StopReason CDosMachine::After(StopReason reason)
{
    if (reason == StopReason::Ended) {
        m_bFinished = true;
        m_finish = m_fault.kind == FaultKind::None ? StopReason::Ended : StopReason::Faulted;
        return m_finish;
    }
    return reason;
}

StopReason CDosMachine::Halted(uint64_t nextEvent)
{
    if (!m_cpu.State().Flag(kFlagInterrupt)) {
        Stop(FaultKind::Halted, m_cpu.State().cs(), static_cast<uint16_t>(m_cpu.State().ip - 1));
        return After(StopReason::Ended);
    }
    if (!m_clock.Pace().fixed || nextEvent == CBusDevice::kNever)
        return StopReason::Idle;
    m_clock.SkipTo(nextEvent);
    return StopReason::Limit;
}

StopReason CDosMachine::RunSlice(uint64_t maxInstructions, uint64_t& executed)
{
    executed = 0;
    const uint64_t nextEvent = AdvanceDevices();
    uint64_t slice = std::min(maxInstructions, kSlice);
    if (m_clock.Pace().fixed) {
        slice = std::min(maxInstructions, m_clock.InstructionsUntil(nextEvent));
    } else {
        slice = std::min(slice, m_clock.PacedAllowance());
        if (slice == 0)
            return StopReason::Idle;
    }
    const StopReason reason = m_cpu.Run(slice);
    executed = m_cpu.Executed();
    m_clock.Ran(executed);
    m_nExecuted += executed;
    if (reason == StopReason::Idle)
        return Halted(nextEvent);
    return After(reason);
}

StopReason CDosMachine::Run(uint64_t maxInstructions)
{
    m_nExecuted = 0;
    if (m_bFinished)
        return m_finish;
    while (maxInstructions > 0) {
        uint64_t executed = 0;
        const StopReason reason = RunSlice(maxInstructions, executed);
        if (reason != StopReason::Limit)
            return reason;
        maxInstructions -= std::min(maxInstructions, std::max<uint64_t>(executed, 1));
    }
    return StopReason::Limit;
}

StopReason CDosMachine::Step()
{
    m_nExecuted = 0;
    if (m_bFinished)
        return m_finish;
    const uint64_t nextEvent = AdvanceDevices();
    const StopReason reason = m_cpu.Step();
    m_nExecuted = m_cpu.Executed();
    m_clock.Ran(m_nExecuted);
    if (reason != StopReason::Idle)
        return After(reason);
    // A step that finds the CPU asleep lets time pass as a run would; fixed time has slept.
    const StopReason halted = Halted(nextEvent);
    return halted == StopReason::Limit ? StopReason::Idle : halted;
}

void CDosMachine::PressKey(uint16_t key)
{
    if (GuestMemory::IsOwnVector(m_memory, 0x09))
        m_keyboard.Push(key);
    else
        m_keyboardController.QueueScan(key);
}

uint8_t CDosMachine::In(uint16_t port)
{
    return m_bus.In(port);
}

// What a port write did to a device (a timer set anew, an interrupt acknowledged) is looked at
// before the next instruction.
void CDosMachine::Out(uint16_t port, uint8_t value)
{
    m_bus.Out(port, value);
    UpdateLine();
    m_cpu.EndRun();
}

uint8_t CDosMachine::AcknowledgeInterrupt()
{
    // IRQ 12 stands below the 8259's requests.
    if (!m_pic.Pending() && m_mouse.CallWaiting()) {
        m_mouse.TakeCall();
        UpdateLine();
        return CMouse::kIrqVector;
    }
    uint8_t vector = m_pic.Acknowledge();
    if (vector == 0x09)
        m_keyboardController.LatchNextScan();
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
    return ServiceResult::Stop;
}

ServiceResult CDosMachine::Service(uint8_t vector, CCpu8086& cpu)
{
    // Whatever a service does to the adapter's registers, a step back undoes.
    const CVideoAdapter::RegisterWatch watch(m_adapter);
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
    case 0x10:
        if (state.ah() == 0x0E && state.al() == 0x07)
            m_speaker.Beep();
        break;
    case 0x13: {
        // What the image gave or took is outside the machine, as a file's bytes are.
        const uint8_t function = state.ah();
        m_diskBios.Interrupt13(state);
        if (function == 0x02 || function == 0x03)
            m_host.OnExternalEvent(function == 0x02 ? ExternalEvent::FileRead : ExternalEvent::FileWritten);
        return ServiceResult::Done;
    }
    case 0x19:
        return Restart(state);
    default:
        break;
    }
    ServiceResult result = MouseService(vector, state);
    UpdateLine();
    return result;
}

ServiceResult CDosMachine::MouseService(uint8_t vector, CpuState& state)
{
    if (vector == CMouse::kVector) {
        m_mouse.Interrupt33(state);
        return ServiceResult::Done;
    }
    if (vector == CMouse::kIrqVector) {
        m_mouse.Interrupt74(state);
        return ServiceResult::Done;
    }
    const bool drawsScreen = vector == 0x10 || vector == 0x21;
    const bool modeSet = vector == 0x10 && state.ah() == 0x00;
    if (drawsScreen)
        m_mouse.BeforeScreenService();
    // A PC started from a boot sector has the BIOS alone.
    const bool dos = !m_bBooted && m_kernel.Handles(vector);
    const ServiceResult result = dos ? m_kernel.Interrupt(vector, state) : m_bios.Interrupt(vector, state);
    if (drawsScreen)
        m_mouse.AfterScreenService(modeSet);
    return result;
}

}  // namespace dos
