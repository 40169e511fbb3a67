// The fonts the video BIOS draws text with in graphics modes, and whose address INT 10h 1130h
// gives: 256 glyphs of code page 437, each a byte a row with the leftmost pixel in bit 7.
#pragma once

#include <cstdint>

namespace dos {

struct VgaFont {
    static const uint8_t k8x8[256 * 8];
    static const uint8_t k8x14[256 * 14];
    static const uint8_t k8x16[256 * 16];

    // The font of a character height (8, 14 or 16; any other gets 8x16's).
    static const uint8_t* OfHeight(int height)
    {
        return height == 8 ? k8x8 : height == 14 ? k8x14 : k8x16;
    }
};

}  // namespace dos
