// The 8051's devices around the core: the SFRs whose reads and writes do more than store a
// byte (ports, timers, serial port, interrupt control, PCON), the catching up of the clocked
// devices at the cycles they need it, and the interrupt poll at instruction boundaries.
#pragma once

#include "mcs51/Host51.h"
#include "mcs51/Interrupts51.h"
#include "mcs51/Mcs51State.h"
#include "mcs51/PinBus51.h"
#include "mcs51/Serial51.h"
#include "mcs51/Timers51.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace mcs51 {

// Kinds of SFR access the CPU hands over.
enum SfrKind51 : uint8_t {
    kSfrPlain = 0,
    // Reads go to ReadSfr (a count, a flag a device may owe).
    kSfrReadHook = 0x01,
    kSfrWriteHook = 0x02,
    // A port: reads see the pins, read-modify-write instructions the latch.
    kSfrPort = 0x04,
    // PSW: the CPU's own (parity on reads, the register bank on writes).
    kSfrPsw = 0x08,
};

// Everything a history entry must put back besides the bytes written.
struct Devices51State {
    Timers51State timers;
    Serial51State serial;
    Interrupts51State interrupts;
    // What the outside drives onto each port (a 0 pulls the pin low).
    std::array<uint8_t, 4> external{};
};

class CPeripherals51 {
public:
    explicit CPeripherals51(Mcs51State& state);
    CPeripherals51(const CPeripherals51&) = delete;
    CPeripherals51& operator=(const CPeripherals51&) = delete;

    void SetVariant(Mcs51Variant variant);
    void SetHost(IHost51* host);
    // The SFRs' reset values (Intel's data sheet) and idle devices.
    void Reset();
    std::array<uint8_t, 128> SfrKinds() const;

    uint8_t ReadSfr(uint8_t address);
    void WriteSfr(uint8_t address, uint8_t value);

    // At an instruction boundary: calls the pin devices whose cycle has come, brings the
    // devices up to the cycle and polls the interrupts; returns the vector to call, or 0.
    uint16_t Service();
    // The pin devices' calls due by now, for the boundary a run starts at (the last run's
    // end polled it already).
    void CallPinDevices()
    {
        if (m_pins.NextCall() <= m_s.cycle)
            m_pins.CallDue(false);
    }
    // The boundary by which Service must run again.
    uint64_t NextEvent() const;
    void Reti() { m_interrupts.Reti(); }
    bool AnyInterruptEnabled() const { return m_interrupts.AnyEnabled(); }
    bool Idle() const { return m_s.Sfr(kPCON) & kPconIDL; }
    bool PoweredDown() const { return m_s.Sfr(kPCON) & kPconPD; }

    // Brings the clocked devices up to the current cycle, for a look from outside.
    void Settle() { CatchUp(); }
    // The debugger's edit of an SFR: stored as it is, the devices follow it from here.
    void Poke(uint8_t address, uint8_t value);
    uint8_t Pins(unsigned port) const;
    // What the pin bus puts onto a port's pins (all its drives together); a 0 bit pulls the
    // pin low. byProgram: the change comes in the cycle under way, as the program's own would.
    void SetExternal(unsigned port, uint8_t drive, bool byProgram);
    void WatchTimers(ITimerWatch51* watch) { m_timers.SetWatch(watch); }
    CPinBus51& PinBus() { return m_pins; }
    const CPinBus51& PinBus() const { return m_pins; }
    void QueueInput(uint8_t byte);
    size_t PendingInput() const { return m_serial.PendingInput(); }
    // Whether the receiver took a byte from the host's queue since the last call.
    bool TakeInputTaken();

    Devices51State Save() const;
    void Restore(const Devices51State& state);

private:
    // Catches the clocked devices up to the current cycle.
    void CatchUp();
    // A run bit (TR0, TR1, TR2) or a gate pin changes at the end of the instruction that
    // writes it: the timers count that instruction's cycles as they were set before it.
    void SyncToInstructionEnd();
    void WritePort(unsigned port, uint8_t latch);
    uint8_t WatchedPins(unsigned port) const;
    // The pins moved: edges and levels for the external interrupts and the counters. A
    // change the program made in its instruction's last cycle is polled one boundary later.
    void PinsChanged(unsigned port, uint8_t before, uint8_t after, bool byProgram);
    // Level-triggered external interrupts follow their pins; returns the sources raised.
    uint8_t FollowLevels();
    void AfterControlChange();

    Mcs51State& m_s;
    Mcs51Variant m_variant = Mcs51Variant::k8051;
    CTimers51 m_timers;
    CSerial51 m_serial;
    CInterrupts51 m_interrupts;
    std::array<uint8_t, 4> m_abyExternal{};
    CPinBus51 m_pins;
    bool m_bInputTaken = false;
};

}  // namespace mcs51
