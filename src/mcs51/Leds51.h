// Eight LEDs on a port, D1 on bit 0, each lit while its pin's latch is 0 (an LED from the
// supply through a resistor to the pin), as a person sees them over the last 20 ms.
#pragma once

#include "machine/LitTime.h"
#include "mcs51/BoardPart51.h"

namespace mcs51 {

class CLeds51 final : public CBoardPart51 {
public:
    explicit CLeds51(unsigned port) : m_nPort(port) {}

    std::string_view Name() const override { return "leds"; }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;
    // "LED: 10~00000": 1 lit for at least two thirds of the time, 0 for at most a third, ~ between.
    std::string Text(uint64_t now) const override;
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;

private:
    void Follow(uint64_t cycle) override;
    // '1', '0' or '~' of each LED, D1 first.
    std::string States(uint64_t now) const;

    unsigned m_nPort;
    machine::CLitTime m_lit;
};

}  // namespace mcs51
