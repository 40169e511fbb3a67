// A device on the DOS machine's bus: the ports and memory it answers, the machine time it keeps
// up with, and what it shows. The machine registers its devices on its bus when it is made;
// nothing else knows a device's insides.
#pragma once

#include "machine/Device.h"

#include <cstdint>

namespace dos {

class CBusDevice : public machine::IDevice {
public:
    static constexpr uint64_t kNever = ~uint64_t{0};

    CBusDevice() = default;
    CBusDevice(const CBusDevice&) = delete;
    CBusDevice& operator=(const CBusDevice&) = delete;

    // The ports the bus maps to the device.
    virtual uint8_t In(uint16_t port);
    virtual void Out(uint16_t port, uint8_t value);
    // The bytes of a memory region mapped as the device's own (not RAM).
    virtual uint8_t Read(uint32_t linear);
    virtual void Write(uint32_t linear, uint8_t value);
    // What Read would give, the device left as it is; Read itself for a device whose reads
    // change nothing.
    virtual uint8_t Peek(uint32_t linear) { return Read(linear); }
    // Brings the device to machine time `now` (nanoseconds): what fell due by then happens (an
    // interrupt is requested). Returns when the device next needs to act, kNever for never.
    virtual uint64_t Advance(uint64_t now);

protected:
    ~CBusDevice() = default;
};

}  // namespace dos
