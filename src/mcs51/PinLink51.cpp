// A pin device's link, handing its calls to the bus it was attached to.
#include "mcs51/PinLink51.h"

#include "mcs51/PinBus51.h"

namespace mcs51 {

uint64_t CPinLink51::Cycle() const { return m_pBus ? m_pBus->Cycle() : 0; }

uint8_t CPinLink51::Latch(unsigned port) const { return m_pBus ? m_pBus->Latch(port) : 0xFF; }

uint8_t CPinLink51::Pins(unsigned port) const { return m_pBus ? m_pBus->Pins(port) : 0xFF; }

void CPinLink51::Drive(unsigned port, uint8_t drive)
{
    if (m_pBus)
        m_pBus->Drive(*m_pDevice, port, drive);
}

void CPinLink51::CallAt(uint64_t cycle)
{
    if (m_pBus)
        m_pBus->CallAt(*m_pDevice, cycle);
}

}  // namespace mcs51
