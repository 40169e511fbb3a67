// Screen images: their making and their text.
#include "machine/ScreenImage.h"

namespace machine {

const std::array<uint32_t, 16> kPcPalette = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

ScreenImage ScreenImage::Cells(int columns, int rows)
{
    ScreenImage image;
    image.kind = Kind::Cells;
    image.columns = columns;
    image.rows = rows;
    image.cells.assign(static_cast<size_t>(columns * rows), 0x0720);
    image.palette = kPcPalette;
    return image;
}

ScreenImage ScreenImage::Pixels(int width, int height)
{
    ScreenImage image;
    image.kind = Kind::Pixels;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width * height), 0);
    return image;
}

std::string ScreenImage::Text() const
{
    std::string text;
    if (kind != Kind::Cells)
        return text;
    text.reserve(static_cast<size_t>(rows * (columns + 2)));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const char character = static_cast<char>(Cell(row, column) & 0xFF);
            text.push_back(character == '\0' ? ' ' : character);
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace machine
