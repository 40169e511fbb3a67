// The 8259A's priority resolver, its initialization sequence and its operation command words.
#include "labbox/Pic8259.h"

namespace labbox {

void CPic8259::Reset()
{
    *this = CPic8259{};
}

void CPic8259::SetInput(unsigned ir, bool high)
{
    const uint8_t bit = static_cast<uint8_t>(1u << ir);
    const bool was = m_nPins & bit;
    m_nPins = static_cast<uint8_t>(high ? m_nPins | bit : m_nPins & ~bit);
    if (high && (m_bLevel || !was))
        m_nIrr |= bit;
    if (!high)
        m_nIrr = static_cast<uint8_t>(m_nIrr & ~bit);
}

unsigned CPic8259::HighestInService() const
{
    // In special mask mode a masked level in service holds back no other.
    const uint8_t blocking = m_bSpecialMask ? static_cast<uint8_t>(m_nIsr & ~m_nImr) : m_nIsr;
    for (unsigned rank = 0; rank < 8; ++rank)
        if (blocking & (1u << LevelAt(rank)))
            return LevelAt(rank);
    return 8;
}

unsigned CPic8259::Chosen() const
{
    const uint8_t requests = static_cast<uint8_t>(m_nIrr & ~m_nImr & ~(m_bSpecialMask ? m_nIsr : 0));
    const unsigned served = HighestInService();
    for (unsigned rank = 0; rank < 8; ++rank) {
        const unsigned level = LevelAt(rank);
        if (level == served)
            return 8;
        if (requests & (1u << level))
            return level;
    }
    return 8;
}

uint8_t CPic8259::Acknowledge()
{
    const unsigned level = Chosen();
    if (level == 8)
        return static_cast<uint8_t>(m_nVectorBase | 7);
    const uint8_t bit = static_cast<uint8_t>(1u << level);
    if (!m_bLevel)
        m_nIrr = static_cast<uint8_t>(m_nIrr & ~bit);
    m_nIsr |= bit;
    if (m_bAutoEoi)
        EndOf(level, m_bRotateOnAutoEoi);
    return static_cast<uint8_t>(m_nVectorBase | level);
}

void CPic8259::EndOf(unsigned level, bool rotate)
{
    if (level == 8)
        return;
    m_nIsr = static_cast<uint8_t>(m_nIsr & ~(1u << level));
    if (rotate)
        m_nLowest = level;
}

uint8_t CPic8259::Poll()
{
    m_bPoll = false;
    const unsigned level = Chosen();
    if (level == 8)
        return 0;
    Acknowledge();
    return static_cast<uint8_t>(0x80 | level);
}

uint8_t CPic8259::Read(unsigned a0)
{
    if (m_bPoll)
        return Poll();
    if (a0 & 1)
        return m_nImr;
    return m_bReadIsr ? m_nIsr : m_nIrr;
}

void CPic8259::Write(unsigned a0, uint8_t value)
{
    if (!(a0 & 1)) {
        if (value & 0x10)
            Icw1(value);
        else if (value & 0x08)
            Ocw3(value);
        else
            Ocw2(value);
        return;
    }
    switch (m_expect) {
    case Expect::Icw2:
        // 8086 mode: T7-T3 with the level below them.
        m_nVectorBase = static_cast<uint8_t>(value & 0xF8);
        m_expect = !m_bSingle ? Expect::Icw3 : m_bIcw4 ? Expect::Icw4 : Expect::Ready;
        break;
    case Expect::Icw3:
        // One chip on the box: which IR a slave hangs on changes nothing here.
        m_expect = m_bIcw4 ? Expect::Icw4 : Expect::Ready;
        break;
    case Expect::Icw4:
        m_bAutoEoi = value & 0x02;
        m_expect = Expect::Ready;
        break;
    case Expect::Ready:
        m_nImr = value;
        break;
    }
}

void CPic8259::Icw1(uint8_t value)
{
    // The initialization clears the mask and what is in service, gives IR7 the lowest priority,
    // leaves special mask mode, selects IRR for reads, and waits for a rising edge anew.
    m_nImr = 0;
    m_nIsr = 0;
    m_nIrr = 0;
    m_nLowest = 7;
    m_bSpecialMask = false;
    m_bReadIsr = false;
    m_bPoll = false;
    m_bRotateOnAutoEoi = false;
    m_bIcw4 = value & 0x01;
    m_bSingle = value & 0x02;
    m_bLevel = value & 0x08;
    if (!m_bIcw4)
        m_bAutoEoi = false;
    if (m_bLevel)
        m_nIrr = m_nPins;
    m_expect = Expect::Icw2;
}

void CPic8259::Ocw2(uint8_t value)
{
    const unsigned level = value & 7;
    switch (value >> 5) {
    case 1:
        EndOf(HighestInService(), false);
        break;
    case 3:
        EndOf(level, false);
        break;
    case 5:
        EndOf(HighestInService(), true);
        break;
    case 4:
        m_bRotateOnAutoEoi = true;
        break;
    case 0:
        m_bRotateOnAutoEoi = false;
        break;
    case 7:
        EndOf(level, true);
        break;
    case 6:
        m_nLowest = level;
        break;
    default:
        break;
    }
}

void CPic8259::Ocw3(uint8_t value)
{
    if (value & 0x40)
        m_bSpecialMask = value & 0x20;
    if (value & 0x02)
        m_bReadIsr = value & 0x01;
    m_bPoll = value & 0x04;
}

}  // namespace labbox
