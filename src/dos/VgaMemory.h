// The VGA's display memory as the CPU reaches it at A0000h: four planes of 64 KB, the latches,
// the sequencer's map mask and memory mode, and the graphics controller's write modes 0-3,
// read modes 0-1, set/reset, colour compare, rotate, logical function and bit mask.
#pragma once

#include <array>
#include <cstdint>

namespace dos {

class CVgaMemory {
public:
    static constexpr uint32_t kPlaneSize = 0x10000;

    enum Sequencer : uint8_t { kMapMask = 2, kMemoryMode = 4 };
    enum Graphics : uint8_t {
        kSetReset,
        kEnableSetReset,
        kColourCompare,
        kDataRotate,
        kReadMap,
        kMode,
        kMisc,
        kColourDontCare,
        kBitMask,
    };

    // Every plane and latch to zero.
    void Clear();

    // A byte the CPU reads or writes at `offset` into the adapter's window.
    uint8_t Read(uint32_t offset);
    void Write(uint32_t offset, uint8_t value);

    uint8_t SequencerRegister(uint8_t index) const { return m_sequencer[index % m_sequencer.size()]; }
    void SetSequencerRegister(uint8_t index, uint8_t value) { m_sequencer[index % m_sequencer.size()] = value; }
    uint8_t GraphicsRegister(uint8_t index) const { return m_graphics[index % m_graphics.size()]; }
    void SetGraphicsRegister(uint8_t index, uint8_t value) { m_graphics[index % m_graphics.size()] = value; }

    // Chain 4: the window's bytes lie across the planes one after another (mode 13h).
    bool Chained() const { return (m_sequencer[kMemoryMode] & 0x08) != 0; }
    uint8_t Plane(int plane, uint32_t address) const { return m_planes[plane & 3][address % kPlaneSize]; }
    void SetPlane(int plane, uint32_t address, uint8_t value) { m_planes[plane & 3][address % kPlaneSize] = value; }
    uint8_t Latch(int plane) const { return m_latches[plane & 3]; }

private:
    // What the graphics controller makes of a CPU byte for each plane, before the map mask.
    uint8_t Combine(int plane, uint8_t value) const;
    void LoadLatches(uint32_t address);

    std::array<std::array<uint8_t, kPlaneSize>, 4> m_planes{};
    std::array<uint8_t, 4> m_latches{};
    std::array<uint8_t, 8> m_sequencer{};
    std::array<uint8_t, 16> m_graphics{};
};

}  // namespace dos
