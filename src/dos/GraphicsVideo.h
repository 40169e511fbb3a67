// The video BIOS's graphics side of INT 10h: pixels (0Ch, 0Dh), characters drawn with the
// 8x8, 8x14 and 8x16 fonts where the text BIOS would write cells, scrolling of pixels, the CGA
// palette (0Bh), the palette and DAC functions (10h), and the font pointers (1130h) of the
// fonts it keeps in the video BIOS's ROM at C000h.
#pragma once

#include "dos/CpuState.h"
#include "dos/Memory.h"
#include "dos/VideoAdapter.h"

#include <cstdint>

namespace dos {

class CGraphicsVideo {
public:
    static constexpr uint16_t kFontSegment = 0xC000;

    CGraphicsVideo(CMemory& memory, CVideoAdapter& adapter) : m_memory(memory), m_adapter(adapter) {}

    // The fonts into the ROM, and the vector of the 8x8 font's upper half (INT 1Fh) at them.
    void InstallFonts();
    // The mode's graphics font as INT 43h.
    void PointFontVector(int charHeight);
    bool Graphics() const { return m_adapter.Layout() != VgaMode::Layout::Text; }

    // A character in the cell at row, column of a page; bit 7 of a 16-colour (or fewer)
    // mode's colour XORs it onto what is there.
    void DrawCharacter(uint8_t page, uint8_t row, uint8_t column, uint8_t character, uint8_t colour);
    // Rows of cells moved up or down within the window, the rows left filled with `colour`.
    void Scroll(bool up, uint8_t lines, uint8_t colour, uint8_t top, uint8_t left, uint8_t bottom, uint8_t right, uint8_t page);
    void WritePixel(CpuState& state);
    void ReadPixel(CpuState& state);
    void CgaPalette(CpuState& state);
    void PaletteFunction(CpuState& state);
    void FontPointer(CpuState& state);

private:
    uint8_t CharHeight() const;
    uint8_t Columns() const;
    uint32_t PageBase(uint8_t page) const;
    // The colours a pixel of the mode has: 256, 16, 4 or 2.
    int Colours() const;
    void FillCell(uint32_t base, int x, int y, int height, uint8_t colour);

    CMemory& m_memory;
    CVideoAdapter& m_adapter;
};

}  // namespace dos
