// The digits' multiplexing, their lit time and the characters their patterns make.
#include "mcs51/Digits51.h"

#include "machine/SevenSegment.h"
#include "mcs51/BoardColours51.h"

#include <cstdio>

namespace mcs51 {

namespace {
// The labels in code page 936.
const char kDigitsLabel[] = "\xCA\xFD\xC2\xEB\xB9\xDC: ";
const char kSegmentsLabel[] = "\xCA\xFD\xC2\xEB\xB9\xDC\xB6\xCE: ";
}

void CDigits51::Follow(uint64_t cycle)
{
    m_bySegmentLatch = 0;
    m_byDigitLatch = 0xFF;
    m_lit.Reset(cycle, 0);
    Update(cycle);
}

void CDigits51::OnLatch(unsigned port, uint8_t, uint64_t cycle)
{
    if (port == m_wiring.segmentPort || port == m_wiring.select[0].port || port == m_wiring.segmentLatch.port ||
        port == m_wiring.digitLatch.port)
        Update(cycle);
}

uint8_t CDigits51::Chosen() const
{
    if (!m_wiring.decoder)
        return static_cast<uint8_t>(~m_byDigitLatch);
    unsigned code = 0;
    for (const Pin51& pin : m_wiring.select)
        code = code << 1 | (pin.High(Link().Latch(pin.port)) ? 1u : 0u);
    return static_cast<uint8_t>(1u << (7 - code));
}

void CDigits51::Update(uint64_t cycle)
{
    const uint8_t port = Link().Latch(m_wiring.segmentPort);
    uint8_t segments = port;
    if (!m_wiring.decoder) {
        // A latch follows the port while its enable pin is high.
        if (m_wiring.segmentLatch.High(Link().Latch(m_wiring.segmentLatch.port)))
            m_bySegmentLatch = port;
        if (m_wiring.digitLatch.High(Link().Latch(m_wiring.digitLatch.port)))
            m_byDigitLatch = port;
        segments = m_bySegmentLatch;
    }
    const uint8_t chosen = Chosen();
    uint64_t lit = 0;
    for (unsigned digit = 0; digit < 8; ++digit)
        if ((chosen >> digit) & 1)
            lit |= uint64_t{segments} << (8 * digit);
    m_lit.Set(cycle, lit);
}

std::array<uint8_t, 8> CDigits51::Seen(uint64_t now) const
{
    const uint64_t lit = m_lit.Seen(now);
    std::array<uint8_t, 8> seen{};
    for (unsigned digit = 0; digit < 8; ++digit)
        seen[digit] = static_cast<uint8_t>(lit >> (8 * digit));
    return seen;
}

std::string CDigits51::Text(uint64_t now) const
{
    const std::array<uint8_t, 8> seen = Seen(now);
    std::string digits = kDigitsLabel;
    std::string segments = kSegmentsLabel;
    for (size_t digit = 0; digit < seen.size(); ++digit) {
        digits += machine::SevenSegment::CharacterOf(seen[digit]);
        if (seen[digit] & 0x80)
            digits += '.';
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", seen[digit]);
        segments += (digit ? " " : "") + std::string(hex);
    }
    return digits + "\r\n" + segments + "\r\n";
}

void CDigits51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const
{
    const std::array<uint8_t, 8> seen = Seen(now);
    canvas.Fill(place, BoardColours51::kDigitFace);
    const int pitch = (place.right - place.left) / 8;
    for (int digit = 0; digit < 8; ++digit) {
        const int left = place.left + digit * pitch;
        canvas.Digit({left + 2, place.top + 2, left + pitch - 2, place.bottom - 2}, seen[static_cast<size_t>(digit)],
                     BoardColours51::kSegmentLit, BoardColours51::kSegmentDark);
    }
}

}  // namespace mcs51
