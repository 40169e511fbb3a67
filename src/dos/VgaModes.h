// The video modes the BIOS sets: the registers it programs for each (misc output, sequencer,
// CRTC, graphics controller, attribute controller), the DAC palette it loads, and what it keeps
// of the mode in its data area.
#pragma once

#include <array>
#include <cstdint>

namespace dos {

struct VgaMode {
    enum class Layout : uint8_t {
        Text,
        // Two bits a pixel (CGA modes 4, 5) or one (mode 6) in the two interleaved banks at B8000h.
        Cga,
        // Four planes, a bit of each pixel in each (modes 0Dh, 0Eh, 10h, 12h).
        Planar,
        // A byte a pixel across the chained planes (mode 13h).
        Chained,
    };
    // What the BIOS loads into the DAC: the 64 colours of the 200-line modes (rgbI, as the CGA
    // shows them), the 64 of the EGA's 350-line monitor (rgbRGB), or the VGA's 256.
    enum class Dac : uint8_t { Cga, Ega, Vga256 };

    uint8_t number;
    Layout layout;
    Dac dac;
    uint8_t columns;
    uint8_t rows;
    uint8_t charHeight;
    uint16_t pageSize;
    uint16_t segment;
    uint8_t misc;
    std::array<uint8_t, 5> sequencer;
    std::array<uint8_t, 25> crtc;
    std::array<uint8_t, 9> graphics;
    std::array<uint8_t, 21> attributes;

    // The mode the BIOS sets for a number (bit 7 aside); text modes it does not know are mode 3.
    static const VgaMode& Find(uint8_t number);
    // How many entries of the DAC the BIOS loads (the rest keep their colours), and each
    // entry as it loads it (6-bit red, green, blue).
    static int DacEntries(Dac dac) { return dac == Dac::Vga256 ? 256 : 64; }
    static std::array<uint8_t, 3> DefaultDac(Dac dac, int entry);
};

}  // namespace dos
