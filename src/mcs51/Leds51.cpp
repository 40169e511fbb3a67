// The LEDs' lit time and their picture.
#include "mcs51/Leds51.h"

#include "mcs51/BoardColours51.h"

namespace mcs51 {

namespace {
uint64_t LitOf(uint8_t latch) { return static_cast<uint8_t>(~latch); }
}

void CLeds51::Follow(uint64_t cycle)
{
    m_lit.Reset(cycle, LitOf(Link().Latch(m_nPort)));
}

void CLeds51::OnLatch(unsigned port, uint8_t latch, uint64_t cycle)
{
    if (port == m_nPort)
        m_lit.Set(cycle, LitOf(latch));
}

std::string CLeds51::States(uint64_t now) const
{
    const machine::CLitTime::Share share = m_lit.Over(now);
    std::string states;
    for (unsigned led = 0; led < 8; ++led)
        states += share.AtLeast(led, 2, 3) ? '1' : share.AtMost(led, 1, 3) ? '0' : '~';
    return states;
}

std::string CLeds51::Text(uint64_t now) const
{
    return "LED: " + States(now) + "\r\n";
}

void CLeds51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const
{
    const std::string states = States(now);
    const int pitch = (place.right - place.left) / 8;
    for (int led = 0; led < 8; ++led) {
        const char state = states[static_cast<size_t>(led)];
        const uint32_t colour = state == '1' ? BoardColours51::kLedLit : state == '~' ? BoardColours51::kLedDim : BoardColours51::kLedDark;
        const int left = place.left + led * pitch;
        canvas.Disc(left + 2, place.top, pitch - 4, colour, BoardColours51::kRim);
        canvas.Text(left + pitch / 2 - 6, place.top + pitch, "D" + std::to_string(led + 1), 1, BoardColours51::kLabel);
    }
}

}  // namespace mcs51
