// The CMOS clock: every read of a time register reads the machine's clock afresh.
#include "dos/CmosClock.h"

namespace dos {

namespace {

uint8_t Bcd(unsigned value) { return static_cast<uint8_t>(((value / 10) % 10) << 4 | (value % 10)); }

}

CCmosClock::CCmosClock(const CDosClock& clock) : m_clock(clock)
{
    m_bytes[0x0A] = 0x26;
    m_bytes[0x0B] = 0x02;
    m_bytes[0x0D] = 0x80;
    m_bytes[0x14] = 0x21;
}

uint8_t CCmosClock::Read(uint16_t port) const
{
    return port == 0x71 ? Register(m_nIndex) : 0xFF;
}

void CCmosClock::Write(uint16_t port, uint8_t value)
{
    if (port == 0x70)
        m_nIndex = value & 0x7F;
    else if (m_nIndex > 0x0D)
        m_bytes[m_nIndex] = value;
}

uint8_t CCmosClock::Register(uint8_t index) const
{
    SYSTEMTIME now = m_clock.Now();
    switch (index) {
    case 0x00:
        return Bcd(now.wSecond);
    case 0x02:
        return Bcd(now.wMinute);
    case 0x04:
        return Bcd(now.wHour);
    case 0x06:
        return Bcd(now.wDayOfWeek + 1u);
    case 0x07:
        return Bcd(now.wDay);
    case 0x08:
        return Bcd(now.wMonth);
    case 0x09:
        return Bcd(now.wYear % 100u);
    case 0x32:
        return Bcd(now.wYear / 100u);
    default:
        return m_bytes[index & 0x7F];
    }
}

}  // namespace dos
