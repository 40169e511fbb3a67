// The machine's date and time: a start (the host's local time when the machine starts, or a
// fixed 2000-01-01 00:00:00) moved on by machine time and by what a program sets with INT 21h
// 2Bh and 2Dh (the host's clock itself is never changed).
#pragma once

#include "dos/MachineClock.h"

#include <cstdint>

namespace dos {

struct DosDateTime {
    uint16_t year = 2000;
    uint8_t month = 1;
    uint8_t day = 1;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
    uint8_t hundredths = 0;
    // 0 for Sunday, as INT 21h 2Ah gives it.
    uint8_t dayOfWeek = 6;

    friend bool operator==(const DosDateTime&, const DosDateTime&) = default;
};

class CDosClock {
public:
    explicit CDosClock(const CMachineClock& time) : m_time(time) {}

    // The date and time at machine time 0.
    void Reset(const DosDateTime& start);
    DosDateTime Now() const;
    bool SetDate(uint16_t year, uint8_t month, uint8_t day);
    bool SetTime(uint8_t hour, uint8_t minute, uint8_t second, uint8_t hundredths);
    // BIOS ticks (18.2 a second) since midnight.
    uint32_t TicksSinceMidnight() const;

    static DosDateTime HostLocalTime();
    static constexpr DosDateTime kFixedStart{2000, 1, 1, 0, 0, 0, 0, 6};

private:
    // Milliseconds since 1980-01-01 00:00 of a valid date and time (DOS's range, 1980-2099).
    static int64_t ToMilliseconds(const DosDateTime& time);
    static DosDateTime FromMilliseconds(int64_t ms);
    static bool Valid(uint16_t year, uint8_t month, uint8_t day);
    int64_t NowMilliseconds() const;

    const CMachineClock& m_time;
    // The date and time at machine time 0, in milliseconds since 1980-01-01.
    int64_t m_nStart = 0;
};

}  // namespace dos
