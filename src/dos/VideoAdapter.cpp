// The adapter's ports, the CPU's window on its planes, and the picture of its text or graphics
// screen as the registers lay the memory out.
#include "dos/VideoAdapter.h"

#include "dos/DeviceText.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

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
// CRTC registers: the horizontal display end, the overflow, the maximum scan line (bit 7 scan
// doubling), the cursor's start line (bit 5 hides it), the start address and the cursor's
// location (words, high byte first), the vertical display end, the offset, the underline
// location (bit 6 doubleword addressing) and the mode control (bit 6 byte addressing, bit 0
// clear for the CGA's two banks).
constexpr uint8_t kHorizontalEnd = 0x01;
constexpr uint8_t kOverflow = 0x07;
constexpr uint8_t kMaxScanLine = 0x09;
constexpr uint8_t kCursorStart = 0x0A;
constexpr uint8_t kStartHigh = 0x0C;
constexpr uint8_t kCursorHigh = 0x0E;
constexpr uint8_t kVerticalEnd = 0x12;
constexpr uint8_t kOffset = 0x13;
constexpr uint8_t kUnderline = 0x14;
constexpr uint8_t kModeControl = 0x17;
constexpr uint32_t kCgaMemory = 0xB8000;
constexpr uint32_t kCgaBank = 0x2000;
constexpr uint32_t kCgaSize = 0x8000;

template <typename T>
std::span<uint8_t> BytesOf(T& object)
{
    static_assert(std::is_trivially_copyable_v<T>, "kept by the history as bytes");
    return {reinterpret_cast<uint8_t*>(&object), sizeof(T)};
}

}

CVideoAdapter::RegisterWatch::RegisterWatch(CVideoAdapter& adapter)
    : m_adapter(adapter), m_bJournals(adapter.m_nWatches++ == 0 && adapter.m_memory.Journaled())
{
    if (m_bJournals)
        m_adapter.CopyRegisters(m_adapter.m_registersBefore.data());
}

CVideoAdapter::RegisterWatch::~RegisterWatch()
{
    if (m_bJournals)
        m_adapter.JournalRegisters(m_adapter.m_registersBefore.data());
    --m_adapter.m_nWatches;
}

CVideoAdapter::CVideoAdapter(CMemory& memory, const CMachineClock& clock)
    : m_memory(memory), m_clock(clock), m_nStateBase(memory.AddJournaledState(*this, kStateSize))
{
    m_planes.JournalInto(memory, m_nStateBase);
}

std::array<std::span<uint8_t>, 3> CVideoAdapter::RegisterBlocks()
{
    return {BytesOf(m_planes.RegisterBlock()), BytesOf(m_own), BytesOf(m_palette)};
}

void CVideoAdapter::CopyRegisters(uint8_t* bytes)
{
    for (const std::span<uint8_t> block : RegisterBlocks())
        bytes = std::copy(block.begin(), block.end(), bytes);
}

void CVideoAdapter::JournalRegisters(const uint8_t* before)
{
    uint32_t address = m_nStateBase + CVgaMemory::kPlanesSize;
    for (const std::span<uint8_t> block : RegisterBlocks())
        for (const uint8_t byte : block) {
            if (byte != *before)
                m_memory.RecordState(address, *before);
            ++before;
            ++address;
        }
}

void CVideoAdapter::RestoreState(uint32_t offset, uint8_t value)
{
    if (offset < CVgaMemory::kPlanesSize) {
        m_planes.RestorePlane(static_cast<int>(offset / CVgaMemory::kPlaneSize), offset % CVgaMemory::kPlaneSize, value);
        return;
    }
    offset -= CVgaMemory::kPlanesSize;
    for (const std::span<uint8_t> block : RegisterBlocks()) {
        if (offset < block.size()) {
            block[offset] = value;
            return;
        }
        offset -= static_cast<uint32_t>(block.size());
    }
}

void CVideoAdapter::LoadMode(const VgaMode& mode, bool keepMemory)
{
    m_own.misc = mode.misc;
    m_own.mono = (mode.misc & 1) == 0;
    for (uint8_t i = 0; i < mode.sequencer.size(); ++i)
        m_planes.SetSequencerRegister(i, mode.sequencer[i]);
    for (uint8_t i = 0; i < mode.crtc.size(); ++i)
        m_own.crtc[i] = mode.crtc[i];
    for (uint8_t i = 0; i < mode.graphics.size(); ++i)
        m_planes.SetGraphicsRegister(i, mode.graphics[i]);
    for (uint8_t i = 0; i < mode.attributes.size(); ++i)
        m_palette.SetAttribute(i, mode.attributes[i]);
    for (int entry = 0; entry < VgaMode::DacEntries(mode.dac); ++entry) {
        const auto rgb = VgaMode::DefaultDac(mode.dac, entry);
        m_palette.SetDac(static_cast<uint8_t>(entry), rgb[0], rgb[1], rgb[2]);
    }
    m_palette.SetPelMask(0xFF);
    m_own.columns = mode.columns;
    m_own.rows = mode.rows;
    if (!keepMemory)
        m_planes.Clear();
}

void CVideoAdapter::SetTextMode(bool mono, int columns, int rows)
{
    m_own.mono = mono;
    m_own.columns = columns;
    m_own.rows = rows;
    m_own.crtc[kHorizontalEnd] = static_cast<uint8_t>(columns - 1);
}

void CVideoAdapter::WriteCrtc(uint8_t index, uint8_t value)
{
    m_own.crtc[index & 31] = value;
}

VgaMode::Layout CVideoAdapter::Layout() const
{
    const uint8_t misc = m_planes.GraphicsRegister(CVgaMemory::kMisc);
    if ((misc & 0x01) == 0)
        return VgaMode::Layout::Text;
    if (m_palette.Attribute(CVgaPalette::kModeControl) & 0x40)
        return VgaMode::Layout::Chained;
    return (misc >> 2 & 3) == 3 ? VgaMode::Layout::Cga : VgaMode::Layout::Planar;
}

uint8_t CVideoAdapter::Status() const
{
    const uint64_t inFrame = m_clock.Now() % (kLineNs * kLines);
    const uint64_t line = inFrame / kLineNs;
    const bool blank = line >= kShownLines || inFrame % kLineNs >= kShownInLineNs;
    const bool retrace = line >= kRetraceFirst && line < kRetraceEnd;
    return static_cast<uint8_t>((blank ? 0x01 : 0) | (retrace ? 0x08 : 0));
}

uint8_t CVideoAdapter::PortIn(uint16_t port)
{
    switch (port) {
    case 0x3C4: return m_own.sequencerIndex;
    case 0x3C5: return m_planes.SequencerRegister(m_own.sequencerIndex);
    case 0x3CC: return m_own.misc;
    case 0x3CE: return m_own.graphicsIndex;
    case 0x3CF: return m_planes.GraphicsRegister(m_own.graphicsIndex);
    default: return m_palette.In(port);
    }
}

uint8_t CVideoAdapter::In(uint16_t port)
{
    // Reads move the attribute flip-flop and the DAC's read index.
    const RegisterWatch watch(*this);
    if ((port & 0xFFF0) == 0x3C0)
        return PortIn(port);
    if (!OwnPort(port))
        return 0xFF;
    switch (port & 0x0F) {
    case 0x4: return m_own.index;
    case 0x5: return m_own.crtc[m_own.index & 31];
    case 0xA:
        m_palette.ResetFlipFlop();
        return Status();
    default: return 0xFF;
    }
}

void CVideoAdapter::Out(uint16_t port, uint8_t value)
{
    const RegisterWatch watch(*this);
    switch (port) {
    case 0x3C2: m_own.misc = value; m_own.mono = (value & 1) == 0; return;
    case 0x3C4: m_own.sequencerIndex = value; return;
    case 0x3C5: m_planes.SetSequencerRegister(m_own.sequencerIndex, value); return;
    case 0x3CE: m_own.graphicsIndex = value; return;
    case 0x3CF: m_planes.SetGraphicsRegister(m_own.graphicsIndex, value); return;
    default: break;
    }
    if ((port & 0xFFF0) == 0x3C0) {
        m_palette.Out(port, value);
        return;
    }
    if (!OwnPort(port))
        return;
    if ((port & 0x0F) == 0x4)
        m_own.index = value;
    else if ((port & 0x0F) == 0x5)
        m_own.crtc[m_own.index & 31] = value;
}

uint8_t CVideoAdapter::Peek(uint32_t linear)
{
    return PlanesMapped() ? m_planes.Peek(linear - kGraphicsFirst) : 0xFF;
}

// A read loads the latches: outside a watch they go to the history here, as cheaply as the
// CPU's reads need.
uint8_t CVideoAdapter::Read(uint32_t linear)
{
    if (!PlanesMapped())
        return 0xFF;
    if (m_nWatches > 0 || !m_memory.Journaled())
        return m_planes.Read(linear - kGraphicsFirst);
    const std::array<uint8_t, 4> latches = m_planes.RegisterBlock().latches;
    const uint8_t value = m_planes.Read(linear - kGraphicsFirst);
    const uint32_t first = m_nStateBase + CVgaMemory::kPlanesSize + offsetof(CVgaMemory::Registers, latches);
    for (uint32_t plane = 0; plane < latches.size(); ++plane)
        if (latches[plane] != m_planes.Latch(static_cast<int>(plane)))
            m_memory.RecordState(first + plane, latches[plane]);
    return value;
}

void CVideoAdapter::Write(uint32_t linear, uint8_t value)
{
    if (PlanesMapped())
        m_planes.Write(linear - kGraphicsFirst, value);
}

int CVideoAdapter::Width() const
{
    const int characters = m_own.crtc[kHorizontalEnd] + 1;
    return Layout() == VgaMode::Layout::Chained ? characters * 4 : characters * 8;
}

int CVideoAdapter::Height() const
{
    const int lines = (m_own.crtc[kVerticalEnd] | (m_own.crtc[kOverflow] & 0x02) << 7 | (m_own.crtc[kOverflow] & 0x40) << 3) + 1;
    const int doubled = (m_own.crtc[kMaxScanLine] & 0x80) ? lines / 2 : lines;
    // The CGA's layout takes its rows' two scan lines from the two banks; elsewhere a row
    // repeats for each scan line.
    const bool banks = (m_own.crtc[kModeControl] & 0x01) == 0;
    return banks ? doubled : doubled / ((m_own.crtc[kMaxScanLine] & 0x1F) + 1);
}

uint32_t CVideoAdapter::CgaAddress(uint32_t base, int x, int y, int pixelsPerByte) const
{
    const uint32_t words = (m_own.crtc[kModeControl] & 0x40) ? 1 : 2;
    const uint32_t offset = base + (y & 1) * kCgaBank + (y >> 1) * LineBytes() * words + x / pixelsPerByte;
    return kCgaMemory + offset % kCgaSize;
}

uint8_t CVideoAdapter::PixelIn(VgaMode::Layout layout, uint32_t base, int x, int y) const
{
    switch (layout) {
    case VgaMode::Layout::Chained: {
        const uint32_t at = base + y * LineBytes() * 4u + x;
        return m_planes.Plane(at & 3, at >> 2);
    }
    case VgaMode::Layout::Planar: {
        const uint32_t at = base + y * LineBytes() + x / 8;
        uint8_t value = 0;
        for (int plane = 0; plane < 4; ++plane)
            value |= static_cast<uint8_t>((m_planes.Plane(plane, at) >> (7 - x % 8) & 1) << plane);
        return value;
    }
    case VgaMode::Layout::Cga: {
        const uint8_t* memory = m_memory.Data();
        if (OneBitCga())
            return memory[CgaAddress(base, x, y, 8)] >> (7 - x % 8) & 1;
        return memory[CgaAddress(base, x, y, 4)] >> (6 - x % 4 * 2) & 3;
    }
    default:
        return 0;
    }
}

void CVideoAdapter::SetPixel(uint32_t base, int x, int y, uint8_t value)
{
    switch (Layout()) {
    case VgaMode::Layout::Chained: {
        const uint32_t at = base + y * LineBytes() * 4u + x;
        m_planes.SetPlane(at & 3, at >> 2, value);
        break;
    }
    case VgaMode::Layout::Planar: {
        const uint32_t at = base + y * LineBytes() + x / 8;
        const uint8_t bit = static_cast<uint8_t>(0x80 >> x % 8);
        for (int plane = 0; plane < 4; ++plane) {
            const uint8_t old = m_planes.Plane(plane, at);
            m_planes.SetPlane(plane, at, static_cast<uint8_t>((value >> plane & 1) ? old | bit : old & ~bit));
        }
        break;
    }
    case VgaMode::Layout::Cga: {
        const int perByte = OneBitCga() ? 8 : 4;
        const int bits = 8 / perByte;
        const int shift = 8 - bits - x % perByte * bits;
        const uint8_t mask = static_cast<uint8_t>(((1 << bits) - 1) << shift);
        const uint32_t at = CgaAddress(base, x, y, perByte);
        m_memory.Write8(at, static_cast<uint8_t>((m_memory.Read8(at) & ~mask) | (value << shift & mask)));
        break;
    }
    default:
        break;
    }
}

machine::ScreenImage CVideoAdapter::TextScreen() const
{
    machine::ScreenImage image = machine::ScreenImage::Cells(m_own.columns, m_own.rows);
    const uint32_t base = m_own.mono ? 0xB0000 : 0xB8000;
    const uint16_t start = Word(kStartHigh);
    const uint8_t* memory = m_memory.Data();
    for (int row = 0; row < m_own.rows; ++row) {
        for (int column = 0; column < m_own.columns; ++column) {
            const uint32_t at = base + ((start + row * m_own.columns + column) * 2u & 0x7FFF);
            image.Cell(row, column) = static_cast<uint16_t>(memory[at] | memory[at + 1] << 8);
        }
    }
    for (uint8_t colour = 0; colour < 16; ++colour)
        image.palette[colour] = m_palette.Colour(m_palette.DacIndex(colour));
    const int cursor = Word(kCursorHigh) - start;
    image.cursorShown = (m_own.crtc[kCursorStart] & 0x20) == 0 && cursor >= 0 && cursor < m_own.columns * m_own.rows;
    if (image.cursorShown) {
        image.cursorRow = cursor / m_own.columns;
        image.cursorColumn = cursor % m_own.columns;
    }
    return image;
}

machine::ScreenImage CVideoAdapter::GraphicsScreen() const
{
    const VgaMode::Layout layout = Layout();
    const bool chained = layout == VgaMode::Layout::Chained;
    uint32_t colours[256];
    for (int value = 0; value < 256; ++value) {
        const uint8_t v = static_cast<uint8_t>(value);
        colours[value] = m_palette.Colour(chained ? v : m_palette.DacIndex(v));
    }
    const int width = Width(), height = Height();
    machine::ScreenImage image = machine::ScreenImage::Pixels(width, height);
    const uint32_t start = layout == VgaMode::Layout::Planar ? Word(kStartHigh) : Word(kStartHigh) * (chained ? 4u : 2u);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixel(x, y) = colours[PixelIn(layout, start, x, y)];
    return image;
}

machine::ScreenImage CVideoAdapter::Screen() const
{
    return Layout() == VgaMode::Layout::Text ? TextScreen() : GraphicsScreen();
}

machine::DeviceView CVideoAdapter::View() const
{
    std::string crtc;
    for (uint8_t index = 0; index < 16; ++index)
        crtc += (index ? " " : "") + DeviceText::Hex(m_own.crtc[index], 2);
    const std::string shows = Layout() == VgaMode::Layout::Text
                                  ? std::string(m_own.mono ? "MDA" : "CGA") + " " + std::to_string(m_own.columns) + "x" + std::to_string(m_own.rows)
                                  : "VGA " + std::to_string(Width()) + "x" + std::to_string(Height());
    return {DeviceText::Line(shows + " CRTC " + crtc), Screen()};
}

}  // namespace dos
