// The simulated 8051 or 8052 as its front ends use it (the console runner, Korvane's
// debugger, the tests): load a program, reset, run, step and step back, breakpoints, the
// registers and memory spaces, the serial port, the port pins and the devices on them.
#pragma once

#include "machine/Device.h"
#include "machine/StopReason.h"
#include "mcs51/Cpu51.h"
#include "mcs51/History51.h"
#include "mcs51/Host51.h"
#include "mcs51/IntelHex51.h"
#include "mcs51/Mcs51State.h"
#include "mcs51/Peripherals51.h"
#include "mcs51/PinDevice51.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace mcs51 {

// The registers as the debugger's register pane shows them.
struct Registers51 {
    uint16_t pc = 0;
    uint8_t a = 0;
    uint8_t b = 0;
    uint8_t psw = 0;
    uint8_t sp = 0;
    uint16_t dptr = 0;
    std::array<uint8_t, 8> r{};
    uint64_t cycles = 0;
};

class CMachine51 {
public:
    explicit CMachine51(Mcs51Variant variant = Mcs51Variant::k8051);
    CMachine51(const CMachine51&) = delete;
    CMachine51& operator=(const CMachine51&) = delete;

    Mcs51Variant Variant() const { return m_variant; }
    void SetHost(IHost51* host) { m_devices.SetHost(host); }

    // A new program: code memory erased (FFh, as an empty EPROM reads), then the file's
    // bytes; RAM cleared and the chip reset. On a fault nothing changes.
    HexResult51 LoadHex(std::string_view text);
    HexResult51 LoadBinary(std::string_view bytes);
    // The reset pin: registers and SFRs to their reset values; RAM keeps its contents.
    void Reset();

    // Runs at most maxCycles machine cycles (Limit), or to a breakpoint, the program's end
    // (Ended), a stop request (Paused); the first instruction runs even on a breakpoint.
    machine::StopReason Run(uint64_t maxCycles);
    // One instruction (and the interrupt call that may follow it): Limit, or why it did not run.
    machine::StopReason Step();
    // Undoes the last instruction; false when the history holds none. The pin devices hear of
    // the latches it puts back, but keep their own state (a key pressed stays pressed, a call
    // asked for stays asked); the pins' drive is put back as it was.
    bool StepBack();
    // Step back needs the history, which costs time on every instruction.
    void EnableHistory(bool enable);
    size_t HistorySize() const { return m_history ? m_history->Size() : 0; }
    // A jump to itself that no interrupt can leave ends Run (Ended) with the PC on it.
    void SetStopAtSelfJump(bool stop) { m_cpu.SetStopAtSelfJump(stop); }
    // Makes a Run on another thread return within a few thousand machine cycles.
    void RequestStop() { m_cpu.RequestStop(); }

    void SetBreakpoint(uint16_t address, bool set);
    bool Breakpoint(uint16_t address) const { return m_nBreakpoints && m_breakpoints[address]; }
    void ClearBreakpoints();

    Registers51 Registers() const;
    uint16_t Pc() const { return m_s.pc; }
    void SetPc(uint16_t pc) { m_s.pc = pc; }
    uint64_t Cycles() const { return m_s.cycle; }
    // Whether the instruction at the PC jumps to itself (SJMP $, AJMP or LJMP to its address).
    bool AtSelfJump() const;
    // A byte of a memory space as the program would find it (an SFR: its register; a port:
    // its latch; PSW with P); writes store it as the debugger's edit, outside the history.
    uint8_t Read(Mcs51Space space, uint16_t address);
    void Write(Mcs51Space space, uint16_t address, uint8_t value);

    // Bytes for the serial receiver, sent one frame after another as the program takes them.
    void QueueSerialInput(uint8_t byte) { m_devices.QueueInput(byte); }
    size_t PendingSerialInput() const { return m_devices.PendingInput(); }
    uint8_t PortLatch(unsigned port) const;
    uint8_t PortPins(unsigned port) const { return m_devices.Pins(port); }
    // What the outside drives onto a port besides the devices; a 0 bit pulls that pin low (a
    // key, a switch). A reset lets go of it.
    void SetPortInput(unsigned port, uint8_t drive) { m_devices.PinBus().DriveOutside(port, drive); }

    // Plugs a device onto the port pins; it stays the caller's, who detaches it before it goes
    // (or lets the machine go first). The machine knows nothing of its kind.
    void Attach(IPinDevice51& device) { m_devices.PinBus().Attach(device); }
    void Detach(IPinDevice51& device) { m_devices.PinBus().Detach(device); }
    // Who hears of each timer overflow at its cycle (nullptr: nobody); the caller's, as a
    // device is.
    void WatchTimers(ITimerWatch51* watch) { m_devices.WatchTimers(watch); }
    // The devices attached, in their order, for front ends to show their views.
    std::vector<const machine::IDevice*> Devices() const { return m_devices.PinBus().Devices(); }

private:
    HexResult51 Load(const HexResult51& result, const CIntelHex51::Code& code);

    Mcs51Variant m_variant;
    std::unique_ptr<Mcs51State> m_state;
    Mcs51State& m_s;
    CPeripherals51 m_devices;
    CCpu51 m_cpu;
    std::unique_ptr<CHistory51> m_history;
    std::vector<bool> m_breakpoints;
    size_t m_nBreakpoints = 0;
};

}  // namespace mcs51
