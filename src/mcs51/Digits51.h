// Eight common-cathode seven-segment digits, multiplexed: the segments from a port (a = bit
// 0 ... dp = bit 7, lit by 1) and the digit chosen either by a 74HC138 from three pins (111
// the leftmost digit, 000 the rightmost) or by two 74HC573 latches on the segment port (a
// segment latch and a digit latch, each following the port while its enable pin is high and
// holding it from the falling edge; a digit lit while its bit of the digit latch is 0, bit 0
// the leftmost). A segment counts as lit when it was on for at least 2% of the last 20 ms.
#pragma once

#include "machine/LitTime.h"
#include "mcs51/BoardPart51.h"

#include <array>

namespace mcs51 {

class CDigits51 final : public CBoardPart51 {
public:
    struct Wiring {
        unsigned segmentPort = 0;
        // Decoder: the 74HC138's A2, A1, A0 (on one port).
        bool decoder = true;
        std::array<Pin51, 3> select{};
        // Latches: their enable pins.
        Pin51 segmentLatch{};
        Pin51 digitLatch{};
    };

    explicit CDigits51(const Wiring& wiring) : m_wiring(wiring) {}

    std::string_view Name() const override { return "digits"; }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;
    // "数码管: 8710 8710" (left to right; a space for a dark digit, '.' after a lit point, '?' for
    // a pattern that is no character) and "数码管段: 7F 06 ..." (each digit's lit segments).
    std::string Text(uint64_t now) const override;
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;

    // The segments a person sees lit on each digit, leftmost first.
    std::array<uint8_t, 8> Seen(uint64_t now) const;

private:
    void Follow(uint64_t cycle) override;
    void Update(uint64_t cycle);
    // The digits chosen now, bit 0 the leftmost.
    uint8_t Chosen() const;

    Wiring m_wiring;
    machine::CLitTime m_lit;
    // The 74HC573s' outputs.
    uint8_t m_bySegmentLatch = 0;
    uint8_t m_byDigitLatch = 0xFF;
};

}  // namespace mcs51
