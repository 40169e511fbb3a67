// Interrupt polling and vectoring by Intel's rules for the MCS-51.
#include "mcs51/Interrupts51.h"

#include <bit>

namespace mcs51 {

namespace {
const uint8_t kLow = 0x01;
const uint8_t kHigh = 0x02;
}

void CInterrupts51::Reti()
{
    // RETI ends the routine of the highest level in progress.
    if (m_i.inProgress & kHigh)
        m_i.inProgress &= ~kHigh;
    else
        m_i.inProgress &= ~kLow;
    m_i.holdOne = true;
}

uint16_t CInterrupts51::Poll()
{
    const uint8_t fresh = m_i.fresh;
    const bool hold = m_i.holdOne;
    m_i.fresh = 0;
    m_i.holdOne = false;
    m_i.pollNext = fresh || hold;
    if (hold)
        return 0;
    const uint8_t ie = m_s.Sfr(kIE);
    if (!(ie & kIeEA))
        return 0;
    const uint8_t requests = Requests() & ie & Sources() & ~fresh;
    const uint8_t high = requests & m_s.Sfr(kIP);
    if (high && !(m_i.inProgress & kHigh))
        return Take(high, kHigh);
    const uint8_t low = requests & ~high;
    if (low && !m_i.inProgress)
        return Take(low, kLow);
    return 0;
}

bool CInterrupts51::AnyEnabled() const
{
    const uint8_t ie = m_s.Sfr(kIE);
    return (ie & kIeEA) && (ie & Sources());
}

uint8_t CInterrupts51::Requests() const
{
    const uint8_t tcon = m_s.Sfr(kTCON);
    uint8_t requests = 0;
    if (tcon & kTconIE0)
        requests |= kIrqExternal0;
    if (tcon & kTconTF0)
        requests |= kIrqTimer0;
    if (tcon & kTconIE1)
        requests |= kIrqExternal1;
    if (tcon & kTconTF1)
        requests |= kIrqTimer1;
    if (m_s.Sfr(kSCON) & (kSconRI | kSconTI))
        requests |= kIrqSerial;
    if (m_variant == Mcs51Variant::k8052 && (m_s.Sfr(kT2CON) & (kT2conTF2 | kT2conEXF2)))
        requests |= kIrqTimer2;
    return requests;
}

uint16_t CInterrupts51::Take(uint8_t sources, uint8_t level)
{
    // Within a level the sources are polled in the order of their bits in IE.
    const unsigned index = static_cast<unsigned>(std::countr_zero(sources));
    m_i.inProgress |= level;
    const uint8_t tcon = m_s.Sfr(kTCON);
    uint8_t cleared = tcon;
    switch (1u << index) {
    case kIrqExternal0:
        // An edge-triggered request is cleared as it is vectored; a level one stays with the pin.
        if (tcon & kTconIT0)
            cleared &= ~kTconIE0;
        break;
    case kIrqTimer0:
        cleared &= ~kTconTF0;
        break;
    case kIrqExternal1:
        if (tcon & kTconIT1)
            cleared &= ~kTconIE1;
        break;
    case kIrqTimer1:
        cleared &= ~kTconTF1;
        break;
    default:
        break;
    }
    if (cleared != tcon)
        m_s.SetSfr(kTCON, cleared);
    return static_cast<uint16_t>(3 + 8 * index);
}

}  // namespace mcs51
