// The machine's date and time as a count of milliseconds from 1980, DOS's epoch, turned into a
// date by the proleptic Gregorian calendar.
#include "dos/DosClock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace dos {

namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 of a Gregorian date (the civil-calendar arithmetic of eras of 400 years).
constexpr int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

constexpr int64_t kEpochDays = DaysFromCivil(1980, 1, 1);

}

void CDosClock::Reset(const DosDateTime& start)
{
    m_nStart = ToMilliseconds(start);
}

bool CDosClock::Valid(uint16_t year, uint8_t month, uint8_t day)
{
    if (year < 1980 || year > 2099 || month < 1 || month > 12 || day < 1)
        return false;
    const unsigned next = month == 12 ? 1 : month + 1u;
    const int64_t length = DaysFromCivil(month == 12 ? year + 1 : year, next, 1) - DaysFromCivil(year, month, 1);
    return day <= length;
}

int64_t CDosClock::ToMilliseconds(const DosDateTime& time)
{
    const int64_t days = DaysFromCivil(time.year, time.month, time.day) - kEpochDays;
    return days * kMsPerDay + ((time.hour * 60 + time.minute) * 60 + time.second) * int64_t{1000} + time.hundredths * 10;
}

DosDateTime CDosClock::FromMilliseconds(int64_t ms)
{
    const int64_t days = ms / kMsPerDay;
    int64_t inDay = ms % kMsPerDay;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days + kEpochDays, year, month, day);
    DosDateTime time;
    time.year = static_cast<uint16_t>(year);
    time.month = static_cast<uint8_t>(month);
    time.day = static_cast<uint8_t>(day);
    // 1980-01-01 was a Tuesday.
    time.dayOfWeek = static_cast<uint8_t>((days + 2) % 7);
    time.hundredths = static_cast<uint8_t>(inDay % 1000 / 10);
    inDay /= 1000;
    time.second = static_cast<uint8_t>(inDay % 60);
    time.minute = static_cast<uint8_t>(inDay / 60 % 60);
    time.hour = static_cast<uint8_t>(inDay / 3600);
    return time;
}

int64_t CDosClock::NowMilliseconds() const
{
    return m_nStart + static_cast<int64_t>(m_time.Now() / CMachineClock::kNanosecondsPerMs);
}

DosDateTime CDosClock::Now() const
{
    return FromMilliseconds(NowMilliseconds());
}

bool CDosClock::SetDate(uint16_t year, uint8_t month, uint8_t day)
{
    if (!Valid(year, month, day))
        return false;
    DosDateTime time = Now();
    time.year = year;
    time.month = month;
    time.day = day;
    m_nStart += ToMilliseconds(time) - NowMilliseconds();
    return true;
}

bool CDosClock::SetTime(uint8_t hour, uint8_t minute, uint8_t second, uint8_t hundredths)
{
    if (hour > 23 || minute > 59 || second > 59 || hundredths > 99)
        return false;
    DosDateTime time = Now();
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    time.hundredths = hundredths;
    m_nStart += ToMilliseconds(time) - NowMilliseconds();
    return true;
}

uint32_t CDosClock::TicksSinceMidnight() const
{
    const auto ms = static_cast<uint64_t>(NowMilliseconds() % kMsPerDay);
    return static_cast<uint32_t>(ms * 1193182 / 65536 / 1000);
}

DosDateTime CDosClock::HostLocalTime()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    if (const std::tm* converted = std::localtime(&seconds))
        local = *converted;
    DosDateTime time;
    time.year = static_cast<uint16_t>(local.tm_year + 1900);
    time.month = static_cast<uint8_t>(local.tm_mon + 1);
    time.day = static_cast<uint8_t>(local.tm_mday);
    time.hour = static_cast<uint8_t>(local.tm_hour);
    time.minute = static_cast<uint8_t>(local.tm_min);
    time.second = static_cast<uint8_t>(std::min(local.tm_sec, 59));
    time.hundredths = static_cast<uint8_t>(ms / 10);
    if (!Valid(time.year, time.month, time.day))
        return kFixedStart;
    return FromMilliseconds(ToMilliseconds(time));
}

}  // namespace dos
