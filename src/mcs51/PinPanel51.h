// The plain board: the four ports' latches as text, an LED on every pin drawn lit for 0 (as
// an LED from the supply to the pin lights), each labelled, and every pin a key to ground that
// can be held or left down.
#pragma once

#include "mcs51/BoardPart51.h"

#include <array>

namespace mcs51 {

class CPinPanel51 final : public CBoardPart51 {
public:
    std::string_view Name() const override { return "pins"; }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;
    // "P0=FF P1=FE P2=FF P3=FF"
    std::string Text(uint64_t now) const override;
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;
    // Key 8 * port + bit pulls that pin low.
    unsigned Keys() const override { return 32; }
    std::string KeyName(unsigned key) const override;
    machine::Rect KeyRect(const machine::Rect& place, unsigned key) const override;
    void Hold(unsigned key, bool down) override;

private:
    void Follow(uint64_t) override;

    std::array<uint8_t, 4> m_latches{0xFF, 0xFF, 0xFF, 0xFF};
    std::array<uint8_t, 4> m_drive{0xFF, 0xFF, 0xFF, 0xFF};
};

}  // namespace mcs51
