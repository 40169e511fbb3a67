// The machine's date and time: the host's local time, moved by what a program sets with
// INT 21h 2Bh and 2Dh (the host's clock itself is never changed).
#pragma once

#include <windows.h>

#include <cstdint>

namespace dos {

class CDosClock {
public:
    SYSTEMTIME Now() const;
    bool SetDate(uint16_t year, uint8_t month, uint8_t day);
    bool SetTime(uint8_t hour, uint8_t minute, uint8_t second, uint8_t hundredths);
    // BIOS ticks (18.2 a second) since midnight.
    uint32_t TicksSinceMidnight() const;

private:
    bool MoveTo(const SYSTEMTIME& wanted);

    int64_t m_nOffset = 0;  // 100-ns units
};

}  // namespace dos
