// The video BIOS, INT 10h: the modes (text, CGA, EGA and VGA graphics), cells of a character and
// an attribute at B800h (B000h in mode 7), eight pages, the cursor, teletype output and
// scrolling, with the BIOS data area kept as the BIOS keeps it and the adapter's CRTC programmed
// to show the active page and its cursor; in a graphics mode the characters are drawn by the
// graphics side. What the BIOS prints may also go to a text sink (a pipe).
#pragma once

#include "dos/CpuState.h"
#include "dos/GraphicsVideo.h"
#include "dos/Memory.h"
#include "dos/VideoAdapter.h"

#include <cstdint>
#include <functional>

namespace dos {

class CTextVideo {
public:
    // The screen a front end presets.
    static constexpr uint8_t kColumns = 80;
    static constexpr uint8_t kRows = 25;

    using TextSink = std::function<void(const uint8_t*, size_t)>;

    CTextVideo(CMemory& memory, CVideoAdapter& adapter) : m_memory(memory), m_adapter(adapter), m_graphics(memory, adapter) {}

    // The fonts in ROM; mode 3, a blank screen, the cursor at the top left.
    void Reset();
    // Teletype and character output of the BIOS also go here as text (none: the screen only).
    void SetTextSink(TextSink sink) { m_sink = std::move(sink); }

    // The active page's cells (character low, attribute high, row by row) and the cursor, as a
    // front end finds its window when the machine starts.
    void Preset(const uint16_t* cells, uint8_t row, uint8_t column);
    void Interrupt10(CpuState& state);
    void Teletype(uint8_t character);

    uint8_t Mode() const;
    uint8_t ActivePage() const;
    uint16_t Segment() const;
    void CursorPosition(uint8_t& row, uint8_t& column) const;
    // The cursor's start and end lines (CH, CL of INT 10h 01h); a start with bit 5 hides it.
    uint16_t CursorShape() const;

private:
    // The CRTC's start address, cursor location and shape from the BIOS data area, as the
    // BIOS programs them whenever one changes.
    void ProgramCrtc();
    // The mode (bit 7: the memory kept) with its registers, palettes and BIOS data.
    void SetMode(uint8_t number);
    void ClearMemory(const VgaMode& mode);
    uint8_t Columns() const;
    uint8_t Rows() const;
    void SetCursor(uint8_t page, uint8_t row, uint8_t column);
    void Cursor(uint8_t page, uint8_t& row, uint8_t& column) const;
    uint32_t CellAddress(uint8_t page, uint8_t row, uint8_t column) const;
    void Scroll(bool up, uint8_t lines, uint8_t attribute, uint8_t top, uint8_t left, uint8_t bottom, uint8_t right, uint8_t page);
    void WriteCells(uint8_t character, uint8_t attribute, uint16_t count, uint8_t page, bool characterOnly);
    // A graphics mode draws the character in `colour`.
    void TeletypeOnPage(uint8_t character, uint8_t page, uint8_t colour);
    void WriteString(CpuState& state);
    void Emit(uint8_t character);

    CMemory& m_memory;
    CVideoAdapter& m_adapter;
    CGraphicsVideo m_graphics;
    TextSink m_sink;
};

}  // namespace dos
