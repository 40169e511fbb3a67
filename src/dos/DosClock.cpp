// The machine's date and time as an offset from the host's local time.
#include "dos/DosClock.h"

namespace dos {

namespace {

int64_t ToUnits(const SYSTEMTIME& time)
{
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file))
        return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime);
}

SYSTEMTIME HostNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

}

SYSTEMTIME CDosClock::Now() const
{
    int64_t units = ToUnits(HostNow()) + m_nOffset;
    FILETIME file{static_cast<DWORD>(units), static_cast<DWORD>(static_cast<uint64_t>(units) >> 32)};
    SYSTEMTIME time;
    FileTimeToSystemTime(&file, &time);
    return time;
}

bool CDosClock::MoveTo(const SYSTEMTIME& wanted)
{
    int64_t units = ToUnits(wanted);
    if (units < 0)
        return false;
    m_nOffset = units - ToUnits(HostNow());
    return true;
}

bool CDosClock::SetDate(uint16_t year, uint8_t month, uint8_t day)
{
    if (year < 1980 || year > 2099)
        return false;
    SYSTEMTIME time = Now();
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wDayOfWeek = 0;
    return MoveTo(time);
}

bool CDosClock::SetTime(uint8_t hour, uint8_t minute, uint8_t second, uint8_t hundredths)
{
    if (hour > 23 || minute > 59 || second > 59 || hundredths > 99)
        return false;
    SYSTEMTIME time = Now();
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = static_cast<WORD>(hundredths * 10);
    return MoveTo(time);
}

uint32_t CDosClock::TicksSinceMidnight() const
{
    SYSTEMTIME time = Now();
    uint64_t ms = ((time.wHour * 60u + time.wMinute) * 60u + time.wSecond) * 1000u + time.wMilliseconds;
    return static_cast<uint32_t>(ms * 1193182 / 65536 / 1000);
}

}  // namespace dos
