// The graphics controller's data path between the CPU and the four planes.
#include "dos/VgaMemory.h"

#include "dos/Memory.h"

namespace dos {

namespace {

uint8_t Spread(uint8_t bits, int plane) { return (bits >> plane & 1) ? 0xFF : 0x00; }

uint8_t RotateRight(uint8_t value, int count)
{
    count &= 7;
    return static_cast<uint8_t>(value >> count | value << ((8 - count) & 7));
}

}

void CVgaMemory::Store(int plane, uint32_t address, uint8_t value)
{
    uint8_t& byte = m_planes[plane][address];
    if (m_pJournal != nullptr && byte != value)
        m_pJournal->RecordState(m_nJournalBase + plane * kPlaneSize + address, byte);
    byte = value;
}

// With a history attached, each byte that was set goes to it; else the planes are just emptied.
void CVgaMemory::Clear()
{
    if (m_pJournal != nullptr && m_pJournal->Journaled()) {
        for (int plane = 0; plane < 4; ++plane)
            for (uint32_t address = 0; address < kPlaneSize; ++address)
                Store(plane, address, 0);
    } else {
        for (auto& plane : m_planes)
            plane.fill(0);
    }
    m_regs.latches.fill(0);
}

std::array<uint8_t, 4> CVgaMemory::LatchesFor(uint32_t offset) const
{
    const uint32_t address = (Chained() ? offset >> 2 : offset) % kPlaneSize;
    return {m_planes[0][address], m_planes[1][address], m_planes[2][address], m_planes[3][address]};
}

uint8_t CVgaMemory::Answer(uint32_t offset, const std::array<uint8_t, 4>& latches) const
{
    if (Chained())
        return latches[offset & 3];
    if ((m_regs.graphics[kMode] & 0x08) == 0)
        return latches[m_regs.graphics[kReadMap] & 3];
    // Read mode 1: a bit is set where every plane that counts matches the compare colour.
    uint8_t differs = 0;
    for (int plane = 0; plane < 4; ++plane)
        differs |= (latches[plane] ^ Spread(m_regs.graphics[kColourCompare], plane)) & Spread(m_regs.graphics[kColourDontCare], plane);
    return static_cast<uint8_t>(~differs);
}

uint8_t CVgaMemory::Read(uint32_t offset)
{
    m_regs.latches = LatchesFor(offset);
    return Answer(offset, m_regs.latches);
}

uint8_t CVgaMemory::Peek(uint32_t offset) const
{
    return Answer(offset, LatchesFor(offset));
}

uint8_t CVgaMemory::Combine(int plane, uint8_t value) const
{
    const uint8_t latch = m_regs.latches[plane];
    const uint8_t rotated = RotateRight(value, m_regs.graphics[kDataRotate]);
    uint8_t mask = m_regs.graphics[kBitMask];
    uint8_t data;
    switch (m_regs.graphics[kMode] & 3) {
    case 0:
        data = (m_regs.graphics[kEnableSetReset] >> plane & 1) ? Spread(m_regs.graphics[kSetReset], plane) : rotated;
        break;
    case 1:
        return latch;
    case 2:
        data = Spread(value, plane);
        break;
    default:
        mask &= rotated;
        data = Spread(m_regs.graphics[kSetReset], plane);
        break;
    }
    switch (m_regs.graphics[kDataRotate] >> 3 & 3) {
    case 1: data &= latch; break;
    case 2: data |= latch; break;
    case 3: data ^= latch; break;
    default: break;
    }
    return static_cast<uint8_t>((data & mask) | (latch & ~mask));
}

void CVgaMemory::Write(uint32_t offset, uint8_t value)
{
    const uint8_t mapMask = m_regs.sequencer[kMapMask];
    if (Chained()) {
        const int plane = offset & 3;
        if (mapMask >> plane & 1)
            Store(plane, (offset >> 2) % kPlaneSize, Combine(plane, value));
        return;
    }
    offset %= kPlaneSize;
    for (int plane = 0; plane < 4; ++plane)
        if (mapMask >> plane & 1)
            Store(plane, offset, Combine(plane, value));
}

}  // namespace dos
