// The VGA's colours: the attribute controller (3C0h/3C1h, an index/data flip-flop that a read
// of the status port resets) whose sixteen palette registers pick DAC entries, and the DAC
// (3C6h pel mask, 3C7h/3C8h read and write indexes, 3C9h red, green, blue in turn) whose 256
// entries of 6-bit red, green and blue make the colours the monitor shows.
#pragma once

#include <array>
#include <cstdint>

namespace dos {

class CVgaPalette {
public:
    static constexpr uint8_t kModeControl = 0x10;
    static constexpr uint8_t kOverscan = 0x11;
    static constexpr uint8_t kPlaneEnable = 0x12;
    static constexpr uint8_t kPanning = 0x13;
    static constexpr uint8_t kColourSelect = 0x14;
    static constexpr int kAttributeCount = 0x15;

    uint8_t In(uint16_t port);
    void Out(uint16_t port, uint8_t value);
    // The status port was read: the next write to 3C0h is an index.
    void ResetFlipFlop() { m_bData = false; }

    uint8_t Attribute(uint8_t index) const { return m_attributes[index % kAttributeCount]; }
    void SetAttribute(uint8_t index, uint8_t value) { m_attributes[index % kAttributeCount] = value; }
    // An entry of the DAC as 6-bit red, green and blue.
    std::array<uint8_t, 3> Dac(uint8_t entry) const { return m_dac[entry]; }
    void SetDac(uint8_t entry, uint8_t red, uint8_t green, uint8_t blue) { m_dac[entry] = {red, green, blue}; }
    uint8_t PelMask() const { return m_nPelMask; }
    void SetPelMask(uint8_t mask) { m_nPelMask = mask; }

    // The DAC entry a 16-colour pixel value shows through the attribute controller.
    uint8_t DacIndex(uint8_t value) const;
    // The colour (0x00RRGGBB) a DAC entry shows, after the pel mask.
    uint32_t Colour(uint8_t entry) const;

private:
    std::array<std::array<uint8_t, 3>, 256> m_dac{};
    std::array<uint8_t, kAttributeCount> m_attributes{};
    uint8_t m_nAttributeIndex = 0;
    bool m_bData = false;
    uint8_t m_nPelMask = 0xFF;
    uint8_t m_nReadIndex = 0;
    uint8_t m_nWriteIndex = 0;
    // Which of red, green, blue the next access to 3C9h takes.
    uint8_t m_nStep = 0;
    // 3C7h's read: 0 after a write index was set, 3 after a read index.
    bool m_bReading = false;
};

}  // namespace dos
