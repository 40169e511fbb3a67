// The adapter's CRTC, status port and picture of its text screen.
#include "dos/VideoAdapter.h"

#include "dos/DeviceText.h"

namespace dos {

namespace {

// A text mode's frame: 449 lines of 31.78 us (70 Hz); 400 show, the vertical retrace pulse
// takes lines 412 and 413, and each line is blank for its last fifth.
constexpr uint64_t kLineNs = 31778;
constexpr uint64_t kLines = 449;
constexpr uint64_t kShownLines = 400;
constexpr uint64_t kRetraceFirst = 412;
constexpr uint64_t kRetraceEnd = 414;
constexpr uint64_t kShownInLineNs = kLineNs * 4 / 5;
// CRTC registers: the cursor's start line (bit 5 hides it), the start address and the cursor's
// location, each a word high byte first.
constexpr uint8_t kCursorStart = 0x0A;
constexpr uint8_t kStartHigh = 0x0C;
constexpr uint8_t kCursorHigh = 0x0E;

}

void CVideoAdapter::SetTextMode(bool mono, int columns, int rows)
{
    m_bMono = mono;
    m_nColumns = columns;
    m_nRows = rows;
    m_crtc[0x01] = static_cast<uint8_t>(columns - 1);
}

void CVideoAdapter::WriteCrtc(uint8_t index, uint8_t value)
{
    m_crtc[index & 31] = value;
}

uint8_t CVideoAdapter::Status() const
{
    const uint64_t inFrame = m_clock.Now() % (kLineNs * kLines);
    const uint64_t line = inFrame / kLineNs;
    const bool blank = line >= kShownLines || inFrame % kLineNs >= kShownInLineNs;
    const bool retrace = line >= kRetraceFirst && line < kRetraceEnd;
    return static_cast<uint8_t>((blank ? 0x01 : 0) | (retrace ? 0x08 : 0));
}

uint8_t CVideoAdapter::In(uint16_t port)
{
    if (!OwnPort(port))
        return 0xFF;
    switch (port & 0x0F) {
    case 0x4: return m_nIndex;
    case 0x5: return m_crtc[m_nIndex & 31];
    case 0xA: return Status();
    default: return 0xFF;
    }
}

void CVideoAdapter::Out(uint16_t port, uint8_t value)
{
    if (!OwnPort(port))
        return;
    if ((port & 0x0F) == 0x4)
        m_nIndex = value;
    else if ((port & 0x0F) == 0x5)
        m_crtc[m_nIndex & 31] = value;
}

machine::ScreenImage CVideoAdapter::Screen() const
{
    machine::ScreenImage image = machine::ScreenImage::Cells(m_nColumns, m_nRows);
    const uint32_t base = m_bMono ? 0xB0000 : 0xB8000;
    const uint16_t start = Word(kStartHigh);
    const uint8_t* memory = m_memory.Data();
    for (int row = 0; row < m_nRows; ++row) {
        for (int column = 0; column < m_nColumns; ++column) {
            const uint32_t at = base + ((start + row * m_nColumns + column) * 2u & 0x7FFF);
            image.Cell(row, column) = static_cast<uint16_t>(memory[at] | memory[at + 1] << 8);
        }
    }
    const int cursor = Word(kCursorHigh) - start;
    image.cursorShown = (m_crtc[kCursorStart] & 0x20) == 0 && cursor >= 0 && cursor < m_nColumns * m_nRows;
    if (image.cursorShown) {
        image.cursorRow = cursor / m_nColumns;
        image.cursorColumn = cursor % m_nColumns;
    }
    return image;
}

machine::DeviceView CVideoAdapter::View() const
{
    std::string crtc;
    for (uint8_t index = 0; index < 16; ++index)
        crtc += (index ? " " : "") + DeviceText::Hex(m_crtc[index], 2);
    return {DeviceText::Line(std::string(m_bMono ? "MDA" : "CGA") + " " + std::to_string(m_nColumns) + "x" +
                             std::to_string(m_nRows) + " CRTC " + crtc),
            Screen()};
}

}  // namespace dos
