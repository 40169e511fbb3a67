// The CMOS clock: every read of a time register reads the machine's clock afresh.
#include "dos/CmosClock.h"

#include "dos/Bcd.h"
#include "dos/DeviceText.h"

namespace dos {

namespace {
// The registers that hold the time and the date.
constexpr uint8_t kSeconds = 0x00, kMinutes = 0x02, kHours = 0x04, kDay = 0x07, kMonth = 0x08, kYear = 0x09,
                  kCentury = 0x32;
}

CCmosClock::CCmosClock(CDosClock& clock) : m_clock(clock)
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
    else if (m_nIndex == kSeconds || m_nIndex == kMinutes || m_nIndex == kHours || m_nIndex == kDay ||
             m_nIndex == kMonth || m_nIndex == kYear || m_nIndex == kCentury)
        SetRegister(m_nIndex, value);
    else if (m_nIndex > 0x0D)
        m_bytes[m_nIndex] = value;
}

void CCmosClock::SetRegister(uint8_t index, uint8_t value)
{
    const int number = FromBcd(value);
    if (number < 0)
        return;
    const DosDateTime now = m_clock.Now();
    const auto field = [&](uint8_t own, unsigned current) { return static_cast<uint8_t>(index == own ? number : current); };
    if (index == kSeconds || index == kMinutes || index == kHours) {
        m_clock.SetTime(field(kHours, now.hour), field(kMinutes, now.minute), field(kSeconds, now.second), 0);
        return;
    }
    unsigned year = now.year;
    if (index == kYear)
        year = year / 100 * 100 + static_cast<unsigned>(number);
    else if (index == kCentury)
        year = static_cast<unsigned>(number) * 100 + year % 100;
    m_clock.SetDate(static_cast<uint16_t>(year), field(kMonth, now.month), field(kDay, now.day));
}

uint8_t CCmosClock::Register(uint8_t index) const
{
    const DosDateTime now = m_clock.Now();
    switch (index) {
    case kSeconds:
        return ToBcd(now.second);
    case kMinutes:
        return ToBcd(now.minute);
    case kHours:
        return ToBcd(now.hour);
    case 0x06:
        return ToBcd(now.dayOfWeek + 1u);
    case kDay:
        return ToBcd(now.day);
    case kMonth:
        return ToBcd(now.month);
    case kYear:
        return ToBcd(now.year % 100u);
    case kCentury:
        return ToBcd(now.year / 100u);
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
