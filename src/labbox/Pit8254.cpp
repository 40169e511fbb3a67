// The counters' six modes, clock by clock, as the 8254 data sheet's mode descriptions and
// waveform figures give them.
#include "labbox/Pit8254.h"

namespace labbox {

namespace {
constexpr uint32_t kQuiet = 1u << 20;

unsigned FromBcd(uint16_t value)
{
    return (value >> 12 & 15) * 1000u + (value >> 8 & 15) * 100u + (value >> 4 & 15) * 10u + (value & 15);
}

uint16_t ToBcd(unsigned value)
{
    return static_cast<uint16_t>((value / 1000 % 10) << 12 | (value / 100 % 10) << 8 | (value / 10 % 10) << 4 | value % 10);
}
}

void CPit8254::Reset()
{
    for (Counter& counter : m_counters)
        counter = Counter{};
}

uint32_t CPit8254::Span(const Counter& counter, uint16_t value)
{
    if (value == 0)
        return counter.bcd ? 10000u : 65536u;
    return counter.bcd ? FromBcd(value) : value;
}

uint16_t CPit8254::Less(const Counter& counter, uint16_t value, unsigned by) const
{
    if (!counter.bcd)
        return static_cast<uint16_t>(value - by);
    return ToBcd((FromBcd(value) + 10000u - by) % 10000u);
}

uint16_t CPit8254::SquareLoad(const Counter& counter) const
{
    return Span(counter, counter.initial) % 2 ? Less(counter, counter.initial, 1) : counter.initial;
}

uint8_t CPit8254::Status(const Counter& counter) const
{
    return static_cast<uint8_t>((counter.out ? 0x80 : 0) | (counter.nullCount ? 0x40 : 0) | (counter.control & 0x3F));
}

uint8_t CPit8254::Read(unsigned address)
{
    address &= 3;
    // The control word register cannot be read.
    return address == 3 ? 0xFF : ReadCount(m_counters[address]);
}

void CPit8254::Write(unsigned address, uint8_t value)
{
    address &= 3;
    if (address == 3)
        Control(value);
    else
        WriteCount(m_counters[address], value);
}

void CPit8254::Control(uint8_t value)
{
    const unsigned select = value >> 6;
    if (select == 3) {
        ReadBack(value);
        return;
    }
    Counter& counter = m_counters[select];
    const uint8_t access = (value >> 4) & 3;
    if (access == 0) {
        LatchCount(counter);
        return;
    }
    // Modes 6 and 7 are 2 and 3 (M2 is not looked at).
    uint8_t mode = (value >> 1) & 7;
    if (mode > 5)
        mode = static_cast<uint8_t>(mode - 4);
    const bool gate = counter.gate;
    counter = Counter{};
    counter.gate = gate;
    counter.control = value;
    counter.mode = mode;
    counter.bcd = value & 1;
    counter.access = access;
    counter.out = mode != 0;
}

void CPit8254::ReadBack(uint8_t value)
{
    for (int i = 0; i < kCounters; ++i) {
        if (!(value & (2u << i)))
            continue;
        Counter& counter = m_counters[i];
        if (!(value & 0x20))
            LatchCount(counter);
        if (!(value & 0x10) && !counter.statusLatched) {
            counter.status = Status(counter);
            counter.statusLatched = true;
        }
    }
}

void CPit8254::LatchCount(Counter& counter)
{
    // A second latch before the first is read changes nothing.
    if (counter.countLatched)
        return;
    counter.latch = counter.element;
    counter.countLatched = true;
}

uint8_t CPit8254::ReadCount(Counter& counter)
{
    if (counter.statusLatched) {
        counter.statusLatched = false;
        return counter.status;
    }
    const uint16_t value = counter.countLatched ? counter.latch : counter.element;
    bool high = counter.access == 2;
    bool last = true;
    if (counter.access == 3) {
        high = counter.readHigh;
        last = counter.readHigh;
        counter.readHigh = !counter.readHigh;
    }
    if (last)
        counter.countLatched = false;
    return static_cast<uint8_t>(high ? value >> 8 : value);
}

void CPit8254::WriteCount(Counter& counter, uint8_t value)
{
    if (counter.access == 1) {
        counter.initial = value;
    } else if (counter.access == 2) {
        counter.initial = static_cast<uint16_t>(value << 8);
    } else if (!counter.writeHigh) {
        counter.lowWritten = value;
        counter.writeHigh = true;
        if (counter.mode == 0) {
            counter.halted = true;
            counter.out = false;
        }
        return;
    } else {
        counter.initial = static_cast<uint16_t>(counter.lowWritten | value << 8);
        counter.writeHigh = false;
    }
    CountWritten(counter);
}

void CPit8254::CountWritten(Counter& counter)
{
    counter.written = true;
    counter.nullCount = true;
    counter.halted = false;
    switch (counter.mode) {
    case 0:
        counter.out = false;
        counter.loadNext = true;
        break;
    case 4:
        counter.loadNext = true;
        break;
    case 2:
    case 3:
        // A new count while counting waits for the end of the period (half period).
        counter.loadNext = !counter.loaded;
        break;
    default:
        // Modes 1 and 5 wait for a trigger.
        break;
    }
}

void CPit8254::SetGate(int index, bool high)
{
    Counter& counter = m_counters[index];
    if (high && !counter.gate)
        counter.triggered = true;
    if (!high && (counter.mode == 2 || counter.mode == 3)) {
        counter.out = true;
        counter.fallNext = false;
    }
    counter.gate = high;
}

void CPit8254::Clock(int index)
{
    Counter& c = m_counters[index];
    const bool trigger = c.triggered && c.written;
    c.triggered = false;
    const auto load = [&c](uint16_t value) {
        c.element = value;
        c.loadNext = false;
        c.loaded = true;
        c.nullCount = false;
    };
    switch (c.mode) {
    case 0:
        if (c.loadNext) {
            load(c.initial);
        } else if (c.loaded && !c.halted && c.gate) {
            c.element = Less(c, c.element, 1);
            if (c.element == 0)
                c.out = true;
        }
        break;
    case 1:
        if (trigger) {
            load(c.initial);
            c.out = false;
        } else if (c.loaded) {
            c.element = Less(c, c.element, 1);
            if (c.element == 0)
                c.out = true;
        }
        break;
    case 2:
        if (c.loadNext || trigger) {
            load(c.initial);
            c.out = true;
        } else if (c.loaded && c.gate) {
            if (!c.out) {
                load(c.initial);
                c.out = true;
            } else {
                c.element = Less(c, c.element, 1);
                if (c.element == 1)
                    c.out = false;
            }
        }
        break;
    case 3:
        if (c.loadNext || trigger) {
            load(SquareLoad(c));
            c.out = true;
            c.fallNext = false;
        } else if (c.loaded && c.gate) {
            if (c.fallNext) {
                c.fallNext = false;
                c.out = false;
                load(SquareLoad(c));
                break;
            }
            c.element = Less(c, c.element, 2);
            if (c.element != 0)
                break;
            if (Span(c, c.initial) % 2 && c.out) {
                c.fallNext = true;
            } else {
                c.out = !c.out;
                load(SquareLoad(c));
            }
        }
        break;
    case 4:
    case 5:
        if ((c.mode == 4 && c.loadNext) || (c.mode == 5 && trigger)) {
            load(c.initial);
            c.armed = true;
            break;
        }
        if (!c.loaded)
            break;
        // The strobe lasts one clock.
        c.out = true;
        if (c.mode == 4 && !c.gate)
            break;
        c.element = Less(c, c.element, 1);
        if (c.element == 0 && c.armed) {
            c.out = false;
            c.armed = false;
        }
        break;
    default:
        break;
    }
}

uint32_t CPit8254::QuietClocks(int index) const
{
    const Counter& c = m_counters[index];
    if (c.loadNext || c.triggered || c.fallNext || (!c.out && c.mode >= 2))
        return 1;
    if (!c.loaded)
        return kQuiet;
    const uint32_t span = Span(c, c.element);
    switch (c.mode) {
    case 0:
    case 1:
        return c.out ? kQuiet : span;
    case 2:
        return span > 1 ? span - 1 : 1;
    case 3:
        return span > 2 ? span / 2 : 1;
    default:
        return c.armed ? span : kQuiet;
    }
}

}  // namespace labbox
