// The DOS machine: memory, the CPU, the devices, the BIOS and DOS 5 in one plain object that
// front ends drive. Load a program, run it with a budget of instructions or step it, read and
// write its registers and memory, read its text screen, press keys; it tells its IDosHost what
// it prints, when it wants a key and when it takes input from outside. It never blocks: a
// service that waits for a key makes Run return WaitingForKey.
#pragma once

#include "dos/Bios.h"
#include "dos/CmosClock.h"
#include "dos/Cpu8086.h"
#include "dos/DosClock.h"
#include "dos/DosConsole.h"
#include "dos/DosFileServices.h"
#include "dos/DosFileTable.h"
#include "dos/DosHost.h"
#include "dos/DosKernel.h"
#include "dos/DosProcesses.h"
#include "dos/DosState.h"
#include "dos/Drive.h"
#include "dos/InterruptController.h"
#include "dos/IntervalTimer.h"
#include "dos/Keyboard.h"
#include "dos/MemoryArena.h"
#include "dos/TextVideo.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dos {

struct DosMachineSettings {
    // Conventional memory, 64 to 640 KB.
    uint16_t memoryKb = 640;
    // The version DOS reports, as SETVER would set it.
    uint8_t versionMajor = 5;
    uint8_t versionMinor = 0;
    ConsoleInput input = ConsoleInput::Stream;
    ConsoleOutput output = ConsoleOutput::Stream;
    ConsoleOutput error = ConsoleOutput::Stream;
    // The shell's environment, "NAME=value" each, in the drive's code page.
    std::vector<std::string> environment;
    // Folders where the program may change files besides its own, the one DOS starts in and
    // the host's temporary folder (each with what is below it), named as the drive's PathOf
    // takes them; a folder that does not exist when the program is loaded is left out.
    std::vector<std::wstring> writableFolders;
};

// Where the machine is after Run or Step.
enum class MachineState : uint8_t {
    // The budget is spent; run again to go on.
    Running,
    // A service waits for a key (or redirected input) that has not come.
    WaitingForKey,
    // HLT: nothing to do until the next timer tick.
    Idle,
    // The program ended: ExitCode().
    Ended,
    // The machine stopped the program: Fault().
    Faulted,
    // RequestStop was called.
    Stopped,
    // The next instruction is at one of the CPU's breakpoints.
    Breakpoint,
};

enum class FaultKind : uint8_t {
    None,
    DivideError,
    InvalidOpcode,
    BoundRange,
    // HLT with interrupts disabled: nothing could ever wake the CPU.
    Halted,
};

struct MachineFault {
    FaultKind kind = FaultKind::None;
    uint16_t cs = 0;
    uint16_t ip = 0;
    // The instruction's first bytes.
    uint8_t bytes[6] = {};
};

class CDosMachine : public IMachineBus {
public:
    static constexpr uint16_t kMinimumKb = 64;
    static constexpr uint16_t kMaximumKb = 640;

    // The machine's files are on `drive` (the host's, or one in memory), which it keeps.
    CDosMachine(IDosHost& host, std::unique_ptr<IDrive> drive, const DosMachineSettings& settings);
    CDosMachine(const CDosMachine&) = delete;
    CDosMachine& operator=(const CDosMachine&) = delete;

    // Starts over with a fresh machine and loads the program (a path as the drive's PathOf
    // takes it) with its command tail (bytes in the drive's code page, as COMMAND.COM would
    // pass them). DOS starts in the folder given (the host's current folder when none is),
    // which the process itself keeps.
    LoadError Load(const std::wstring& program, const std::string& tail, const std::wstring& startFolder = {});
    MachineState Run(uint64_t maxInstructions);
    MachineState Step();
    // Makes Run return Stopped soon; safe from any thread.
    void RequestStop() { m_cpu.RequestStop(); }

    CpuState& Registers() { return m_cpu.State(); }
    // Breakpoints, the step-back history and the halt state, for a debugger.
    CCpu8086& Cpu() { return m_cpu; }
    CMemory& Memory() { return m_memory; }
    const CTextVideo& Screen() const { return m_video; }
    CTextVideo& Screen() { return m_video; }
    // A key as the BIOS stores it (scan code high, character low), as if typed now.
    void PressKey(uint16_t key);
    void SetShiftFlags(uint8_t flags) { m_keyboard.SetShiftFlags(flags); }
    // How long until the timer's next tick (what an idle machine waits for).
    std::chrono::microseconds UntilNextTick() const;

    uint8_t ExitCode() const { return m_processes.ExitCode(); }
    // 0 for a normal end, 1 for Ctrl+C, 3 for a program that stayed resident.
    uint8_t TerminationType() const { return m_processes.TerminationType(); }
    const MachineFault& Fault() const { return m_fault; }

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    uint8_t AcknowledgeInterrupt() override;
    ServiceResult Service(uint8_t vector, CCpu8086& cpu) override;

private:
    uint64_t TimerNow() const;
    // Raises IRQ 0 when the host's clock says a tick is due, IRQ 1 for keys a program's INT 9
    // takes, and sets the CPU's interrupt line.
    void Devices();
    void UpdateLine() { m_cpu.SetInterruptLine(m_pic.Pending()); }
    MachineState After(StopReason reason);
    ServiceResult Stop(FaultKind kind, uint16_t cs, uint16_t ip);
    // The divide instruction before the return address of INT 0 (the 8086 points past it).
    uint16_t DivideStart(uint16_t cs, uint16_t ip) const;

    IDosHost& m_host;
    DosMachineSettings m_settings;
    CMemory m_memory;
    CCpu8086 m_cpu;
    DosState m_dos;
    CDosClock m_clock;
    CInterruptController m_pic;
    CIntervalTimer m_timer;
    CCmosClock m_cmos;
    CKeyboard m_keyboard;
    CTextVideo m_video;
    std::unique_ptr<IDrive> m_drive;
    CDosFileTable m_files;
    CMemoryArena m_arena;
    CDosConsole m_console;
    CDosFileServices m_fileServices;
    CDosProcesses m_processes;
    CDosKernel m_kernel;
    CBios m_bios;
    MachineFault m_fault;
    MachineState m_state = MachineState::Ended;
    std::chrono::steady_clock::time_point m_start;
    uint8_t m_nCrtcIndex = 0;
    uint8_t m_crtc[32] = {};
    bool m_bRetrace = false;
};

}  // namespace dos
