// The 8259 interrupt controller as DOS programs use it: requests, the mask at port 21h, the
// end-of-interrupt commands at port 20h, and the vector of the request the CPU takes.
#pragma once

#include "dos/BusDevice.h"

#include <cstdint>

namespace dos {

class CInterruptController final : public CBusDevice {
public:
    void Reset();
    void Raise(uint8_t irq) { m_nRequests = static_cast<uint8_t>(m_nRequests | (1u << irq)); }
    bool IsRequested(uint8_t irq) const { return (m_nRequests >> irq) & 1; }
    bool IsInService(uint8_t irq) const { return (m_nInService >> irq) & 1; }
    // A request that is not masked and outranks every interrupt in service.
    bool Pending() const;
    // The CPU takes the highest request: it goes in service; its vector.
    uint8_t Acknowledge();
    void EndOfInterrupt();
    void EndOfInterrupt(uint8_t irq) { m_nInService = static_cast<uint8_t>(m_nInService & ~(1u << irq)); }

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    std::string_view Name() const override { return "pic"; }
    machine::DeviceView View() const override;

private:
    static int Highest(uint8_t bits);

    uint8_t m_nRequests = 0;
    uint8_t m_nInService = 0;
    uint8_t m_nMask = 0;
    bool m_bReadInService = false;
    // After ICW1, the initialisation words still to come at port 21h (ICW2, ICW3, ICW4).
    uint8_t m_nInitWords = 0;
};

}  // namespace dos
