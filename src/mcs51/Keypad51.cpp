// The keypad's lines as the held keys join them, and its picture.
#include "mcs51/Keypad51.h"

#include "mcs51/BoardColours51.h"

namespace mcs51 {

void CKeypad51::OnLatch(unsigned port, uint8_t, uint64_t)
{
    if (port == m_nPort)
        Apply();
}

void CKeypad51::Apply()
{
    // With no key closed the lines are the program's alone.
    bool closed = false;
    for (unsigned key = 0; key < 16 && !closed; ++key)
        closed = Closed(key);
    if (!closed) {
        Link().Drive(m_nPort, 0xFF);
        return;
    }
    // A low line pulls low every line a held key joins it to, until nothing changes.
    uint8_t low = static_cast<uint8_t>(~Link().Latch(m_nPort));
    for (bool changed = true; changed;) {
        changed = false;
        for (unsigned key = 0; key < 16; ++key) {
            if (!Closed(key))
                continue;
            const auto pair = static_cast<uint8_t>(1u << m_rows[key / 4] | 1u << m_columns[key % 4]);
            if ((low & pair) && (low & pair) != pair) {
                low |= pair;
                changed = true;
            }
        }
    }
    Link().Drive(m_nPort, static_cast<uint8_t>(~low));
}

machine::Rect CKeypad51::KeyRect(const machine::Rect& place, unsigned key) const
{
    const int width = (place.right - place.left) / 4;
    const int height = (place.bottom - place.top) / 4;
    const int left = place.left + static_cast<int>(key % 4) * width;
    const int top = place.top + static_cast<int>(key / 4) * height;
    return {left + 2, top + 2, left + width - 2, top + height - 2};
}

void CKeypad51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t) const
{
    for (unsigned key = 0; key < 16; ++key) {
        const machine::Rect rect = KeyRect(place, key);
        canvas.Fill(rect, Closed(key) ? BoardColours51::kKeyDown : BoardColours51::kKey);
        canvas.Text(rect.left + 2, rect.top + 1, KeyName(key), 1, BoardColours51::kKeyText);
        canvas.Text(rect.left + 2, rect.bottom - 8, std::string("[") + KeyChar(key) + "]", 1, BoardColours51::kKeyText);
    }
}

}  // namespace mcs51
