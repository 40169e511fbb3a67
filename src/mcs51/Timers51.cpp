// Timers 0, 1 and 2: the shape of each mode, lazy counting and the overflow flags.
#include "mcs51/Timers51.h"

#include <algorithm>

namespace mcs51 {

namespace {
const uint8_t kTmodGate = 0x08;
const uint8_t kTmodCounter = 0x04;
// Timer 2 as a baud rate generator counts every state, six to a machine cycle.
const unsigned kStatesPerCycle = 6;

uint8_t Mode(uint8_t tmodNibble) { return tmodNibble & 0x03; }
}

uint8_t CTimers51::Sync(uint64_t now)
{
    uint8_t fresh = 0;
    for (unsigned c = 0; c < kCounters51; ++c) {
        const auto counter = static_cast<TimerCounter51>(c);
        // A counter synced ahead to the end of the instruction under way waits there.
        if (now <= m_t.base[c])
            continue;
        if (m_t.counting[c]) {
            uint64_t first = 0;
            const unsigned rate = Rate(counter);
            const Shape before = ShapeOf(counter);
            const uint64_t overflows = m_t.overflows[c];
            if (Advance(counter, (now - m_t.base[c]) * rate, first) &&
                m_t.base[c] + (first + rate - 1) / rate == now)
                fresh |= SourceOf(counter);
            if (m_pWatch && m_t.overflows[c] != overflows)
                TellOverflows(counter, m_t.base[c], before, m_t.overflows[c] - overflows, rate);
        }
        m_t.base[c] = now;
    }
    return fresh;
}

void CTimers51::Rebase(uint8_t port3Pins)
{
    for (unsigned c = 0; c < kCounters51; ++c) {
        const auto counter = static_cast<TimerCounter51>(c);
        m_t.counting[c] = Enabled(counter, port3Pins) && !CounterFunction(counter);
        m_t.base[c] = std::max(m_t.base[c], m_s.cycle);
    }
}

uint8_t CTimers51::CountEdge(TimerCounter51 counter, uint8_t port3Pins)
{
    if (!Enabled(counter, port3Pins) || !CounterFunction(counter))
        return 0;
    uint64_t first = 0;
    const uint64_t overflows = m_t.overflows[counter];
    const uint8_t raised = Advance(counter, 1, first) ? SourceOf(counter) : 0;
    if (m_pWatch && m_t.overflows[counter] != overflows)
        m_pWatch->OnOverflow(counter, m_s.cycle);
    return raised;
}

void CTimers51::TellOverflows(TimerCounter51 counter, uint64_t from, const Shape& before, uint64_t overflows, unsigned rate)
{
    // A long lazy stretch holds more than a watcher keeps: only the last ones are told.
    const uint64_t kMostTold = 4096;
    const uint64_t period = before.top - before.reload;
    for (uint64_t n = overflows > kMostTold ? overflows - kMostTold : 0; n < overflows; ++n) {
        const uint64_t increment = (before.top - before.value) + n * period;
        m_pWatch->OnOverflow(counter, from + (increment + rate - 1) / rate);
    }
}

uint8_t CTimers51::Timer2ExternalEdge()
{
    if (m_variant != Mcs51Variant::k8052 || !(m_s.Sfr(kT2CON) & kT2conEXEN2))
        return 0;
    const uint8_t t2con = m_s.Sfr(kT2CON);
    if (t2con & kT2conCPRL2) {
        m_s.SetSfr(kRCAP2L, m_s.Sfr(kTL2));
        m_s.SetSfr(kRCAP2H, m_s.Sfr(kTH2));
    } else if (!Timer2Baud()) {
        m_s.SetSfr(kTL2, m_s.Sfr(kRCAP2L));
        m_s.SetSfr(kTH2, m_s.Sfr(kRCAP2H));
    }
    if (t2con & kT2conEXF2)
        return 0;
    m_s.SetSfr(kT2CON, t2con | kT2conEXF2);
    return kIrqTimer2;
}

uint64_t CTimers51::NextFlag() const
{
    uint64_t next = kNever;
    for (unsigned c = 0; c < kCounters51; ++c) {
        const auto counter = static_cast<TimerCounter51>(c);
        uint8_t sfr = 0;
        const uint8_t flag = FlagOf(counter, sfr);
        if (m_t.counting[c] && flag && !(m_s.Sfr(sfr) & flag)) {
            const uint64_t at = BoundaryOfOverflow(counter, m_t.overflows[c] + 1);
            if (at < next)
                next = at;
        }
    }
    return next;
}

uint64_t CTimers51::BoundaryOfOverflow(TimerCounter51 counter, uint64_t n) const
{
    if (!m_t.counting[counter] || n <= m_t.overflows[counter])
        return kNever;
    const Shape shape = ShapeOf(counter);
    const uint64_t increments =
        (shape.top - shape.value) + (n - m_t.overflows[counter] - 1) * uint64_t{shape.top - shape.reload};
    const unsigned rate = Rate(counter);
    return m_t.base[counter] + (increments + rate - 1) / rate;
}

bool CTimers51::Timer2Baud() const
{
    return m_variant == Mcs51Variant::k8052 && (m_s.Sfr(kT2CON) & (kT2conRCLK | kT2conTCLK));
}

CTimers51::Shape CTimers51::ShapeOf(TimerCounter51 counter) const
{
    const uint8_t tmod = m_s.Sfr(kTMOD);
    switch (counter) {
    case kCounterT0:
    case kCounterT1: {
        const bool t0 = counter == kCounterT0;
        const uint8_t tl = m_s.Sfr(t0 ? kTL0 : kTL1);
        const uint8_t th = m_s.Sfr(t0 ? kTH0 : kTH1);
        switch (Mode(t0 ? tmod : tmod >> 4)) {
        case 0:
            return {static_cast<uint32_t>(th << 5 | (tl & 0x1F)), 0x2000, 0};
        case 1:
            return {static_cast<uint32_t>(th << 8 | tl), 0x10000, 0};
        case 2:
            return {tl, 0x100, th};
        default:
            return {tl, 0x100, 0};
        }
    }
    case kCounterTH0:
        return {m_s.Sfr(kTH0), 0x100, 0};
    case kCounterT2:
    case kCounters51:
        break;
    }
    const uint32_t reload = (m_s.Sfr(kT2CON) & kT2conCPRL2) && !Timer2Baud()
        ? 0
        : static_cast<uint32_t>(m_s.Sfr(kRCAP2H) << 8 | m_s.Sfr(kRCAP2L));
    return {static_cast<uint32_t>(m_s.Sfr(kTH2) << 8 | m_s.Sfr(kTL2)), 0x10000, reload};
}

void CTimers51::Store(TimerCounter51 counter, uint32_t value, uint64_t increments)
{
    const uint8_t low = static_cast<uint8_t>(value);
    const uint8_t high = static_cast<uint8_t>(value >> 8);
    switch (counter) {
    case kCounterT0:
    case kCounterT1: {
        const bool t0 = counter == kCounterT0;
        const uint8_t tl = t0 ? kTL0 : kTL1;
        const uint8_t th = t0 ? kTH0 : kTH1;
        switch (Mode(t0 ? m_s.Sfr(kTMOD) : m_s.Sfr(kTMOD) >> 4)) {
        case 0: {
            // TLx counts on through its upper three bits, which take no part in the 13-bit
            // count: they step with each carry out of bit 4.
            const uint8_t old = m_s.Sfr(tl);
            const uint64_t carries = ((old & 0x1F) + increments) >> 5;
            const auto upper = static_cast<uint8_t>(((old >> 5) + carries) << 5);
            m_s.SetSfr(tl, static_cast<uint8_t>(upper | (value & 0x1F)));
            m_s.SetSfr(th, static_cast<uint8_t>(value >> 5));
            return;
        }
        case 1:
            m_s.SetSfr(tl, low);
            m_s.SetSfr(th, high);
            return;
        default:
            m_s.SetSfr(tl, low);
            return;
        }
    }
    case kCounterTH0:
        m_s.SetSfr(kTH0, low);
        return;
    case kCounterT2:
    case kCounters51:
        m_s.SetSfr(kTL2, low);
        m_s.SetSfr(kTH2, high);
        return;
    }
}

uint8_t CTimers51::FlagOf(TimerCounter51 counter, uint8_t& sfr) const
{
    sfr = kTCON;
    switch (counter) {
    case kCounterT0:
        return kTconTF0;
    case kCounterT1:
        // With Timer 0 in mode 3, TH0 has taken TF1 over.
        return Timer0Mode3() ? 0 : kTconTF1;
    case kCounterTH0:
        return kTconTF1;
    case kCounterT2:
    case kCounters51:
        break;
    }
    sfr = kT2CON;
    return Timer2Baud() ? 0 : kT2conTF2;
}

uint8_t CTimers51::SourceOf(TimerCounter51 counter) const
{
    switch (counter) {
    case kCounterT0:
        return kIrqTimer0;
    case kCounterT1:
    case kCounterTH0:
        return kIrqTimer1;
    case kCounterT2:
    case kCounters51:
        break;
    }
    return kIrqTimer2;
}

unsigned CTimers51::Rate(TimerCounter51 counter) const
{
    return counter == kCounterT2 && Timer2Baud() ? kStatesPerCycle : 1;
}

bool CTimers51::Enabled(TimerCounter51 counter, uint8_t port3Pins) const
{
    const uint8_t tmod = m_s.Sfr(kTMOD);
    const uint8_t tcon = m_s.Sfr(kTCON);
    switch (counter) {
    case kCounterT0:
        return (tcon & kTconTR0) && (!(tmod & kTmodGate) || (port3Pins & kPinINT0));
    case kCounterT1:
        // Timer 1 in mode 3 holds its count. While Timer 0 is in mode 3, TH0 owns TR1 and
        // Timer 1 runs whenever it is out of mode 3.
        if (Mode(tmod >> 4) == 3)
            return false;
        if (Timer0Mode3())
            return true;
        return (tcon & kTconTR1) && (!(tmod & (kTmodGate << 4)) || (port3Pins & kPinINT1));
    case kCounterTH0:
        return Timer0Mode3() && (tcon & kTconTR1);
    case kCounterT2:
    case kCounters51:
        break;
    }
    return m_variant == Mcs51Variant::k8052 && (m_s.Sfr(kT2CON) & kT2conTR2);
}

bool CTimers51::CounterFunction(TimerCounter51 counter) const
{
    switch (counter) {
    case kCounterT0:
        return m_s.Sfr(kTMOD) & kTmodCounter;
    case kCounterT1:
        return m_s.Sfr(kTMOD) & (kTmodCounter << 4);
    case kCounterTH0:
        return false;
    case kCounterT2:
    case kCounters51:
        break;
    }
    return m_s.Sfr(kT2CON) & kT2conCT2;
}

bool CTimers51::Advance(TimerCounter51 counter, uint64_t increments, uint64_t& firstOverflowIncrement)
{
    const Shape shape = ShapeOf(counter);
    const uint64_t toFirst = shape.top - shape.value;
    if (increments < toFirst) {
        Store(counter, static_cast<uint32_t>(shape.value + increments), increments);
        return false;
    }
    const uint64_t period = shape.top - shape.reload;
    const uint64_t after = increments - toFirst;
    m_t.overflows[counter] += 1 + after / period;
    Store(counter, static_cast<uint32_t>(shape.reload + after % period), increments);
    firstOverflowIncrement = toFirst;
    return RaiseFlag(counter) != 0;
}

uint8_t CTimers51::RaiseFlag(TimerCounter51 counter)
{
    uint8_t sfr = 0;
    const uint8_t flag = FlagOf(counter, sfr);
    if (!flag || (m_s.Sfr(sfr) & flag))
        return 0;
    m_s.SetSfr(sfr, m_s.Sfr(sfr) | flag);
    return flag;
}

}  // namespace mcs51
