// The graphics controller's data path between the CPU and the four planes.
#include "dos/VgaMemory.h"

namespace dos {

namespace {

uint8_t Spread(uint8_t bits, int plane) { return (bits >> plane & 1) ? 0xFF : 0x00; }

uint8_t RotateRight(uint8_t value, int count)
{
    count &= 7;
    return static_cast<uint8_t>(value >> count | value << ((8 - count) & 7));
}

}

void CVgaMemory::Clear()
{
    for (auto& plane : m_planes)
        plane.fill(0);
    m_latches.fill(0);
}

void CVgaMemory::LoadLatches(uint32_t address)
{
    for (int plane = 0; plane < 4; ++plane)
        m_latches[plane] = m_planes[plane][address % kPlaneSize];
}

uint8_t CVgaMemory::Read(uint32_t offset)
{
    if (Chained()) {
        LoadLatches(offset >> 2);
        return m_latches[offset & 3];
    }
    LoadLatches(offset);
    if ((m_graphics[kMode] & 0x08) == 0)
        return m_latches[m_graphics[kReadMap] & 3];
    // Read mode 1: a bit is set where every plane that counts matches the compare colour.
    uint8_t differs = 0;
    for (int plane = 0; plane < 4; ++plane)
        differs |= (m_latches[plane] ^ Spread(m_graphics[kColourCompare], plane)) & Spread(m_graphics[kColourDontCare], plane);
    return static_cast<uint8_t>(~differs);
}

uint8_t CVgaMemory::Combine(int plane, uint8_t value) const
{
    const uint8_t latch = m_latches[plane];
    const uint8_t rotated = RotateRight(value, m_graphics[kDataRotate]);
    uint8_t mask = m_graphics[kBitMask];
    uint8_t data;
    switch (m_graphics[kMode] & 3) {
    case 0:
        data = (m_graphics[kEnableSetReset] >> plane & 1) ? Spread(m_graphics[kSetReset], plane) : rotated;
        break;
    case 1:
        return latch;
    case 2:
        data = Spread(value, plane);
        break;
    default:
        mask &= rotated;
        data = Spread(m_graphics[kSetReset], plane);
        break;
    }
    switch (m_graphics[kDataRotate] >> 3 & 3) {
    case 1: data &= latch; break;
    case 2: data |= latch; break;
    case 3: data ^= latch; break;
    default: break;
    }
    return static_cast<uint8_t>((data & mask) | (latch & ~mask));
}

void CVgaMemory::Write(uint32_t offset, uint8_t value)
{
    const uint8_t mapMask = m_sequencer[kMapMask];
    if (Chained()) {
        const int plane = offset & 3;
        if (mapMask >> plane & 1)
            m_planes[plane][(offset >> 2) % kPlaneSize] = Combine(plane, value);
        return;
    }
    offset %= kPlaneSize;
    for (int plane = 0; plane < 4; ++plane)
        if (mapMask >> plane & 1)
            m_planes[plane][offset] = Combine(plane, value);
}

}  // namespace dos
