// The DAC0832 wired single-buffered (its DAC register transparent): a byte written reaches the
// output at once, 5 V x D / 256 with the box's 5 V reference.
#pragma once

#include <cstdint>

namespace labbox {

class CDac0832 {
public:
    static constexpr double kReference = 5.0;

    void Reset() { m_nValue = 0; }
    void Write(uint8_t value) { m_nValue = value; }
    uint8_t Value() const { return m_nValue; }
    double Volts() const { return VoltsOf(m_nValue); }
    static double VoltsOf(uint8_t value) { return kReference * value / 256.0; }

private:
    uint8_t m_nValue = 0;
};

}  // namespace labbox
