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
    m_nGateLowAt = now;
    DriveSpeaker(now);
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
    if (&counter == &m_counters[2])
        now = Counter2Time(now);
    uint64_t elapsed = (now - counter.start) % counter.reload;
    return static_cast<uint16_t>(counter.reload - elapsed);
}

uint8_t CIntervalTimer::In(uint16_t port)
{
    const uint64_t now = Now();
    if (port == 0x61) {
        m_bRefresh = !m_bRefresh;
        return static_cast<uint8_t>((m_nPort61 & 0x0F) | (m_bRefresh ? 0x10 : 0) | (Output2(now) ? 0x20 : 0));
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
        WritePort61(value, now);
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
        // Modes 6 and 7 are 2 and 3 again.
        const uint8_t mode = (value >> 1) & 7;
        counter.mode = static_cast<uint8_t>(mode >= 6 ? mode - 4 : mode);
        counter.loaded = false;
        if (index == 2)
            DriveSpeaker(now);
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
    counter.loaded = true;
    if (&counter == &m_counters[0])
        m_nNextIrq = now + counter.reload;
    if (&counter == &m_counters[2])
        DriveSpeaker(now);
}

bool CIntervalTimer::Output2(uint64_t now) const
{
    const Counter& counter = m_counters[2];
    if (!counter.loaded)
        return counter.mode != 0;
    const uint64_t elapsed = Counter2Time(now) - counter.start;
    if (counter.mode <= 1)
        return elapsed >= counter.reload;
    if (!Gate2() || counter.mode > 3)
        return true;
    const uint64_t phase = elapsed % counter.reload;
    return counter.mode == 2 ? phase + 1 < counter.reload : phase < (counter.reload + 1) / 2;
}

// The gate's rising edge starts counter 2 over in the periodic modes; mode 0 counts on from
// where it stood.
void CIntervalTimer::WritePort61(uint8_t value, uint64_t now)
{
    const bool wasGated = Gate2();
    m_nPort61 = value;
    Counter& counter = m_counters[2];
    if (wasGated && !Gate2())
        m_nGateLowAt = now;
    else if (!wasGated && Gate2())
        counter.start = counter.mode == 0 ? counter.start + (now - m_nGateLowAt) : now;
    DriveSpeaker(now);
}

void CIntervalTimer::DriveSpeaker(uint64_t now)
{
    const Counter& counter = m_counters[2];
    SpeakerWave wave;
    const bool periodic = counter.mode == 2 || counter.mode == 3;
    if ((m_nPort61 & 2) && counter.loaded && Gate2() && periodic && counter.reload > 1) {
        const double tick = 1e9 / kHertz;
        wave.periodNs = counter.reload * tick;
        wave.highNs = (counter.mode == 3 ? (counter.reload + 1) / 2 : counter.reload - 1) * tick;
        wave.origin = NanosecondsAt(counter.start);
    } else {
        wave.level = (m_nPort61 & 2) && Output2(now);
    }
    m_speaker.Drive(m_clock.Now(), wave);
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
