// The DOS machine: memory, the CPU, the devices on its bus, the BIOS and DOS 5 in one plain
// object that front ends drive. Load a program, run it with a budget of instructions or step
// it, read and write its registers and memory, see its screen and its devices, press keys; it
// tells its IDosHost what it prints, when it wants a key and when it takes input from outside.
// It never blocks: a service that waits for a key makes Run return WaitingForInput, a CPU that
// must wait for time (HLT, a run ahead of its pace) makes it return Idle.
#pragma once

#include "dos/Bios.h"
#include "dos/CmosClock.h"
#include "dos/Cpu8086.h"
#include "dos/DeviceBus.h"
#include "dos/DiskBios.h"
#include "dos/DosClock.h"
#include "dos/DosConsole.h"
#include "dos/DosFileServices.h"
#include "dos/DosFileTable.h"
#include "dos/DosHost.h"
#include "dos/DosKernel.h"
#include "dos/DosProcesses.h"
#include "dos/DosState.h"
#include "dos/Drive.h"
#include "dos/FloppyDrive.h"
#include "dos/InterruptController.h"
#include "dos/IntervalTimer.h"
#include "dos/Keyboard.h"
#include "dos/KeyboardController.h"
#include "dos/MachineClock.h"
#include "dos/MemoryArena.h"
#include "dos/Mouse.h"
#include "dos/Speaker.h"
#include "dos/TextVideo.h"
#include "dos/VideoAdapter.h"
#include "machine/ScreenImage.h"

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
    // How fast it runs and how its time passes.
    MachinePace pace;
    // Folders where the program may change files besides its own, the one DOS starts in and
    // the host's temporary folder (each with what is below it), named as the drive's PathOf
    // takes them; a folder that does not exist when the program is loaded is left out.
    std::vector<std::wstring> writableFolders;
    // The diskette image in drive A: (named as PathOf takes it), none when empty. The program
    // may write to it where the write rule lets it change the file; else it is write-protected.
    std::wstring floppyImage;
    // The image may be a boot sector as an assembler builds it, with the sectors that follow
    // it: shorter than a diskette, it holds a 1.44 MB diskette's first sectors (CFloppyDrive).
    bool floppyFirstSectors = false;
};

enum class FaultKind : uint8_t {
    None,
    DivideError,
    InvalidOpcode,
    BoundRange,
    // HLT with interrupts disabled: nothing could ever wake the CPU.
    Halted,
    // The PC restarted (INT 19h, a jump to FFFF:0000) with no boot sector in A:.
    NoBootDisk,
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
    // which the process itself keeps. Machine time starts at 0, its clock running.
    LoadError Load(const std::wstring& program, const std::string& tail, const std::wstring& startFolder = {});
    // Starts over with a fresh PC that boots from the floppy image's boot sector, with only the
    // BIOS: the sector at 0000:7C00, DL = 0, CS:IP = 0000:7C00.
    BootSector Boot(const std::wstring& startFolder = {});
    // At most maxInstructions instructions; the devices act at the machine times they fall due.
    StopReason Run(uint64_t maxInstructions);
    StopReason Step();
    // Makes Run return Paused soon; safe from any thread.
    void RequestStop() { m_cpu.RequestStop(); }
    // The program ended (Ended) or the machine stopped it (Faulted): Run and Step do nothing more.
    bool Finished() const { return m_bFinished; }
    // How many instructions the last Run or Step executed (a CPU asleep in HLT counts one).
    uint64_t Executed() const { return m_nExecuted; }

    // Machine time passes for the devices while the clock runs (a front end stops it while the
    // program stands still), in real time or fixed to the instructions as the pace says.
    void StartClock() { m_clock.Start(); }
    void StopClock() { m_clock.Stop(); }
    void SetPace(const MachinePace& pace) { m_clock.SetPace(pace); }
    const CMachineClock& Clock() const { return m_clock; }
    // How long real time must pass before an idle machine can go on: the next device event, or
    // the pace catching up.
    std::chrono::microseconds UntilWake() const;

    CpuState& Registers() { return m_cpu.State(); }
    // Breakpoints, the step-back history and the halt state, for a debugger.
    CCpu8086& Cpu() { return m_cpu; }
    CMemory& Memory() { return m_memory; }
    const CMemory& Memory() const { return m_memory; }
    // What the monitor shows.
    machine::ScreenImage Screen() const { return m_adapter.Screen(); }
    // The video adapter's planes and registers, for a close look at them.
    CVideoAdapter& Video() { return m_adapter; }
    // The active page's cells (character low, attribute high, row by row) and the cursor, as a
    // front end finds its window when the machine starts.
    void PresetScreen(const uint16_t* cells, uint8_t row, uint8_t column) { m_video.Preset(cells, row, column); }
    // A key as the BIOS stores it (scan code high, character low), as if typed now.
    void PressKey(uint16_t key);
    void SetShiftFlags(uint8_t flags) { m_keyboard.SetShiftFlags(flags); }
    // The pointer over the screen's picture, in its pixels (in a text mode a cell counts 8 by
    // 8), and the buttons held (bit 0 left, 1 right, 2 middle); safe from any thread, taken at
    // the machine's next look at its devices.
    void SetPointer(int x, int y, unsigned buttons) { m_mouse.SetPointer(x, y, buttons); }

    // The devices on the bus, for their views; the bus itself, for a device of a test.
    const std::vector<CBusDevice*>& Devices() const { return m_bus.Devices(); }
    CDeviceBus& Bus() { return m_bus; }
    // The PC's own interrupt controller, for a device on the bus that raises IRQs (the lab box).
    CInterruptController& Interrupts() { return m_pic; }
    // Where its sound goes (none: the speaker plays to no one).
    CSpeaker& Speaker() { return m_speaker; }

    uint8_t ExitCode() const { return m_processes.ExitCode(); }
    // 0 for a normal end, 1 for Ctrl+C, 3 for a program that stayed resident.
    uint8_t TerminationType() const { return m_processes.TerminationType(); }
    const MachineFault& Fault() const { return m_fault; }

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    uint8_t AcknowledgeInterrupt() override;
    ServiceResult Service(uint8_t vector, CCpu8086& cpu) override;

private:
    // The machine's devices at their addresses on the bus.
    void MapDevices();
    // A fresh machine with DOS ready for `program` (the first process's file; the floppy image
    // when booting), the floppy image in A:.
    void PowerOn(const std::wstring& program, const std::wstring& startFolder);
    void InsertFloppy();
    // The BIOS's own state and the devices anew; memory outside the BIOS's areas is kept.
    void ResetHardware();
    // A:'s boot sector loaded and entered; DOS's services are gone from then on.
    BootSector Bootstrap(CpuState& state);
    // INT 19h and the jump to FFFF:0000: a warm restart that boots from A:.
    ServiceResult Restart(CpuState& state);
    // Brings the devices to the machine's time (the interrupts due requested) and sets the
    // CPU's interrupt line; the next time a device must act.
    uint64_t AdvanceDevices();
    void UpdateLine() { m_cpu.SetInterruptLine(m_pic.Pending() || m_mouse.CallWaiting()); }
    // The mouse driver's interrupts, and the cursor kept out of what the screen's services draw.
    ServiceResult MouseService(uint8_t vector, CpuState& state);
    // The CPU runs a slice: no further than the next device event in fixed time, nor ahead of
    // the pace in real time.
    StopReason RunSlice(uint64_t maxInstructions, uint64_t& executed);
    // A halted CPU: a fault with interrupts off; in fixed time it sleeps to the next event.
    StopReason Halted(uint64_t nextEvent);
    StopReason After(StopReason reason);
    ServiceResult Stop(FaultKind kind, uint16_t cs, uint16_t ip);
    // The divide instruction before the return address of INT 0 (the 8086 points past it).
    uint16_t DivideStart(uint16_t cs, uint16_t ip) const;

    IDosHost& m_host;
    DosMachineSettings m_settings;
    CMemory m_memory;
    CCpu8086 m_cpu;
    CMachineClock m_clock;
    CDeviceBus m_bus;
    DosState m_dos;
    CDosClock m_dosClock;
    CInterruptController m_pic;
    CSpeaker m_speaker;
    CIntervalTimer m_timer;
    CCmosClock m_cmos;
    CKeyboard m_keyboard;
    CKeyboardController m_keyboardController;
    CVideoAdapter m_adapter;
    CTextVideo m_video;
    CMouse m_mouse;
    std::unique_ptr<IDrive> m_drive;
    CDosFileTable m_files;
    CMemoryArena m_arena;
    CDosConsole m_console;
    CDosFileServices m_fileServices;
    CDosProcesses m_processes;
    CDosKernel m_kernel;
    CBios m_bios;
    CFloppyDrive m_floppy;
    CDiskBios m_diskBios;
    MachineFault m_fault;
    // Booted from a disk: only the BIOS serves interrupts.
    bool m_bBooted = false;
    bool m_bFinished = true;
    StopReason m_finish = StopReason::Ended;
    // When a device must next act, as the last look at the devices found.
    uint64_t m_nNextEvent = CBusDevice::kNever;
    uint64_t m_nExecuted = 0;
};

}  // namespace dos
