// The ADC0809's conversions in machine time.
#include "labbox/Adc0809.h"

#include <algorithm>
#include <cmath>

namespace labbox {

void CAdc0809::Reset()
{
    const std::array<double, kInputs> inputs = m_inputs;
    *this = CAdc0809{};
    m_inputs = inputs;
}

void CAdc0809::SetInput(unsigned input, double volts)
{
    m_inputs[input & 7] = std::clamp(volts, 0.0, 5.0);
}

uint8_t CAdc0809::CodeOf(double volts)
{
    return static_cast<uint8_t>(std::clamp(std::lround(volts * 256.0 / 5.0), 0L, 255L));
}

void CAdc0809::Start(unsigned input, uint64_t now)
{
    // The input is sampled as the conversion starts.
    m_nConverting = CodeOf(m_inputs[input & 7]);
    m_bConverting = true;
    m_nDoneAt = now + kConversionNs;
}

uint8_t CAdc0809::Read(uint64_t now)
{
    if (m_bConverting && now >= m_nDoneAt) {
        m_nLatch = m_nConverting;
        m_bConverting = false;
    }
    return m_nLatch;
}

}  // namespace labbox
