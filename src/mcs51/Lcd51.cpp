// The HD44780's instructions, its RAM and its pins, and the glass as a person sees it.
#include "mcs51/Lcd51.h"

#include "mcs51/BoardColours51.h"

#include <algorithm>

namespace mcs51 {

namespace {
const uint64_t kLongExecution = 1520;
const uint64_t kExecution = 37;
const uint8_t kBlank = 0x20;
const unsigned kLineLength = 40;
// The cursor blinks at 409.6 ms a phase (a 250 kHz clock).
const uint64_t kBlinkPhase = 409600;
const char kOn[] = "\xBF\xAA";
const char kOff[] = "\xB9\xD8";
}

void CLcd51::PowerOn()
{
    // The data sheet's initialization by the internal reset: display clear, 8 bits, one line,
    // display, cursor and blink off, increment without shift.
    m_ddram.fill(kBlank);
    m_nAddress = 0;
    m_bCgram = false;
    m_bIncrement = true;
    m_bShiftOnWrite = false;
    m_bDisplayOn = m_bCursor = m_bBlink = false;
    m_bEightBit = true;
    m_bTwoLines = false;
    m_nShift = 0;
    m_nBusyUntil = 0;
    m_bHighNibbleDone = m_bReadLowNext = false;
}

CLcd51::CLcd51(const Wiring& wiring) : m_wiring(wiring)
{
    PowerOn();
}

void CLcd51::Follow(uint64_t cycle)
{
    // The LCD keeps its power and its state through the chip's reset; the times count afresh.
    m_nBusyUntil = 0;
    m_bEnable = m_wiring.e.High(Link().Latch(m_wiring.e.port));
    m_bReading = false;
    DriveRead(cycle);
}

void CLcd51::OnLatch(unsigned port, uint8_t, uint64_t cycle)
{
    if (port != m_wiring.dataPort && port != m_wiring.e.port && port != m_wiring.rs.port && port != m_wiring.rw.port)
        return;
    const bool enable = m_wiring.e.High(Link().Latch(m_wiring.e.port));
    const bool read = m_wiring.rw.High(Link().Latch(m_wiring.rw.port));
    const bool data = m_wiring.rs.High(Link().Latch(m_wiring.rs.port));
    const bool falling = m_bEnable && !enable;
    m_bEnable = enable;
    if (falling && m_bReading) {
        m_bReading = false;
        if (data)
            AfterRead();
        else if (!m_bEightBit)
            m_bReadLowNext = !m_bReadLowNext;
    } else if (falling && !read) {
        Write(data, Link().Latch(m_wiring.dataPort), cycle);
    }
    m_bReading = enable && read;
    DriveRead(cycle);
}

void CLcd51::OnCycle(uint64_t cycle)
{
    DriveRead(cycle);
}

void CLcd51::DriveRead(uint64_t cycle)
{
    if (!m_bReading) {
        Link().Drive(m_wiring.dataPort, 0xFF);
        return;
    }
    const bool data = m_wiring.rs.High(Link().Latch(m_wiring.rs.port));
    uint8_t value = ReadValue(data, cycle);
    if (!m_bEightBit)
        value = static_cast<uint8_t>((m_bReadLowNext ? value << 4 : value) | 0x0F);
    Link().Drive(m_wiring.dataPort, value);
    // The busy flag falls while E stays high: the lines follow it then.
    if (!data && Busy(cycle))
        Link().CallAt(m_nBusyUntil);
}

uint8_t CLcd51::ReadValue(bool data, uint64_t cycle) const
{
    if (!data)
        return static_cast<uint8_t>((Busy(cycle) ? 0x80 : 0) | (m_nAddress & 0x7F));
    return m_bCgram ? m_cgram[m_nAddress & 0x3F] : m_ddram[DdramIndex(m_nAddress)];
}

void CLcd51::AfterRead()
{
    if (!m_bEightBit) {
        m_bReadLowNext = !m_bReadLowNext;
        if (m_bReadLowNext)
            return;
    }
    MoveAddress(m_bIncrement);
}

void CLcd51::Write(bool data, uint8_t byte, uint64_t cycle)
{
    if (Busy(cycle))
        return;
    if (!m_bEightBit) {
        if (!m_bHighNibbleDone) {
            m_byHighNibble = byte & 0xF0;
            m_bHighNibbleDone = true;
            return;
        }
        m_bHighNibbleDone = false;
        byte = static_cast<uint8_t>(m_byHighNibble | byte >> 4);
    }
    m_nBusyUntil = cycle + kExecution;
    if (data)
        WriteData(byte);
    else
        Instruction(byte, cycle);
}

void CLcd51::Instruction(uint8_t byte, uint64_t cycle)
{
    if (byte & 0x80) {
        m_nAddress = byte & 0x7F;
        m_bCgram = false;
    } else if (byte & 0x40) {
        m_nAddress = byte & 0x3F;
        m_bCgram = true;
    } else if (byte & 0x20) {
        m_bEightBit = byte & 0x10;
        m_bTwoLines = byte & 0x08;
        m_bReadLowNext = false;
    } else if (byte & 0x10) {
        const bool right = byte & 0x04;
        if (byte & 0x08)
            m_nShift = (m_nShift + (right ? kLineLength - 1 : 1)) % kLineLength;
        else
            MoveAddress(right);
    } else if (byte & 0x08) {
        m_bDisplayOn = byte & 0x04;
        m_bCursor = byte & 0x02;
        m_bBlink = byte & 0x01;
    } else if (byte & 0x04) {
        m_bIncrement = byte & 0x02;
        m_bShiftOnWrite = byte & 0x01;
    } else if (byte & 0x03) {
        if (byte & 0x01) {
            m_ddram.fill(kBlank);
            m_bIncrement = true;
        }
        m_nAddress = 0;
        m_nShift = 0;
        m_bCgram = false;
        m_nBusyUntil = cycle + kLongExecution;
    }
}

void CLcd51::WriteData(uint8_t byte)
{
    if (m_bCgram) {
        m_cgram[m_nAddress & 0x3F] = byte;
    } else {
        m_ddram[DdramIndex(m_nAddress)] = byte;
        if (m_bShiftOnWrite)
            m_nShift = (m_nShift + (m_bIncrement ? 1 : kLineLength - 1)) % kLineLength;
    }
    MoveAddress(m_bIncrement);
}

void CLcd51::MoveAddress(bool increment)
{
    if (m_bCgram) {
        m_nAddress = static_cast<uint8_t>((m_nAddress + (increment ? 1 : 63)) & 0x3F);
        return;
    }
    if (!m_bTwoLines) {
        m_nAddress = static_cast<uint8_t>((m_nAddress + (increment ? 1 : 79)) % 80);
        return;
    }
    // Two lines: 00h-27h and 40h-67h, each running on into the other.
    const unsigned index = static_cast<unsigned>(DdramIndex(m_nAddress));
    const unsigned next = (index + (increment ? 1 : 79)) % 80;
    m_nAddress = static_cast<uint8_t>(next < kLineLength ? next : 0x40 + next - kLineLength);
}

size_t CLcd51::DdramIndex(uint8_t address) const
{
    if (!m_bTwoLines)
        return address % 80u;
    return (address & 0x40 ? kLineLength : 0) + (address & 0x3F) % kLineLength;
}

std::array<uint8_t, 16> CLcd51::Line(unsigned line) const
{
    std::array<uint8_t, 16> codes{};
    codes.fill(kBlank);
    if (!m_bDisplayOn || (line == 1 && !m_bTwoLines))
        return codes;
    for (unsigned column = 0; column < 16; ++column)
        codes[column] = m_ddram[ShownIndex(line, column)];
    return codes;
}

size_t CLcd51::ShownIndex(unsigned line, unsigned column) const
{
    return m_bTwoLines ? line * kLineLength + (m_nShift + column) % kLineLength : (m_nShift + column) % 80;
}

std::string CLcd51::Text(uint64_t) const
{
    std::string text = std::string("LCD: ") + (m_bDisplayOn ? kOn : kOff) + "\r\n";
    for (unsigned line = 0; line < 2; ++line) {
        text += "LCD" + std::to_string(line + 1) + ": ";
        for (const uint8_t code : Line(line))
            text += machine::CLcdFont::Ascii(code);
        text += "\r\n";
    }
    return text;
}

machine::CLcdFont::Glyph CLcd51::GlyphOf(uint8_t code) const
{
    if (code >= 0x10)
        return machine::CLcdFont::Rom(code);
    machine::CLcdFont::Glyph glyph{};
    for (unsigned row = 0; row < 8; ++row)
        glyph[row] = m_cgram[(code & 7u) * 8 + row] & 0x1F;
    return glyph;
}

void CLcd51::Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const
{
    canvas.Fill(place, m_bDisplayOn ? BoardColours51::kGlass : BoardColours51::kGlassOff);
    // As big as the place allows: 16 characters of 6 dots, two lines of 9.
    const int scale = std::max(1, std::min((place.right - place.left) / 96, (place.bottom - place.top) / 18));
    const int pitch = 6 * scale;
    const int left = place.left + (place.right - place.left - 16 * pitch) / 2;
    const int top = place.top + (place.bottom - place.top - 2 * 9 * scale) / 2;
    const bool blinkOn = m_bBlink && (now / kBlinkPhase) % 2 == 0;
    for (unsigned line = 0; line < 2; ++line) {
        const std::array<uint8_t, 16> codes = Line(line);
        for (unsigned column = 0; column < 16; ++column) {
            machine::CLcdFont::Glyph glyph = GlyphOf(codes[column]);
            if (m_bDisplayOn && !m_bCgram && ShownIndex(line, column) == DdramIndex(m_nAddress) && (line == 0 || m_bTwoLines)) {
                if (m_bCursor)
                    glyph[7] = 0x1F;
                if (blinkOn)
                    glyph.fill(0x1F);
            }
            canvas.Glyph(left + static_cast<int>(column) * pitch, top + static_cast<int>(line) * 9 * scale, glyph, scale,
                         BoardColours51::kDotOn, m_bDisplayOn ? BoardColours51::kDotOff : BoardColours51::kGlassOff);
        }
    }
}

}  // namespace mcs51
