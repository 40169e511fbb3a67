// A device on the 8051's port pins (a board's LEDs, digits, keys, keypad, LCD, buzzer), as the
// machine sees it: told of the latches as they change, called at the cycles it asks for.
#pragma once

#include "machine/Device.h"
#include "mcs51/PinLink51.h"

#include <cstdint>

namespace mcs51 {

// It drives the pins and asks for calls through the link it is given when attached. A step
// back does not undo a device's own state: it hears of the latches put back (OnLatch at the
// cycle gone back to) and keeps what it holds, its drive and the call it asked for.
class IPinDevice51 : public machine::IDevice {
public:
    // Plugged in: link is the device's way to the pins until it is detached.
    virtual void OnAttach(const CPinLink51& link) = 0;
    // A port's latch changed. cycle is when: the last machine cycle of the instruction that
    // wrote it (Intel: the new value reaches the latch in S6P2 of the instruction's final
    // cycle), or the cycle the machine stands at for a debugger's edit, a reset or a step back.
    virtual void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) = 0;
    // A port's pins changed (the latch, or what a device or the outside drives): pins is what
    // the program now reads there, from cycle on.
    virtual void OnPins(unsigned, uint8_t, uint64_t) {}
    // A step back went back to cycle: what the device heard of later cycles did not happen.
    virtual void OnRestored(uint64_t) {}
    // The cycle asked for through the link has come: cycle is the instruction boundary at or
    // after it where the machine calls.
    virtual void OnCycle(uint64_t) {}
    // The chip was reset: the cycles count from 0 again and the call asked for is cancelled
    // (the device's own drive of the pins stays, as a held key stays down). OnLatch follows
    // for each latch that the reset set back to FFh.
    virtual void OnReset() {}

protected:
    ~IPinDevice51() = default;
};

}  // namespace mcs51
