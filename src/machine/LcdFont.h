// The HD44780's character generator ROM (the A00 code table of its data sheet) as far as a
// board shows it: 5x8 dots a character, rows top first, bit 4 the leftmost dot.
#pragma once

#include <array>
#include <cstdint>

namespace machine {

class CLcdFont {
public:
    using Glyph = std::array<uint8_t, 8>;

    // The ROM's pattern of a character code (10h-FFh; the codes below 10h are the CGRAM's).
    // Of 80h-FEh (katakana and symbols) the pattern is an outline box.
    static Glyph Rom(uint8_t code);
    // The ASCII character a person reads in the ROM's pattern, or '?' where there is none.
    static char Ascii(uint8_t code);
};

}  // namespace machine
