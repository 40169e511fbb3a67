// The devices on the 8051's port pins: which are plugged in, what each drives onto the pins,
// when each asked to be called, and the latches as they were last told. A pin is low wherever
// anything pulls it low (the ports are quasi-bidirectional: the latch's 1 is a weak pull-up).
#pragma once

#include "machine/Device.h"
#include "mcs51/Mcs51State.h"
#include "mcs51/PinLink51.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mcs51 {

class CPeripherals51;
class IPinDevice51;

class CPinBus51 {
public:
    CPinBus51(Mcs51State& state, CPeripherals51& devices);
    CPinBus51(const CPinBus51&) = delete;
    CPinBus51& operator=(const CPinBus51&) = delete;

    // Devices stay their owners'; attach and detach between runs, not from a device's call.
    void Attach(IPinDevice51& device);
    void Detach(IPinDevice51& device);
    std::vector<const machine::IDevice*> Devices() const;

    // What the outside (a test, the debugger) drives onto a port besides the devices.
    void DriveOutside(unsigned port, uint8_t drive);
    // The program wrote a port's latch in the instruction under way.
    void LatchWritten(unsigned port, uint64_t cycle);
    // The latches were set from outside the program (a debugger's edit): the devices hear of
    // those that changed.
    void FollowLatches();
    // After the chip's reset: the outside's drive ends, the calls asked for are cancelled, the
    // devices hear of the reset and of the latches.
    void Reset();
    // After a step back put the latches and the pins' drive back: the devices hear of the
    // latches; their own state, drives and calls stay as they are (a drive made in answer
    // takes effect with the port's next drive).
    void Restored();

    // The first cycle a device asked to be called at; kNever when none asked.
    uint64_t NextCall() const { return m_nNextCall; }
    // At an instruction boundary at or after NextCall: calls the devices whose cycle has come.
    // polled: the interrupts are polled at this boundary, after the calls; a pin the devices
    // move is then seen from the next poll on, as one the program moved in its last cycle.
    void CallDue(bool polled);

    // The link's side.
    uint64_t Cycle() const { return m_s.cycle; }
    uint8_t Latch(unsigned port) const;
    uint8_t Pins(unsigned port) const;
    void Drive(const IPinDevice51& device, unsigned port, uint8_t drive);
    void CallAt(const IPinDevice51& device, uint64_t cycle);

private:
    struct Slot {
        IPinDevice51* device;
        std::array<uint8_t, 4> drive;
        uint64_t callAt;
    };
    // Who is calling the bus: drives while the machine runs are samples of that cycle, drives
    // in answer to a step back wait.
    enum class Context : uint8_t { kBetweenRuns, kRunning, kRestoring };

    Slot* SlotOf(const IPinDevice51& device);
    void Tell(unsigned port, uint64_t cycle, Context context);
    // Puts what everyone drives together onto the port's pins.
    void Apply(unsigned port);
    // The devices hear of the port's pins where they moved since they were last told.
    void TellPins(unsigned port, uint64_t cycle);
    void FindNextCall();

    Mcs51State& m_s;
    CPeripherals51& m_devices;
    std::vector<Slot> m_slots;
    std::array<uint8_t, 4> m_abyOutside{0xFF, 0xFF, 0xFF, 0xFF};
    // The latches as the devices were last told them.
    std::array<uint8_t, 4> m_abyTold{0xFF, 0xFF, 0xFF, 0xFF};
    // The pins as the devices were last told them.
    std::array<uint8_t, 4> m_abyPinsTold{0xFF, 0xFF, 0xFF, 0xFF};
    uint64_t m_nNextCall = kNever;
    Context m_context = Context::kBetweenRuns;
};

}  // namespace mcs51
