// The four port latches as a device of their own, for the front ends that show the ports: the
// text "P0=FF P1=FF P2=FF P3=FF" and a picture of 32 LEDs, a row a port, bit 7 on the left,
// lit for a 1. It only listens; it drives no pin.
#pragma once

#include "mcs51/PinDevice51.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace mcs51 {

class CPortsDevice51 final : public IPinDevice51 {
public:
    // Each LED has a square of this many pixels; the picture is 8 of them wide and 4 high.
    static constexpr int kLedPitch = 12;
    static constexpr uint32_t kLit = 0xEB1E1E;
    static constexpr uint32_t kDark = 0x5A1414;
    static constexpr uint32_t kRim = 0x000000;
    static constexpr uint32_t kBoard = 0xFFFFFF;

    CPortsDevice51();

    std::string_view Name() const override { return "ports"; }
    machine::DeviceView View() const override;
    // A latch as the program last left it; safe from any thread while the machine runs.
    uint8_t Latch(unsigned port) const { return m_abyLatches[port & 3].load(std::memory_order_relaxed); }

    void OnAttach(const CPinLink51& link) override;
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;

private:
    std::array<std::atomic<uint8_t>, 4> m_abyLatches;
};

}  // namespace mcs51
