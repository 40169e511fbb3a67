// The VGA's display memory as the CPU reaches it at A0000h: four planes of 64 KB, the latches,
// the sequencer's map mask and memory mode, and the graphics controller's write modes 0-3,
// read modes 0-1, set/reset, colour compare, rotate, logical function and bit mask. Journaled
// into a machine's memory, it tells the step-back history the old value of each plane byte it
// changes.
#pragma once

#include <array>
#include <cstdint>

namespace dos {

class CMemory;

class CVgaMemory {
public:
    static constexpr uint32_t kPlaneSize = 0x10000;
    static constexpr uint32_t kPlanesSize = 4 * kPlaneSize;

    // What the registers hold, as one block of bytes the history can keep.
    struct Registers {
        std::array<uint8_t, 4> latches{};
        std::array<uint8_t, 8> sequencer{};
        std::array<uint8_t, 16> graphics{};
    };

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

    // The planes' bytes go to the history of `memory` (while one is attached) as its state
    // bytes from `base` on, plane by plane.
    void JournalInto(CMemory& memory, uint32_t base)
    {
        m_pJournal = &memory;
        m_nJournalBase = base;
    }

    // Every plane and latch to zero.
    void Clear();

    // A byte the CPU reads or writes at `offset` into the adapter's window.
    uint8_t Read(uint32_t offset);
    void Write(uint32_t offset, uint8_t value);
    // What Read would give, the latches left as they are (a debugger's look).
    uint8_t Peek(uint32_t offset) const;

    uint8_t SequencerRegister(uint8_t index) const { return m_regs.sequencer[index % m_regs.sequencer.size()]; }
    void SetSequencerRegister(uint8_t index, uint8_t value) { m_regs.sequencer[index % m_regs.sequencer.size()] = value; }
    uint8_t GraphicsRegister(uint8_t index) const { return m_regs.graphics[index % m_regs.graphics.size()]; }
    void SetGraphicsRegister(uint8_t index, uint8_t value) { m_regs.graphics[index % m_regs.graphics.size()] = value; }

    // Chain 4: the window's bytes lie across the planes one after another (mode 13h).
    bool Chained() const { return (m_regs.sequencer[kMemoryMode] & 0x08) != 0; }
    uint8_t Plane(int plane, uint32_t address) const { return m_planes[plane & 3][address % kPlaneSize]; }
    void SetPlane(int plane, uint32_t address, uint8_t value) { Store(plane & 3, address % kPlaneSize, value); }
    // A plane byte as the history puts it back: not journaled again.
    void RestorePlane(int plane, uint32_t address, uint8_t value) { m_planes[plane & 3][address % kPlaneSize] = value; }
    uint8_t Latch(int plane) const { return m_regs.latches[plane & 3]; }
    Registers& RegisterBlock() { return m_regs; }
    const Registers& RegisterBlock() const { return m_regs; }

private:
    // What the graphics controller makes of a CPU byte for each plane, before the map mask.
    uint8_t Combine(int plane, uint8_t value) const;
    // What a read at `offset` loads into the latches, and what it then gives the CPU.
    std::array<uint8_t, 4> LatchesFor(uint32_t offset) const;
    uint8_t Answer(uint32_t offset, const std::array<uint8_t, 4>& latches) const;
    void Store(int plane, uint32_t address, uint8_t value);

    std::array<std::array<uint8_t, kPlaneSize>, 4> m_planes{};
    Registers m_regs;
    CMemory* m_pJournal = nullptr;
    uint32_t m_nJournalBase = 0;
};

}  // namespace dos
