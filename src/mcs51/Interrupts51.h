// The five (six on the 8052) interrupt sources, their two priority levels and the polling
// rules: a flag set in an instruction's last cycle waits for the next instruction, RETI and
// writes to IE or IP let one more instruction run, a level in progress holds back its own
// and lower requests until RETI.
#pragma once

#include "mcs51/Mcs51State.h"

#include <cstdint>

namespace mcs51 {

struct Interrupts51State {
    // Bit 0: a low-priority routine runs; bit 1: a high-priority one.
    uint8_t inProgress = 0;
    // Sources whose flag was set in the cycle that just ended: polled from the next boundary.
    uint8_t fresh = 0;
    // The instruction just run was RETI or wrote IE or IP.
    bool holdOne = false;
    // The last poll left a request for the next boundary (fresh or held back).
    bool pollNext = false;
};

class CInterrupts51 {
public:
    explicit CInterrupts51(Mcs51State& state) : m_s(state) {}

    void SetVariant(Mcs51Variant variant) { m_variant = variant; }
    void Reset() { m_i = {}; }
    Interrupts51State& State() { return m_i; }
    const Interrupts51State& State() const { return m_i; }

    void MarkFresh(uint8_t sources) { m_i.fresh |= sources; }
    void HoldOne() { m_i.holdOne = true; }
    void Reti();
    // Whether the next boundary must poll even without another event.
    bool NeedsPoll() const { return m_i.fresh || m_i.holdOne || m_i.pollNext; }
    // Polls at an instruction boundary: the vector to call, or 0 for none. Clears the flags
    // the hardware clears when it vectors.
    uint16_t Poll();
    // Whether some interrupt is enabled at all (EA and a source).
    bool AnyEnabled() const;
    // The sources whose flag is set.
    uint8_t Requests() const;

private:
    uint8_t Sources() const { return m_variant == Mcs51Variant::k8052 ? kIrqAll8052 : kIrqAll8051; }
    uint16_t Take(uint8_t source, uint8_t level);

    Mcs51State& m_s;
    Mcs51Variant m_variant = Mcs51Variant::k8051;
    Interrupts51State m_i;
};

}  // namespace mcs51
