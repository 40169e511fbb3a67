// The mouse cursor drawn into and taken out of video memory.
#include "dos/MouseCursor.h"

#include <algorithm>

namespace dos {

namespace {

// The CRTC registers of the cursor that the hardware cursor takes over: start and end line,
// location high and low.
constexpr uint8_t kCursorRegisters[4] = {0x0A, 0x0B, 0x0E, 0x0F};

}

uint8_t CMouseCursor::PixelBits() const
{
    if (m_adapter.Layout() == VgaMode::Layout::Chained)
        return 0xFF;
    if (m_adapter.Layout() != VgaMode::Layout::Cga)
        return 0x0F;
    return (m_adapter.Planes().GraphicsRegister(CVgaMemory::kMode) & 0x20) ? 0x03 : 0x01;
}

void CMouseCursor::DrawGraphics(const Shape& shape, int x, int y, int width, int height)
{
    Erase();
    const int left = x - shape.hotX, top = y - shape.hotY;
    m_nLeft = std::max(left, 0);
    m_nTop = std::max(top, 0);
    m_nRight = std::min(left + 16, width);
    m_nBottom = std::min(top + 16, height);
    if (m_nLeft >= m_nRight || m_nTop >= m_nBottom)
        return;
    const uint8_t clear = PixelBits(), flip = clear & 0x0F;
    for (int py = m_nTop; py < m_nBottom; ++py) {
        const int row = py - top;
        for (int px = m_nLeft; px < m_nRight; ++px) {
            const uint16_t bit = static_cast<uint16_t>(0x8000 >> (px - left));
            const uint8_t under = m_adapter.Pixel(0, px, py);
            m_under[row * 16 + (px - left)] = under;
            const uint8_t kept = (shape.screenMask[row] & bit) ? under : static_cast<uint8_t>(under & ~clear);
            m_adapter.SetPixel(0, px, py, (shape.cursorMask[row] & bit) ? static_cast<uint8_t>(kept ^ flip) : kept);
        }
    }
    m_kind = Kind::Graphics;
    m_nUnderFirst = (m_nTop - top) * 16 + (m_nLeft - left);
}

void CMouseCursor::DrawText(const TextShape& shape, int row, int column, int columns, bool mono)
{
    Erase();
    const uint32_t offset = static_cast<uint32_t>(row * columns + column);
    if (shape.hardware) {
        for (size_t i = 0; i < m_crtc.size(); ++i)
            m_crtc[i] = m_adapter.Crtc(kCursorRegisters[i]);
        m_adapter.WriteCrtc(kCursorStart, shape.startLine & 0x1F);
        m_adapter.WriteCrtc(kCursorStart + 1, shape.endLine & 0x1F);
        m_adapter.WriteCrtc(kCursorHigh, static_cast<uint8_t>(offset >> 8));
        m_adapter.WriteCrtc(kCursorHigh + 1, static_cast<uint8_t>(offset));
        m_kind = Kind::Hardware;
        return;
    }
    m_nCell = (mono ? 0xB0000u : 0xB8000u) + (offset * 2 & 0x7FFF);
    m_nCellWord = static_cast<uint16_t>(m_memory.Read8(m_nCell) | m_memory.Read8(m_nCell + 1) << 8);
    const uint16_t shown = static_cast<uint16_t>((m_nCellWord & shape.screenMask) ^ shape.cursorMask);
    m_memory.Write8(m_nCell, static_cast<uint8_t>(shown));
    m_memory.Write8(m_nCell + 1, static_cast<uint8_t>(shown >> 8));
    m_kind = Kind::Software;
}

void CMouseCursor::Erase()
{
    switch (m_kind) {
    case Kind::Graphics: {
        for (int py = m_nTop; py < m_nBottom; ++py)
            for (int px = m_nLeft; px < m_nRight; ++px)
                m_adapter.SetPixel(0, px, py, m_under[m_nUnderFirst + (py - m_nTop) * 16 + (px - m_nLeft)]);
        break;
    }
    case Kind::Software:
        m_memory.Write8(m_nCell, static_cast<uint8_t>(m_nCellWord));
        m_memory.Write8(m_nCell + 1, static_cast<uint8_t>(m_nCellWord >> 8));
        break;
    case Kind::Hardware:
        for (size_t i = 0; i < m_crtc.size(); ++i)
            m_adapter.WriteCrtc(kCursorRegisters[i], m_crtc[i]);
        break;
    case Kind::None:
        break;
    }
    m_kind = Kind::None;
}

}  // namespace dos
