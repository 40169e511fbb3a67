// The ADC0809: eight analog inputs, a conversion of the chosen one started by a write (ALE and
// START together, the address lines choosing the input), its result in the output latch 100 us
// later (the box's 640 kHz clock), 0-255 over 0-5 V, read with OE.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace labbox {

class CAdc0809 {
public:
    static constexpr int kInputs = 8;
    static constexpr uint64_t kConversionNs = 100000;

    void Reset();
    void SetInput(unsigned input, double volts);
    double Input(unsigned input) const { return m_inputs[input & 7]; }
    // A conversion of the input starts at machine time now (ns).
    void Start(unsigned input, uint64_t now);
    // The output latch at now: the last conversion finished by then.
    uint8_t Read(uint64_t now);
    // EOC: high while no conversion is under way.
    bool EndOfConversion(uint64_t now) const { return !m_bConverting || now >= m_nDoneAt; }
    // When the conversion under way ends, if one is.
    std::optional<uint64_t> EndsAt() const { return m_bConverting ? std::optional<uint64_t>(m_nDoneAt) : std::nullopt; }
    // The code a voltage converts to: 1 LSB is 5 V / 256, rounded to the nearest.
    static uint8_t CodeOf(double volts);

private:
    std::array<double, kInputs> m_inputs{};
    uint8_t m_nLatch = 0;
    bool m_bConverting = false;
    uint8_t m_nConverting = 0;
    uint64_t m_nDoneAt = 0;
};

}  // namespace labbox
