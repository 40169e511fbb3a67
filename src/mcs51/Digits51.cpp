// The digits' multiplexing, their lit time and the characters their patterns make.
#include "mcs51/Digits51.h"

#include "mcs51/BoardColours51.h"

#include <cstdio>

namespace mcs51 {

namespace {
// The labels in code page 936.
const char kDigitsLabel[] = "\xCA\xFD\xC2\xEB\xB9\xDC: ";
const char kSegmentsLabel[] = "\xCA\xFD\xC2\xEB\xB9\xDC\xB6\xCE: ";

struct Pattern {
    uint8_t segments;
    char character;
};
// The characters a seven-segment digit shows (several spellings of 6, 7 and 9 among them).
const Pattern kPatterns[] = {
    {0x00, ' '}, {0x3F, '0'}, {0x06, '1'}, {0x5B, '2'}, {0x4F, '3'}, {0x66, '4'}, {0x6D, '5'}, {0x7D, '6'},
    {0x7C, 'b'}, {0x07, '7'}, {0x27, '7'}, {0x7F, '8'}, {0x6F, '9'}, {0x67, '9'}, {0x77, 'A'}, {0x39, 'C'},
    {0x5E, 'd'}, {0x79, 'E'}, {0x71, 'F'}, {0x76, 'H'}, {0x38, 'L'}, {0x73, 'P'}, {0x3E, 'U'}, {0x40, '-'},
    {0x08, '_'}, {0x5C, 'o'}, {0x54, 'n'}, {0x50, 'r'}, {0x1C, 'u'}, {0x3D, 'G'}, {0x1E, 'J'}, {0x78, 't'},
};

char CharacterOf(uint8_t segments)
{
    for (const Pattern& pattern : kPatterns)
        if (pattern.segments == (segments & 0x7F))
            return pattern.character;
    return '?';
}
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
    const CLitTime51::Share share = m_lit.Over(now);
    std::array<uint8_t, 8> seen{};
    for (unsigned lamp = 0; lamp < 64; ++lamp)
        if (share.lit[lamp] && share.AtLeast(lamp, 1, 50))
            seen[lamp / 8] |= static_cast<uint8_t>(1u << (lamp % 8));
    return seen;
}

std::string CDigits51::Text(uint64_t now) const
{
    const std::array<uint8_t, 8> seen = Seen(now);
    std::string digits = kDigitsLabel;
    std::string segments = kSegmentsLabel;
    for (size_t digit = 0; digit < seen.size(); ++digit) {
        digits += CharacterOf(seen[digit]);
        if (seen[digit] & 0x80)
            digits += '.';
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", seen[digit]);
        segments += (digit ? " " : "") + std::string(hex);
    }
    return digits + "\r\n" + segments + "\r\n";
}

void CDigits51::Draw(CCanvas51& canvas, const Rect51& place, uint64_t now) const
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
