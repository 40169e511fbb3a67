// The CMOS clock and memory at ports 70h and 71h: the time and date in BCD from the machine's
// clock, which a write of a time or date register sets (DOS's date and time follow it, for as
// long as the machine lives), the status registers, and bytes a program writes kept for it to
// read back.
#pragma once

#include "dos/BusDevice.h"
#include "dos/DosClock.h"

#include <cstdint>

namespace dos {

class CCmosClock final : public CBusDevice {
public:
    explicit CCmosClock(CDosClock& clock);

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    std::string_view Name() const override { return "cmos"; }
    machine::DeviceView View() const override;

private:
    uint8_t Register(uint8_t index) const;
    // A time or date register written: the clock takes the new field with the others as they
    // are; a value that is no BCD, or no valid date or time, changes nothing.
    void SetRegister(uint8_t index, uint8_t value);

    CDosClock& m_clock;
    uint8_t m_nIndex = 0;
    uint8_t m_bytes[128] = {};
};

}  // namespace dos
