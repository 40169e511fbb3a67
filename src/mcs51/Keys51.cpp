// The keys' drive of their pins and their picture.
#include "mcs51/Keys51.h"

#include "mcs51/BoardColours51.h"

namespace mcs51 {

void CKeys51::Apply()
{
    std::array<uint8_t, 4> drive{0xFF, 0xFF, 0xFF, 0xFF};
    for (size_t key = 0; key < m_pins.size(); ++key)
        if (Closed(static_cast<unsigned>(key)))
            drive[m_pins[key].port & 3] &= static_cast<uint8_t>(~m_pins[key].Mask());
    for (unsigned port = 0; port < 4; ++port)
        Link().Drive(port, drive[port]);
}

machine::Rect CKeys51::KeyRect(const machine::Rect& place, unsigned key) const
{
    const int pitch = (place.right - place.left) / static_cast<int>(m_pins.size());
    const int left = place.left + static_cast<int>(key) * pitch;
    return {left + 2, place.top, left + pitch - 2, place.bottom};
}

void CKeys51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t) const
{
    for (unsigned key = 0; key < m_pins.size(); ++key) {
        const machine::Rect rect = KeyRect(place, key);
        canvas.Fill(rect, Closed(key) ? BoardColours51::kKeyDown : BoardColours51::kKey);
        canvas.Text(rect.left + 2, rect.top + 1, KeyName(key), 1, BoardColours51::kKeyText);
        canvas.Text(rect.left + 2, rect.bottom - 8, std::string("[") + KeyChar(key) + "]", 1, BoardColours51::kKeyText);
    }
}

}  // namespace mcs51
