// The CMOS clock and memory at ports 70h and 71h: the time and date in BCD from the machine's
// clock, the status registers, and bytes a program writes kept for it to read back.
#pragma once

#include "dos/DosClock.h"

#include <cstdint>

namespace dos {

class CCmosClock {
public:
    explicit CCmosClock(const CDosClock& clock);

    uint8_t Read(uint16_t port) const;
    void Write(uint16_t port, uint8_t value);

private:
    uint8_t Register(uint8_t index) const;

    const CDosClock& m_clock;
    uint8_t m_nIndex = 0;
    uint8_t m_bytes[128] = {};
};

}  // namespace dos
