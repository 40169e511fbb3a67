// The buzzer's edges and the frequency they make.
#include "mcs51/Buzzer51.h"

#include "mcs51/BoardColours51.h"

namespace mcs51 {

namespace {
// 100 ms of a 12 MHz chip.
const uint64_t kHearing = 100000;
const double kCyclesPerSecond = 1e6;
const char kLabel[] = "\xB7\xE4\xC3\xF9\xC6\xF7: ";
const char kOff[] = "\xB9\xD8";
}

void CBuzzer51::Follow(uint64_t)
{
    m_nEdges = 0;
    m_bHigh = m_pin.High(Link().Latch(m_pin.port));
}

void CBuzzer51::OnLatch(unsigned port, uint8_t latch, uint64_t cycle)
{
    if (port != m_pin.port)
        return;
    const bool high = m_pin.High(latch);
    // A step back goes to an earlier time: the edges after it are forgotten.
    while (m_nEdges && m_edges[(m_nEdges - 1) % kEdges] > cycle)
        --m_nEdges;
    if (high && !m_bHigh)
        m_edges[m_nEdges++ % kEdges] = cycle;
    m_bHigh = high;
}

unsigned CBuzzer51::Hertz(uint64_t now) const
{
    const size_t kept = m_nEdges < kEdges ? m_nEdges : kEdges;
    size_t heard = 0;
    while (heard < kept && now - m_edges[(m_nEdges - 1 - heard) % kEdges] < kHearing)
        ++heard;
    if (heard < 2)
        return 0;
    const uint64_t last = m_edges[(m_nEdges - 1) % kEdges];
    const uint64_t first = m_edges[(m_nEdges - heard) % kEdges];
    return static_cast<unsigned>(static_cast<double>(heard - 1) * kCyclesPerSecond / static_cast<double>(last - first) + 0.5);
}

std::string CBuzzer51::Text(uint64_t now) const
{
    const unsigned hertz = Hertz(now);
    return std::string(kLabel) + (hertz ? std::to_string(hertz) + " Hz" : kOff) + "\r\n";
}

void CBuzzer51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const
{
    const unsigned hertz = Hertz(now);
    const int size = place.bottom - place.top;
    canvas.Disc(place.left, place.top, size, hertz ? BoardColours51::kLedLit : BoardColours51::kDigitFace, BoardColours51::kRim);
    canvas.Text(place.left, place.bottom + 2, hertz ? std::to_string(hertz) + "Hz" : "BUZZ", 1, BoardColours51::kLabel);
}

}  // namespace mcs51
