// The CMOS clock: every read of a time register reads the machine's clock afresh.
#include "dos/CmosClock.h"

#include "dos/DeviceText.h"

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

uint8_t CCmosClock::In(uint16_t port)
{
    return port == 0x71 ? Register(m_nIndex) : 0xFF;
}

void CCmosClock::Out(uint16_t port, uint8_t value)
{
    if (port == 0x70)
        m_nIndex = value & 0x7F;
    else if (m_nIndex > 0x0D)
        m_bytes[m_nIndex] = value;
}

uint8_t CCmosClock::Register(uint8_t index) const
{
    const DosDateTime now = m_clock.Now();
    switch (index) {
    case 0x00:
        return Bcd(now.second);
    case 0x02:
        return Bcd(now.minute);
    case 0x04:
        return Bcd(now.hour);
    case 0x06:
        return Bcd(now.dayOfWeek + 1u);
    case 0x07:
        return Bcd(now.day);
    case 0x08:
        return Bcd(now.month);
    case 0x09:
        return Bcd(now.year % 100u);
    case 0x32:
        return Bcd(now.year / 100u);
    default:
        return m_bytes[index & 0x7F];
    }
}

machine::DeviceView CCmosClock::View() const
{
    const std::string time = DeviceText::Hex(Register(0x04), 2) + ":" + DeviceText::Hex(Register(0x02), 2) + ":" +
                             DeviceText::Hex(Register(0x00), 2);
    const std::string date = DeviceText::Hex(Register(0x32), 2) + DeviceText::Hex(Register(0x09), 2) + "-" +
                             DeviceText::Hex(Register(0x08), 2) + "-" + DeviceText::Hex(Register(0x07), 2);
    return {DeviceText::Line("RTC " + date + " " + time + " index " + DeviceText::Hex(m_nIndex, 2)), {}};
}

}  // namespace dos
