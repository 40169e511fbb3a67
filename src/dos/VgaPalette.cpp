// The attribute controller's flip-flop and the DAC's three-step access.
#include "dos/VgaPalette.h"

namespace dos {

uint8_t CVgaPalette::In(uint16_t port)
{
    switch (port) {
    case 0x3C0: return m_nAttributeIndex;
    case 0x3C1: return m_attributes[(m_nAttributeIndex & 0x1F) % kAttributeCount];
    case 0x3C6: return m_nPelMask;
    case 0x3C7: return m_bReading ? 0x03 : 0x00;
    case 0x3C8: return m_nWriteIndex;
    case 0x3C9: {
        const uint8_t value = m_dac[m_nReadIndex][m_nStep];
        if (++m_nStep == 3) {
            m_nStep = 0;
            ++m_nReadIndex;
        }
        return value;
    }
    default: return 0xFF;
    }
}

void CVgaPalette::Out(uint16_t port, uint8_t value)
{
    switch (port) {
    case 0x3C0:
        if (!m_bData)
            m_nAttributeIndex = value & 0x3F;
        else if ((m_nAttributeIndex & 0x1F) < kAttributeCount)
            m_attributes[m_nAttributeIndex & 0x1F] = value;
        m_bData = !m_bData;
        break;
    case 0x3C6:
        m_nPelMask = value;
        break;
    case 0x3C7:
        m_nReadIndex = value;
        m_nStep = 0;
        m_bReading = true;
        break;
    case 0x3C8:
        m_nWriteIndex = value;
        m_nStep = 0;
        m_bReading = false;
        break;
    case 0x3C9:
        m_dac[m_nWriteIndex][m_nStep] = value & 0x3F;
        if (++m_nStep == 3) {
            m_nStep = 0;
            ++m_nWriteIndex;
        }
        break;
    default:
        break;
    }
}

// Bits 5-4 come from the colour select register when the mode control says so, bits 7-6 always.
uint8_t CVgaPalette::DacIndex(uint8_t value) const
{
    const uint8_t palette = m_attributes[value & m_attributes[kPlaneEnable] & 0x0F];
    const uint8_t select = m_attributes[kColourSelect];
    const uint8_t low = (m_attributes[kModeControl] & 0x80) ? static_cast<uint8_t>((palette & 0x0F) | (select & 0x03) << 4)
                                                             : static_cast<uint8_t>(palette & 0x3F);
    return static_cast<uint8_t>(low | (select & 0x0C) << 4);
}

uint32_t CVgaPalette::Colour(uint8_t entry) const
{
    const auto& rgb = m_dac[entry & m_nPelMask];
    auto eight = [](uint8_t six) { return static_cast<uint32_t>(six << 2 | six >> 4); };
    return eight(rgb[0]) << 16 | eight(rgb[1]) << 8 | eight(rgb[2]);
}

}  // namespace dos
