// The 8259: fixed priorities, IRQ 0 highest, vectors 08h to 0Fh.
#include "dos/InterruptController.h"

#include "dos/DeviceText.h"

namespace dos {

void CInterruptController::Reset()
{
    m_nRequests = 0;
    m_nInService = 0;
    // The keyboard and the timer open; nothing else of ours interrupts.
    m_nMask = 0xFC;
    m_bReadInService = false;
    m_nInitWords = 0;
}

int CInterruptController::Highest(uint8_t bits)
{
    for (int irq = 0; irq < 8; ++irq)
        if (bits & (1u << irq))
            return irq;
    return 8;
}

bool CInterruptController::Pending() const
{
    int request = Highest(static_cast<uint8_t>(m_nRequests & ~m_nMask));
    return request < 8 && request < Highest(m_nInService);
}

uint8_t CInterruptController::Acknowledge()
{
    int irq = Highest(static_cast<uint8_t>(m_nRequests & ~m_nMask));
    if (irq == 8)
        return 0x0F;
    m_nRequests = static_cast<uint8_t>(m_nRequests & ~(1u << irq));
    m_nInService = static_cast<uint8_t>(m_nInService | (1u << irq));
    return static_cast<uint8_t>(8 + irq);
}

void CInterruptController::EndOfInterrupt()
{
    int irq = Highest(m_nInService);
    if (irq < 8)
        EndOfInterrupt(static_cast<uint8_t>(irq));
}

uint8_t CInterruptController::In(uint16_t port)
{
    if (port == 0x21)
        return m_nMask;
    return m_bReadInService ? m_nInService : m_nRequests;
}

void CInterruptController::Out(uint16_t port, uint8_t value)
{
    if (port == 0x21) {
        // The words of a set-up come before the mask (the vectors stay 08h-0Fh).
        if (m_nInitWords)
            --m_nInitWords;
        else
            m_nMask = value;
        return;
    }
    if (value & 0x10) {
        // ICW1: a new set-up; the mask and the state start over. ICW2 follows, ICW3 unless
        // single (bit 1), ICW4 where bit 0 asks for it.
        m_nInService = 0;
        m_nMask = 0;
        m_nInitWords = static_cast<uint8_t>(1 + !(value & 0x02) + (value & 0x01));
    } else if ((value & 0x18) == 0x08) {
        // OCW3: which register port 20h reads.
        if (value & 2)
            m_bReadInService = (value & 1) != 0;
    } else if ((value & 0xE0) == 0x20) {
        EndOfInterrupt();
    } else if ((value & 0xE0) == 0x60) {
        EndOfInterrupt(static_cast<uint8_t>(value & 7));
    }
}

machine::DeviceView CInterruptController::View() const
{
    return {DeviceText::Line("8259 IRR=" + DeviceText::Hex(m_nRequests, 2) + " ISR=" + DeviceText::Hex(m_nInService, 2) +
                             " IMR=" + DeviceText::Hex(m_nMask, 2)),
            {}};
}

}  // namespace dos
