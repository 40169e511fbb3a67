// Drawing a board's or a box's picture into a device view's pixels: rectangles, discs, dot-matrix
// characters (the LCD's font) and seven-segment digits.
#pragma once

#include "machine/LcdFont.h"
#include "machine/ScreenImage.h"

#include <cstdint>
#include <string_view>

namespace machine {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class CCanvas {
public:
    explicit CCanvas(ScreenImage& image) : m_image(image) {}

    void Fill(const Rect& rect, uint32_t colour);
    // A disc of the given diameter inside the square at (left, top), with a rim of one pixel.
    void Disc(int left, int top, int diameter, uint32_t colour, uint32_t rim);
    // 5x8 dot patterns, each dot a square of scale pixels (rows of bit 4 leftmost); a character
    // takes 6 x 8 dots with its gap.
    void Glyph(int left, int top, const CLcdFont::Glyph& rows, int scale, uint32_t on, uint32_t off)
    {
        Dots(left, top, rows, scale, on, &off);
    }
    // ASCII text in the LCD's font, on the picture's own background.
    void Text(int left, int top, std::string_view text, int scale, uint32_t colour);
    // A seven-segment digit of the given segments (bit 0 a ... bit 6 g, bit 7 the point) in a
    // box of width x height.
    void Digit(const Rect& box, uint8_t segments, uint32_t on, uint32_t off);

private:
    // The dots of a pattern; where off is null, the dots not lit are left as they are.
    void Dots(int left, int top, const CLcdFont::Glyph& rows, int scale, uint32_t on, const uint32_t* off);

    ScreenImage& m_image;
};

}  // namespace machine
