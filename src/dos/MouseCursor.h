// The mouse driver's cursor in video memory, drawn as mouse drivers draw it so that the
// program's picture holds it: in a graphics mode 16x16 pixels ANDed with the screen mask and
// XORed with the cursor mask, in a text mode a cell's character-attribute word ANDed and XORed
// (the software cursor) or the CRTC's own cursor moved to the cell (the hardware one). What it
// covered is kept and put back when it moves or goes.
#pragma once

#include "dos/Memory.h"
#include "dos/VideoAdapter.h"

#include <array>
#include <cstdint>

namespace dos {

class CMouseCursor {
public:
    // The graphics cursor of INT 33h 09h: each word a row, its bit 15 the leftmost pixel.
    struct Shape {
        std::array<uint16_t, 16> screenMask;
        std::array<uint16_t, 16> cursorMask;
        int hotX = 0;
        int hotY = 0;
    };
    // The text cursor of INT 33h 0Ah: the masks of the software one, or the scan lines of the
    // hardware one.
    struct TextShape {
        bool hardware = false;
        uint16_t screenMask = 0xFFFF;
        uint16_t cursorMask = 0x7700;
        uint8_t startLine = 0;
        uint8_t endLine = 7;
    };

    CMouseCursor(CMemory& memory, CVideoAdapter& adapter) : m_memory(memory), m_adapter(adapter) {}

    // The shape with its hot spot on screen pixel x, y of a width x height graphics screen.
    void DrawGraphics(const Shape& shape, int x, int y, int width, int height);
    // The text cursor on a cell of a screen `columns` wide at the colour (or monochrome) memory.
    void DrawText(const TextShape& shape, int row, int column, int columns, bool mono);
    // What the cursor covered back as it was; nothing is drawn afterwards.
    void Erase();
    // Drops what was kept without writing it: the memory under it is new (a mode set).
    void Forget() { m_kind = Kind::None; }
    bool Drawn() const { return m_kind != Kind::None; }

private:
    enum class Kind : uint8_t { None, Graphics, Software, Hardware };
    static constexpr uint8_t kCursorStart = 0x0A;
    static constexpr uint8_t kCursorHigh = 0x0E;

    // Every bit of a pixel of the mode: a screen mask's 0 clears them all; a cursor mask's 1
    // flips those of the 16 colours (white in mode 13h's default palette, not its black 255).
    uint8_t PixelBits() const;

    CMemory& m_memory;
    CVideoAdapter& m_adapter;
    Kind m_kind = Kind::None;
    // The block drawn (clipped to the screen) and its pixels as they were.
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;
    std::array<uint8_t, 256> m_under{};
    // Where the block's first pixel sits in m_under (a row of 16 each).
    int m_nUnderFirst = 0;
    // The software cursor's cell and the word that was there; the CRTC's cursor as it was.
    uint32_t m_nCell = 0;
    uint16_t m_nCellWord = 0;
    std::array<uint8_t, 4> m_crtc{};
};

}  // namespace dos
