// What a screen (or a device's display) shows, for any front end: character cells of any
// number with their colours and cursor, or pixels of any size.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace machine {

struct ScreenImage {
    enum class Kind : uint8_t { None, Cells, Pixels };

    Kind kind = Kind::None;
    // Cells: columns x rows, row by row, each the character (low byte, in the machine's code
    // page) and its attribute (high byte: background high nibble, foreground low), drawn in
    // the palette's sixteen colours.
    int columns = 0;
    int rows = 0;
    std::vector<uint16_t> cells;
    std::array<uint32_t, 16> palette{};
    int cursorRow = 0;
    int cursorColumn = 0;
    bool cursorShown = false;
    // Pixels: width x height colours (0x00RRGGBB), row by row, top first.
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    static ScreenImage Cells(int columns, int rows);
    static ScreenImage Pixels(int width, int height);
    uint16_t& Cell(int row, int column) { return cells[static_cast<size_t>(row * columns + column)]; }
    uint16_t Cell(int row, int column) const { return cells[static_cast<size_t>(row * columns + column)]; }
    uint32_t& Pixel(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }

    // The cells' characters as lines (trailing blanks kept), each ended by CR LF; empty for pixels.
    std::string Text() const;

    friend bool operator==(const ScreenImage&, const ScreenImage&) = default;
};

// The sixteen colours of the PC's text modes (the CGA's, as every later adapter starts).
extern const std::array<uint32_t, 16> kPcPalette;

}  // namespace machine
