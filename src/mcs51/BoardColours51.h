// The colours of the boards' pictures.
#pragma once

#include <cstdint>

namespace mcs51 {

struct BoardColours51 {
    static constexpr uint32_t kBoard = 0x1E5A32;
    static constexpr uint32_t kLabel = 0xE6E6E6;
    static constexpr uint32_t kRim = 0x000000;
    static constexpr uint32_t kLedLit = 0xFF3020;
    static constexpr uint32_t kLedDim = 0xA02418;
    static constexpr uint32_t kLedDark = 0x501410;
    static constexpr uint32_t kSegmentLit = 0xFF2A14;
    static constexpr uint32_t kSegmentDark = 0x3A1A14;
    static constexpr uint32_t kDigitFace = 0x141414;
    static constexpr uint32_t kGlass = 0x8CC83C;
    static constexpr uint32_t kGlassOff = 0x5A7A32;
    static constexpr uint32_t kDotOn = 0x142814;
    static constexpr uint32_t kDotOff = 0x80B838;
    static constexpr uint32_t kKey = 0xC8C8C8;
    static constexpr uint32_t kKeyDown = 0x6E6E6E;
    static constexpr uint32_t kKeyText = 0x101010;
};

}  // namespace mcs51
