// The CMOS clock and memory at ports 70h and 71h: the time and date in BCD from the machine's
// clock, the status registers, and bytes a program writes kept for it to read back.
#pragma once

#include "dos/BusDevice.h"
#include "dos/DosClock.h"

#include <cstdint>

namespace dos {

class CCmosClock final : public CBusDevice {
public:
    explicit CCmosClock(const CDosClock& clock);

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    std::string_view Name() const override { return "cmos"; }
    machine::DeviceView View() const override;

private:
    uint8_t Register(uint8_t index) const;

    const CDosClock& m_clock;
    uint8_t m_nIndex = 0;
    uint8_t m_bytes[128] = {};
};

}  // namespace dos
