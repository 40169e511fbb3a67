// The 8253 timer: counters that run down from their reload value in machine time.
#include "dos/IntervalTimer.h"

#include "dos/DeviceText.h"

namespace dos {

namespace {

constexpr uint64_t kNanosecondsPerSecond = 1000000000;

}

uint64_t CIntervalTimer::TicksAt(uint64_t nanoseconds)
{
    return nanoseconds / kNanosecondsPerSecond * kHertz + nanoseconds % kNanosecondsPerSecond * kHertz / kNanosecondsPerSecond;
}

uint64_t CIntervalTimer::NanosecondsAt(uint64_t ticks)
{
    return ticks / kHertz * kNanosecondsPerSecond + (ticks % kHertz * kNanosecondsPerSecond + kHertz - 1) / kHertz;
}

void CIntervalTimer::Reset()
{
    const uint64_t now = Now();
    for (Counter& counter : m_counters)
        counter = Counter{0x10000, now};
    m_counters[1].reload = 18;
    m_nNextIrq = now + m_counters[0].reload;
    m_nPort61 = 0;
}

uint64_t CIntervalTimer::Advance(uint64_t nanoseconds)
{
    const uint64_t now = TicksAt(nanoseconds);
    if (now >= m_nNextIrq) {
        if (!m_pic.IsRequested(0))
            m_pic.Raise(0);
        const uint64_t period = m_counters[0].reload;
        m_nNextIrq += period;
        if (m_nNextIrq + 4 * period < now)
            m_nNextIrq = now + period;
    }
    return NanosecondsAt(m_nNextIrq);
}

uint16_t CIntervalTimer::Value(const Counter& counter, uint64_t now) const
{
    uint64_t elapsed = (now - counter.start) % counter.reload;
    return static_cast<uint16_t>(counter.reload - elapsed);
}

uint8_t CIntervalTimer::In(uint16_t port)
{
    const uint64_t now = Now();
    if (port == 0x61) {
        m_bRefresh = !m_bRefresh;
        bool output2 = Value(m_counters[2], now) > m_counters[2].reload / 2;
        return static_cast<uint8_t>((m_nPort61 & 0x0F) | (m_bRefresh ? 0x10 : 0) | (output2 ? 0x20 : 0));
    }
    if (port < 0x40 || port > 0x42)
        return 0xFF;
    Counter& counter = m_counters[port - 0x40];
    uint16_t value = counter.latched ? counter.latch : Value(counter, now);
    uint8_t byte;
    if (counter.access == 1)
        byte = static_cast<uint8_t>(value);
    else if (counter.access == 2)
        byte = static_cast<uint8_t>(value >> 8);
    else
        byte = counter.highNext ? static_cast<uint8_t>(value >> 8) : static_cast<uint8_t>(value);
    if (counter.access != 3 || counter.highNext)
        counter.latched = false;
    if (counter.access == 3)
        counter.highNext = !counter.highNext;
    return byte;
}

void CIntervalTimer::Out(uint16_t port, uint8_t value)
{
    const uint64_t now = Now();
    if (port == 0x61) {
        m_nPort61 = value;
        return;
    }
    if (port == 0x43) {
        uint8_t index = value >> 6;
        if (index == 3)
            return;
        Counter& counter = m_counters[index];
        uint8_t access = (value >> 4) & 3;
        if (access == 0) {
            counter.latch = Value(counter, now);
            counter.latched = true;
            counter.highNext = false;
            return;
        }
        counter.access = access;
        counter.highNext = false;
        counter.writeHighNext = false;
        return;
    }
    if (port < 0x40 || port > 0x42)
        return;
    Counter& counter = m_counters[port - 0x40];
    if (counter.access == 1 || (counter.access == 3 && !counter.writeHighNext))
        counter.written = static_cast<uint16_t>((counter.written & 0xFF00) | value);
    else
        counter.written = static_cast<uint16_t>((counter.written & 0x00FF) | (value << 8));
    if (counter.access == 3 && !counter.writeHighNext) {
        counter.writeHighNext = true;
        return;
    }
    counter.writeHighNext = false;
    counter.reload = counter.written ? counter.written : 0x10000;
    counter.start = now;
    if (&counter == &m_counters[0])
        m_nNextIrq = now + counter.reload;
}

machine::DeviceView CIntervalTimer::View() const
{
    const uint64_t now = Now();
    std::string text;
    for (int index = 0; index < 3; ++index) {
        const Counter& counter = m_counters[index];
        text += DeviceText::Line("8253 " + std::to_string(index) + ": " + DeviceText::Hex(Value(counter, now), 4) + "/" +
                                 DeviceText::Hex(counter.reload & 0xFFFF, 4));
    }
    text += DeviceText::Line("61h=" + DeviceText::Hex(m_nPort61, 2));
    return {text, {}};
}

}  // namespace dos
