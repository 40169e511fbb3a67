// One pin device's way to the 8051 it is attached to: the latches and pins it reads, the drive
// it puts onto the pins, and the call it asks for at a later machine cycle.
#pragma once

#include <cstdint>

namespace mcs51 {

class CPinBus51;
class IPinDevice51;

class CPinLink51 {
public:
    CPinLink51() = default;
    CPinLink51(CPinBus51& bus, IPinDevice51& device) : m_pBus(&bus), m_pDevice(&device) {}

    // The machine cycle the chip has reached: an instruction boundary, or the first cycle of the
    // instruction under way while the device answers a latch.
    uint64_t Cycle() const;
    uint8_t Latch(unsigned port) const;
    // What the program reads: the latch, pulled low wherever something drives a 0.
    uint8_t Pins(unsigned port) const;
    // The device's own drive of a port: a 0 bit pulls that pin low (a pressed key, an open-drain
    // output), a 1 leaves it to the latch and the others. A drive made in answer to the
    // program's write, or in OnCycle at a boundary the run reached, comes in that cycle as the
    // program's own change of the pin would (the interrupts see it from the next poll); one made
    // between runs is there for the next instruction, as SetPortInput's. One made in answer to
    // a step back waits for the port's next drive: the step back put the pins back as they were.
    void Drive(unsigned port, uint8_t drive);
    // Asks for OnCycle at the first instruction boundary at or after cycle; one call a device,
    // a later request replaces the earlier one, kNever cancels it.
    void CallAt(uint64_t cycle);

private:
    CPinBus51* m_pBus = nullptr;
    IPinDevice51* m_pDevice = nullptr;
};

}  // namespace mcs51
