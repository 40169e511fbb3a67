// A passive buzzer on a pin: it sounds while the program toggles the pin, at the frequency of
// the pin's rising edges over the last 100 ms; a steady level is silence.
#pragma once

#include "mcs51/BoardPart51.h"

#include <array>

namespace mcs51 {

class CBuzzer51 final : public CBoardPart51 {
public:
    explicit CBuzzer51(Pin51 pin) : m_pin(pin) {}

    std::string_view Name() const override { return "buzzer"; }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;
    // "蜂鸣器: 962 Hz", or "蜂鸣器: 关" when it is silent.
    std::string Text(uint64_t now) const override;
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;
    // The frequency heard, rounded to hertz; 0 for silence.
    unsigned Hertz(uint64_t now) const;

private:
    void Follow(uint64_t cycle) override;

    // Enough rising edges for 100 ms of 20 kHz, beyond what a buzzer plays.
    static constexpr size_t kEdges = 2048;

    Pin51 m_pin;
    bool m_bHigh = true;
    std::array<uint64_t, kEdges> m_edges{};
    size_t m_nEdges = 0;
};

}  // namespace mcs51
