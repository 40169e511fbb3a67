// Pixel drawing for the boards' pictures, clipped to the picture.
#include "machine/Canvas.h"

#include <algorithm>

namespace machine {

void CCanvas::Fill(const Rect& rect, uint32_t colour)
{
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, m_image.width);
    const int top = std::max(rect.top, 0);
    const int bottom = std::min(rect.bottom, m_image.height);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y)
        std::fill_n(&m_image.Pixel(left, y), right - left, colour);
}

void CCanvas::Disc(int left, int top, int diameter, uint32_t colour, uint32_t rim)
{
    // Row by row in half pixels from the centre: the rim's span, the disc's over it.
    const int outer = diameter * diameter;
    const int inner = (diameter - 2) * (diameter - 2);
    for (int y = 0; y < diameter; ++y) {
        const int dy = 2 * y + 1 - diameter;
        const auto span = [&](int radius2) {
            int x = 0;
            while (x < diameter / 2 && (2 * x + 1 - diameter) * (2 * x + 1 - diameter) + dy * dy > radius2)
                ++x;
            return x;
        };
        const int rimFrom = span(outer);
        const int discFrom = span(inner);
        if (dy * dy <= outer && rimFrom < diameter - rimFrom)
            Fill({left + rimFrom, top + y, left + diameter - rimFrom, top + y + 1}, rim);
        if (dy * dy <= inner && discFrom < diameter - discFrom)
            Fill({left + discFrom, top + y, left + diameter - discFrom, top + y + 1}, colour);
    }
}

void CCanvas::Dots(int left, int top, const CLcdFont::Glyph& rows, int scale, uint32_t on, const uint32_t* off)
{
    // Big dots keep a pixel of gap, as the glass shows them.
    const int gap = scale > 2 ? 1 : 0;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 5; ++column) {
            const bool lit = (rows[static_cast<size_t>(row)] >> (4 - column)) & 1;
            if (!lit && !off)
                continue;
            const int x = left + column * scale;
            const int y = top + row * scale;
            Fill({x, y, x + scale - gap, y + scale - gap}, lit ? on : *off);
        }
    }
}

void CCanvas::Text(int left, int top, std::string_view text, int scale, uint32_t colour)
{
    for (const char c : text) {
        Dots(left, top, CLcdFont::Rom(static_cast<uint8_t>(c)), scale, colour, nullptr);
        left += 6 * scale;
    }
}

void CCanvas::Digit(const Rect& box, uint8_t segments, uint32_t on, uint32_t off)
{
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int t = std::max(2, w / 7);
    const int x0 = box.left + t;
    const int x1 = box.right - 2 * t;
    const int y0 = box.top + t / 2;
    const int ym = box.top + h / 2 - t / 2;
    const int y1 = box.bottom - t - t / 2;
    const Rect bars[7] = {
        {x0 + t / 2, y0, x1 + t / 2, y0 + t},   {x1, y0 + t / 2, x1 + t, ym + t / 2}, {x1, ym + t / 2, x1 + t, y1 + t / 2},
        {x0 + t / 2, y1, x1 + t / 2, y1 + t},   {x0, ym + t / 2, x0 + t, y1 + t / 2}, {x0, y0 + t / 2, x0 + t, ym + t / 2},
        {x0 + t / 2, ym, x1 + t / 2, ym + t},
    };
    for (unsigned segment = 0; segment < 7; ++segment)
        Fill(bars[segment], (segments >> segment) & 1 ? on : off);
    Fill({box.right - t - t / 2, y1, box.right - t / 2, y1 + t}, (segments & 0x80) ? on : off);
}

}  // namespace machine
