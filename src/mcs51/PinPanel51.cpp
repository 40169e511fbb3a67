// The plain board's latches, LEDs and pin keys.
#include "mcs51/PinPanel51.h"

#include "mcs51/BoardColours51.h"

#include <cstdio>

namespace mcs51 {

void CPinPanel51::Follow(uint64_t)
{
    for (unsigned port = 0; port < 4; ++port) {
        m_latches[port] = Link().Latch(port);
        Link().Drive(port, m_drive[port]);
    }
}

void CPinPanel51::OnLatch(unsigned port, uint8_t latch, uint64_t)
{
    m_latches[port & 3] = latch;
}

void CPinPanel51::Hold(unsigned key, bool down)
{
    if (key >= 32)
        return;
    const unsigned port = key / 8;
    const auto mask = static_cast<uint8_t>(1u << (key % 8));
    m_drive[port] = down ? static_cast<uint8_t>(m_drive[port] & ~mask) : static_cast<uint8_t>(m_drive[port] | mask);
    Link().Drive(port, m_drive[port]);
}

std::string CPinPanel51::Text(uint64_t) const
{
    char text[32];
    std::snprintf(text, sizeof text, "P0=%02X P1=%02X P2=%02X P3=%02X\r\n", m_latches[0], m_latches[1], m_latches[2], m_latches[3]);
    return text;
}

std::string CPinPanel51::KeyName(unsigned key) const
{
    return "P" + std::to_string(key / 8) + "." + std::to_string(key % 8);
}

machine::Rect CPinPanel51::KeyRect(const machine::Rect& place, unsigned key) const
{
    const int width = (place.right - place.left) / 8;
    const int height = (place.bottom - place.top) / 4;
    // Bit 7 on the left, as the port's byte is written.
    const int left = place.left + static_cast<int>(7 - key % 8) * width;
    const int top = place.top + static_cast<int>(key / 8) * height;
    return {left, top, left + width, top + height};
}

void CPinPanel51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t) const
{
    for (unsigned key = 0; key < 32; ++key) {
        const machine::Rect rect = KeyRect(place, key);
        const unsigned port = key / 8;
        const auto mask = static_cast<uint8_t>(1u << (key % 8));
        const bool lit = !(m_latches[port] & mask);
        const bool held = !(m_drive[port] & mask);
        const int size = rect.bottom - rect.top - 12;
        canvas.Disc(rect.left + (rect.right - rect.left - size) / 2, rect.top + 1, size, lit ? BoardColours51::kLedLit : BoardColours51::kLedDark,
                    held ? BoardColours51::kLabel : BoardColours51::kRim);
        canvas.Text(rect.left + 2, rect.bottom - 9, KeyName(key), 1, BoardColours51::kLabel);
    }
}

}  // namespace mcs51
