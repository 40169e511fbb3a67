// The text screen and INT 10h, on the cells and the BIOS data area in the machine's memory, so
// that programs which write to B800h or read the cursor from 40h:50h see the same screen.
#include "dos/TextVideo.h"

#include "dos/DosLayout.h"

#include <algorithm>

namespace dos {

using namespace DosLayout;

void CTextVideo::Reset()
{
    m_graphics.InstallFonts();
    SetMode(3);
}

uint8_t CTextVideo::Columns() const { return m_memory.Read8(kBiosDataSegment, Bda::kColumns); }

uint8_t CTextVideo::Rows() const { return static_cast<uint8_t>(m_memory.Read8(kBiosDataSegment, Bda::kRowsMinusOne) + 1); }

uint8_t CTextVideo::Mode() const { return m_memory.Read8(kBiosDataSegment, Bda::kVideoMode); }

uint8_t CTextVideo::ActivePage() const { return m_memory.Read8(kBiosDataSegment, Bda::kActivePage); }

uint16_t CTextVideo::Segment() const { return Mode() == 7 ? kMonoTextSegment : kColourTextSegment; }

uint32_t CTextVideo::CellAddress(uint8_t page, uint8_t row, uint8_t column) const
{
    return CMemory::Linear(Segment(), 0) + (page & 7) * m_memory.Read16(kBiosDataSegment, Bda::kPageSize) +
           (row * Columns() + column) * 2;
}


void CTextVideo::Cursor(uint8_t page, uint8_t& row, uint8_t& column) const
{
    uint16_t at = static_cast<uint16_t>(Bda::kCursorPositions + (page & 7) * 2);
    column = m_memory.Read8(kBiosDataSegment, at);
    row = m_memory.Read8(kBiosDataSegment, static_cast<uint16_t>(at + 1));
}

void CTextVideo::CursorPosition(uint8_t& row, uint8_t& column) const { Cursor(ActivePage(), row, column); }

uint16_t CTextVideo::CursorShape() const { return m_memory.Read16(kBiosDataSegment, Bda::kCursorShape); }

void CTextVideo::SetCursor(uint8_t page, uint8_t row, uint8_t column)
{
    uint16_t at = static_cast<uint16_t>(Bda::kCursorPositions + (page & 7) * 2);
    m_memory.Write8(kBiosDataSegment, at, column);
    m_memory.Write8(kBiosDataSegment, static_cast<uint16_t>(at + 1), row);
    if ((page & 7) == ActivePage())
        ProgramCrtc();
}

void CTextVideo::ProgramCrtc()
{
    // A text page starts at a count of cells, a graphics page at one of bytes.
    const uint16_t offset = m_memory.Read16(kBiosDataSegment, Bda::kPageOffset);
    const uint16_t start = m_graphics.Graphics() ? offset : static_cast<uint16_t>(offset / 2);
    uint8_t row, column;
    CursorPosition(row, column);
    const uint16_t cursor = static_cast<uint16_t>(start + row * Columns() + column);
    const uint16_t shape = CursorShape();
    const uint8_t values[][2] = {{0x0C, static_cast<uint8_t>(start >> 8)}, {0x0D, static_cast<uint8_t>(start)},
                                 {0x0E, static_cast<uint8_t>(cursor >> 8)}, {0x0F, static_cast<uint8_t>(cursor)},
                                 {0x0A, static_cast<uint8_t>(shape >> 8)}, {0x0B, static_cast<uint8_t>(shape)}};
    // Graphics modes show no cursor: its location and shape stay as the mode set them.
    const size_t count = m_graphics.Graphics() ? 2 : 6;
    for (size_t i = 0; i < count; ++i)
        m_adapter.WriteCrtc(values[i][0], values[i][1]);
}

// What the CGA's mode select register would hold in the mode, as the BIOS keeps it at 0465h.
static uint8_t CgaModeSelect(uint8_t mode)
{
    switch (mode) {
    case 4: return 0x2A;
    case 5: return 0x2E;
    case 6: return 0x1E;
    default: return 0x29;
    }
}

void CTextVideo::SetMode(uint8_t number)
{
    const VgaMode& mode = VgaMode::Find(number);
    const bool keep = (number & 0x80) != 0;
    m_memory.Write8(kBiosDataSegment, Bda::kVideoMode, mode.number);
    m_memory.Write16(kBiosDataSegment, Bda::kColumns, mode.columns);
    m_memory.Write16(kBiosDataSegment, Bda::kPageSize, mode.pageSize);
    m_memory.Write16(kBiosDataSegment, Bda::kPageOffset, 0);
    m_memory.Write8(kBiosDataSegment, Bda::kActivePage, 0);
    m_memory.Write16(kBiosDataSegment, Bda::kCrtcPort, mode.number == 7 ? 0x3B4 : 0x3D4);
    m_memory.Write8(kBiosDataSegment, Bda::kRowsMinusOne, static_cast<uint8_t>(mode.rows - 1));
    m_memory.Write16(kBiosDataSegment, Bda::kCharHeight, mode.charHeight);
    m_memory.Write16(kBiosDataSegment, Bda::kCursorShape, 0x0607);
    m_memory.Write8(kBiosDataSegment, Bda::kCgaModeSelect, CgaModeSelect(mode.number));
    m_memory.Write8(kBiosDataSegment, Bda::kCgaPalette, mode.number == 6 ? 0x3F : 0x30);
    m_memory.Write8(kBiosDataSegment, Bda::kVideoControl, keep ? 0xE0 : 0x60);
    m_adapter.LoadMode(mode, keep);
    if (mode.layout == VgaMode::Layout::Text)
        m_adapter.SetTextMode(mode.number == 7, mode.columns, mode.rows);
    else
        m_graphics.PointFontVector(mode.charHeight);
    for (uint8_t page = 0; page < 8; ++page)
        SetCursor(page, 0, 0);
    if (!keep)
        ClearMemory(mode);
}

// Text pages fill with blanks in grey on black, the CGA's banks with zero; the planes the
// adapter cleared itself.
void CTextVideo::ClearMemory(const VgaMode& mode)
{
    const uint32_t base = CMemory::Linear(mode.segment, 0);
    if (mode.layout == VgaMode::Layout::Text) {
        for (uint32_t i = 0; i < 8u * mode.pageSize; i += 2) {
            m_memory.Write8(base + i, ' ');
            m_memory.Write8(base + i + 1, 0x07);
        }
    } else if (mode.layout == VgaMode::Layout::Cga) {
        m_memory.Fill(base, 0, 0x8000);
    }
}

void CTextVideo::Preset(const uint16_t* cells, uint8_t row, uint8_t column)
{
    for (uint8_t r = 0; r < kRows; ++r) {
        for (uint8_t c = 0; c < kColumns; ++c) {
            uint32_t at = CellAddress(ActivePage(), r, c);
            uint16_t cell = cells[r * kColumns + c];
            m_memory.Write8(at, static_cast<uint8_t>(cell));
            m_memory.Write8(at + 1, static_cast<uint8_t>(cell >> 8));
        }
    }
    SetCursor(ActivePage(), row, column);
}

void CTextVideo::Scroll(bool up, uint8_t lines, uint8_t attribute, uint8_t top, uint8_t left, uint8_t bottom,
                        uint8_t right, uint8_t page)
{
    if (m_graphics.Graphics()) {
        m_graphics.Scroll(up, lines, attribute, top, left, bottom, right, page);
        return;
    }
    bottom = std::min<uint8_t>(bottom, static_cast<uint8_t>(Rows() - 1));
    right = std::min<uint8_t>(right, static_cast<uint8_t>(Columns() - 1));
    if (top > bottom || left > right)
        return;
    uint8_t height = static_cast<uint8_t>(bottom - top + 1);
    if (lines == 0 || lines > height)
        lines = height;
    for (uint8_t i = 0; i < height; ++i) {
        uint8_t row = up ? static_cast<uint8_t>(top + i) : static_cast<uint8_t>(bottom - i);
        bool blank = i + lines >= height;
        uint8_t from = up ? static_cast<uint8_t>(row + lines) : static_cast<uint8_t>(row - lines);
        for (uint8_t column = left; column <= right; ++column) {
            uint32_t to = CellAddress(page, row, column);
            if (blank) {
                m_memory.Write8(to, ' ');
                m_memory.Write8(to + 1, attribute);
            } else {
                uint32_t source = CellAddress(page, from, column);
                m_memory.Write8(to, m_memory.Read8(source));
                m_memory.Write8(to + 1, m_memory.Read8(source + 1));
            }
        }
    }
}

// The sink follows the text screen; what a graphics mode draws is part of its picture.
void CTextVideo::Emit(uint8_t character)
{
    if (m_sink && !m_graphics.Graphics())
        m_sink(&character, 1);
}

void CTextVideo::WriteCells(uint8_t character, uint8_t attribute, uint16_t count, uint8_t page, bool characterOnly)
{
    uint8_t row, column;
    Cursor(page, row, column);
    if (m_graphics.Graphics()) {
        for (uint16_t i = 0; i < count && row < Rows(); ++i) {
            m_graphics.DrawCharacter(page, row, column, character, attribute);
            Emit(character);
            if (++column >= Columns()) {
                column = 0;
                ++row;
            }
        }
        return;
    }
    uint32_t at = CellAddress(page, row, column);
    uint32_t end = CellAddress(page, static_cast<uint8_t>(Rows() - 1), static_cast<uint8_t>(Columns() - 1)) + 2;
    for (uint16_t i = 0; i < count && at < end; ++i, at += 2) {
        m_memory.Write8(at, character);
        if (!characterOnly)
            m_memory.Write8(at + 1, attribute);
        Emit(character);
    }
}

void CTextVideo::TeletypeOnPage(uint8_t character, uint8_t page, uint8_t colour)
{
    Emit(character);
    uint8_t row, column;
    Cursor(page, row, column);
    switch (character) {
    case 7:
        return;
    case 8:
        if (column > 0)
            --column;
        break;
    case 10:
        ++row;
        break;
    case 13:
        column = 0;
        break;
    default:
        if (m_graphics.Graphics())
            m_graphics.DrawCharacter(page, row, column, character, colour);
        else
            m_memory.Write8(CellAddress(page, row, column), character);
        if (++column >= Columns()) {
            column = 0;
            ++row;
        }
        break;
    }
    const uint8_t last = static_cast<uint8_t>(Rows() - 1);
    if (row > last) {
        const uint8_t fill = m_graphics.Graphics() ? 0 : m_memory.Read8(CellAddress(page, last, column) + 1);
        Scroll(true, 1, fill, 0, 0, last, static_cast<uint8_t>(Columns() - 1), page);
        row = last;
    }
    SetCursor(page, row, column);
}

// DOS's console output draws in grey (colour 7) in a graphics mode.
void CTextVideo::Teletype(uint8_t character) { TeletypeOnPage(character, ActivePage(), 0x07); }

void CTextVideo::WriteString(CpuState& state)
{
    uint8_t page = state.bh(), mode = state.al();
    uint8_t row, column;
    Cursor(page, row, column);
    SetCursor(page, state.dh(), state.dl());
    uint8_t attribute = state.bl();
    uint16_t offset = state.bp();
    for (uint16_t i = 0; i < state.cx(); ++i) {
        uint8_t character = m_memory.Read8(state.es(), offset++);
        if (mode & 2)
            attribute = m_memory.Read8(state.es(), offset++);
        bool control = character == 7 || character == 8 || character == 10 || character == 13;
        if (!control && !m_graphics.Graphics()) {
            uint8_t r, c;
            Cursor(page, r, c);
            m_memory.Write8(CellAddress(page, r, c) + 1, attribute);
        }
        TeletypeOnPage(character, page, attribute);
    }
    if (!(mode & 1))
        SetCursor(page, row, column);
}

void CTextVideo::Interrupt10(CpuState& state)
{
    uint8_t row, column;
    switch (state.ah()) {
    case 0x00:
        SetMode(state.al());
        break;
    case 0x01:
        m_memory.Write16(kBiosDataSegment, Bda::kCursorShape, state.cx());
        ProgramCrtc();
        break;
    case 0x02:
        SetCursor(state.bh(), state.dh(), state.dl());
        break;
    case 0x03:
        Cursor(state.bh(), row, column);
        state.dx() = static_cast<uint16_t>((row << 8) | column);
        state.cx() = CursorShape();
        break;
    case 0x05:
        m_memory.Write8(kBiosDataSegment, Bda::kActivePage, state.al() & 7);
        m_memory.Write16(kBiosDataSegment, Bda::kPageOffset,
                         static_cast<uint16_t>((state.al() & 7) * m_memory.Read16(kBiosDataSegment, Bda::kPageSize)));
        ProgramCrtc();
        break;
    case 0x06:
    case 0x07:
        Scroll(state.ah() == 6, state.al(), state.bh(), state.ch(), state.cl(), state.dh(), state.dl(), ActivePage());
        break;
    case 0x08: {
        Cursor(state.bh(), row, column);
        uint32_t at = CellAddress(state.bh(), row, column);
        state.ax() = static_cast<uint16_t>(m_memory.Read8(at) | (m_memory.Read8(at + 1) << 8));
        break;
    }
    case 0x09:
    case 0x0A:
        WriteCells(state.al(), state.bl(), state.cx(), state.bh(), state.ah() == 0x0A);
        break;
    case 0x0B:
        m_graphics.CgaPalette(state);
        break;
    case 0x0C:
        if (m_graphics.Graphics())
            m_graphics.WritePixel(state);
        break;
    case 0x0D:
        if (m_graphics.Graphics())
            m_graphics.ReadPixel(state);
        break;
    case 0x10:
        m_graphics.PaletteFunction(state);
        break;
    case 0x0E:
        TeletypeOnPage(state.al(), ActivePage(), state.bl());
        break;
    case 0x0F:
        state.set_al(static_cast<uint8_t>(Mode() | (m_memory.Read8(kBiosDataSegment, Bda::kVideoControl) & 0x80)));
        state.set_ah(Columns());
        state.set_bh(ActivePage());
        break;
    case 0x11:
        if (state.al() == 0x30)
            m_graphics.FontPointer(state);
        break;
    case 0x12:
        if (state.bl() == 0x10) {
            state.set_bh(Mode() == 7 ? 1 : 0);
            state.set_bl(3);
            state.cx() = 0x0009;
        }
        break;
    case 0x13:
        WriteString(state);
        break;
    case 0x1A:
        if (state.al() == 0) {
            state.set_al(0x1A);
            state.bx() = Mode() == 7 ? 0x0007 : 0x0008;
        }
        break;
    default:
        break;
    }
}

}  // namespace dos
