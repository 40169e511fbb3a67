// Text, pixels and palettes of the graphics modes, drawn straight into the adapter's memory as
// the BIOS's own code would (the registers a program set are left as they are).
#include "dos/GraphicsVideo.h"

#include "dos/DosLayout.h"
#include "dos/VgaFont.h"

#include <algorithm>

namespace dos {

using namespace DosLayout;

namespace {

// Where the ROM keeps each font.
constexpr uint16_t k8x8Offset = 0x0000;
constexpr uint16_t k8x14Offset = 0x0800;
constexpr uint16_t k8x16Offset = 0x1600;

uint16_t FontOffset(int height)
{
    return height == 8 ? k8x8Offset : height == 14 ? k8x14Offset : k8x16Offset;
}

}

void CGraphicsVideo::InstallFonts()
{
    uint8_t* rom = m_memory.Data() + CMemory::Linear(kFontSegment, 0);
    std::copy_n(VgaFont::k8x8, sizeof VgaFont::k8x8, rom + k8x8Offset);
    std::copy_n(VgaFont::k8x14, sizeof VgaFont::k8x14, rom + k8x14Offset);
    std::copy_n(VgaFont::k8x16, sizeof VgaFont::k8x16, rom + k8x16Offset);
    m_memory.Write16(0, 0x1F * 4, k8x8Offset + 128 * 8);
    m_memory.Write16(0, 0x1F * 4 + 2, kFontSegment);
}

void CGraphicsVideo::PointFontVector(int charHeight)
{
    m_memory.Write16(0, 0x43 * 4, FontOffset(charHeight));
    m_memory.Write16(0, 0x43 * 4 + 2, kFontSegment);
}

uint8_t CGraphicsVideo::CharHeight() const { return m_memory.Read8(kBiosDataSegment, Bda::kCharHeight); }

uint8_t CGraphicsVideo::Columns() const { return m_memory.Read8(kBiosDataSegment, Bda::kColumns); }

uint32_t CGraphicsVideo::PageBase(uint8_t page) const
{
    if (m_adapter.Layout() != VgaMode::Layout::Planar)
        return 0;
    return static_cast<uint32_t>(page) * m_memory.Read16(kBiosDataSegment, Bda::kPageSize);
}

int CGraphicsVideo::Colours() const
{
    switch (m_adapter.Layout()) {
    case VgaMode::Layout::Chained: return 256;
    case VgaMode::Layout::Cga: return Columns() == 80 ? 2 : 4;
    default: return 16;
    }
}

void CGraphicsVideo::DrawCharacter(uint8_t page, uint8_t row, uint8_t column, uint8_t character, uint8_t colour)
{
    const int height = CharHeight();
    const uint8_t* glyph = VgaFont::OfHeight(height) + character * height;
    const bool xorOn = Colours() < 256 && (colour & 0x80);
    const uint8_t value = static_cast<uint8_t>(colour & (Colours() - 1));
    const uint32_t base = PageBase(page);
    for (int line = 0; line < height; ++line) {
        const int y = row * height + line;
        for (int bit = 0; bit < 8; ++bit) {
            const int x = column * 8 + bit;
            const bool on = (glyph[line] << bit & 0x80) != 0;
            if (xorOn) {
                if (on)
                    m_adapter.SetPixel(base, x, y, static_cast<uint8_t>(m_adapter.Pixel(base, x, y) ^ value));
            } else {
                m_adapter.SetPixel(base, x, y, on ? value : 0);
            }
        }
    }
}

void CGraphicsVideo::FillCell(uint32_t base, int x, int y, int height, uint8_t colour)
{
    for (int line = 0; line < height; ++line)
        for (int bit = 0; bit < 8; ++bit)
            m_adapter.SetPixel(base, x + bit, y + line, colour);
}

void CGraphicsVideo::Scroll(bool up, uint8_t lines, uint8_t colour, uint8_t top, uint8_t left, uint8_t bottom,
                            uint8_t right, uint8_t page)
{
    const uint8_t rows = static_cast<uint8_t>(m_memory.Read8(kBiosDataSegment, Bda::kRowsMinusOne) + 1);
    bottom = std::min<uint8_t>(bottom, static_cast<uint8_t>(rows - 1));
    right = std::min<uint8_t>(right, static_cast<uint8_t>(Columns() - 1));
    if (top > bottom || left > right)
        return;
    const int height = CharHeight();
    const uint8_t window = static_cast<uint8_t>(bottom - top + 1);
    if (lines == 0 || lines > window)
        lines = window;
    const uint32_t base = PageBase(page);
    const uint8_t fill = static_cast<uint8_t>(colour & (Colours() - 1));
    for (uint8_t i = 0; i < window; ++i) {
        const int row = up ? top + i : bottom - i;
        const bool blank = i + lines >= window;
        const int from = up ? row + lines : row - lines;
        for (int column = left; column <= right; ++column) {
            if (blank) {
                FillCell(base, column * 8, row * height, height, fill);
                continue;
            }
            for (int line = 0; line < height; ++line)
                for (int bit = 0; bit < 8; ++bit)
                    m_adapter.SetPixel(base, column * 8 + bit, row * height + line,
                                       m_adapter.Pixel(base, column * 8 + bit, from * height + line));
        }
    }
}

void CGraphicsVideo::WritePixel(CpuState& state)
{
    const uint32_t base = PageBase(state.bh());
    const int colours = Colours();
    uint8_t value = static_cast<uint8_t>(state.al() & (colours - 1));
    if (colours < 256 && (state.al() & 0x80))
        value ^= m_adapter.Pixel(base, state.cx(), state.dx());
    m_adapter.SetPixel(base, state.cx(), state.dx(), value);
}

void CGraphicsVideo::ReadPixel(CpuState& state)
{
    state.set_al(m_adapter.Pixel(PageBase(state.bh()), state.cx(), state.dx()));
}

// The CGA's background (BH 0: colour and intensity in BL) or palette (BH 1: BL 0 green, red,
// brown; 1 cyan, magenta, white) as attribute registers 0-3; the background is the border's
// colour too, the only one that changes in other modes.
void CGraphicsVideo::CgaPalette(CpuState& state)
{
    CVgaPalette& palette = m_adapter.Palette();
    const bool cga = m_adapter.Layout() == VgaMode::Layout::Cga;
    if (state.bh() == 0) {
        const uint8_t bl = state.bl();
        const uint8_t colour = static_cast<uint8_t>((bl & 0x07) | (bl & 0x08) << 1);
        palette.SetAttribute(CVgaPalette::kOverscan, colour);
        if (!cga)
            return;
        palette.SetAttribute(0, colour);
        for (uint8_t i = 1; i < 4; ++i)
            palette.SetAttribute(i, static_cast<uint8_t>((palette.Attribute(i) & 0x07) | (bl & 0x10)));
        return;
    }
    if (!cga)
        return;
    for (uint8_t i = 1; i < 4; ++i)
        palette.SetAttribute(i, static_cast<uint8_t>((palette.Attribute(i) & 0x10) | i * 2 | (state.bl() & 1)));
}

void CGraphicsVideo::PaletteFunction(CpuState& state)
{
    CVgaPalette& palette = m_adapter.Palette();
    const uint8_t modeControl = palette.Attribute(CVgaPalette::kModeControl);
    uint16_t at = state.dx();
    switch (state.al()) {
    case 0x00: palette.SetAttribute(state.bl() & 0x0F, state.bh()); break;
    case 0x01: palette.SetAttribute(CVgaPalette::kOverscan, state.bh()); break;
    case 0x02:
        for (uint8_t i = 0; i < 16; ++i)
            palette.SetAttribute(i, m_memory.Read8(state.es(), at++));
        palette.SetAttribute(CVgaPalette::kOverscan, m_memory.Read8(state.es(), at));
        break;
    case 0x03:
        palette.SetAttribute(CVgaPalette::kModeControl,
                             static_cast<uint8_t>((modeControl & ~0x08) | (state.bl() & 1) << 3));
        break;
    case 0x07: state.set_bh(palette.Attribute(state.bl() & 0x0F)); break;
    case 0x08: state.set_bh(palette.Attribute(CVgaPalette::kOverscan)); break;
    case 0x09:
        for (uint8_t i = 0; i < 16; ++i)
            m_memory.Write8(state.es(), at++, palette.Attribute(i));
        m_memory.Write8(state.es(), at, palette.Attribute(CVgaPalette::kOverscan));
        break;
    case 0x10: palette.SetDac(state.bl(), state.dh() & 0x3F, state.ch() & 0x3F, state.cl() & 0x3F); break;
    case 0x12:
        for (uint16_t i = 0; i < state.cx(); ++i, at += 3)
            palette.SetDac(static_cast<uint8_t>(state.bx() + i), m_memory.Read8(state.es(), at) & 0x3F,
                           m_memory.Read8(state.es(), static_cast<uint16_t>(at + 1)) & 0x3F,
                           m_memory.Read8(state.es(), static_cast<uint16_t>(at + 2)) & 0x3F);
        break;
    case 0x13:
        if (state.bl() == 0)
            palette.SetAttribute(CVgaPalette::kModeControl,
                                 static_cast<uint8_t>((modeControl & 0x7F) | (state.bh() & 1) << 7));
        else
            palette.SetAttribute(CVgaPalette::kColourSelect,
                                 (modeControl & 0x80) ? state.bh() & 0x0F : static_cast<uint8_t>(state.bh() << 2 & 0x0C));
        break;
    case 0x15: {
        const auto rgb = palette.Dac(state.bl());
        state.set_dh(rgb[0]);
        state.set_ch(rgb[1]);
        state.set_cl(rgb[2]);
        break;
    }
    case 0x17:
        for (uint16_t i = 0; i < state.cx(); ++i)
            for (uint8_t c : palette.Dac(static_cast<uint8_t>(state.bx() + i)))
                m_memory.Write8(state.es(), at++, c);
        break;
    case 0x18: palette.SetPelMask(state.bl()); break;
    case 0x19: state.set_bl(palette.PelMask()); break;
    case 0x1A: {
        const uint8_t select = palette.Attribute(CVgaPalette::kColourSelect);
        state.set_bl(modeControl >> 7);
        state.set_bh((modeControl & 0x80) ? select & 0x0F : select >> 2 & 0x03);
        break;
    }
    default: break;
    }
}

// BH names the font: 0 INT 1Fh's, 1 INT 43h's, 2 8x14, 3 8x8, 4 8x8's upper half, 6 8x16.
void CGraphicsVideo::FontPointer(CpuState& state)
{
    uint16_t segment = kFontSegment, offset;
    switch (state.bh()) {
    case 0x00:
    case 0x01: {
        const uint16_t vector = state.bh() == 0 ? 0x1F : 0x43;
        offset = m_memory.Read16(0, static_cast<uint16_t>(vector * 4));
        segment = m_memory.Read16(0, static_cast<uint16_t>(vector * 4 + 2));
        break;
    }
    case 0x02: offset = k8x14Offset; break;
    case 0x03: offset = k8x8Offset; break;
    case 0x04: offset = k8x8Offset + 128 * 8; break;
    case 0x06: offset = k8x16Offset; break;
    default: return;
    }
    state.es() = segment;
    state.bp() = offset;
    state.cx() = CharHeight();
    state.set_dl(m_memory.Read8(kBiosDataSegment, Bda::kRowsMinusOne));
}

}  // namespace dos
