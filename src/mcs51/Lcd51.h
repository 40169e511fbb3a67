// An LCD1602: two lines of 16 characters behind an HD44780 controller, as its data sheet has
// it: the instruction set, the 8- and 4-bit interfaces (in 4 bits, DB7-DB4, the high nibble
// first), DDRAM and CGRAM with the address counter, the display shift, and the busy flag with
// the execution times (1.52 ms for clear and home, 37 us for the others; at 12 MHz a machine
// cycle is 1 us). An instruction or character written while the controller is busy is lost,
// as on the chip. A write is taken at E's falling edge; while E is high with RW high the
// controller drives the data lines (busy flag and address, or the RAM's byte).
#pragma once

#include "mcs51/BoardPart51.h"

#include <array>

namespace mcs51 {

class CLcd51 final : public CBoardPart51 {
public:
    struct Wiring {
        unsigned dataPort = 0;
        Pin51 rs{};
        Pin51 rw{};
        Pin51 e{};
    };

    explicit CLcd51(const Wiring& wiring);

    std::string_view Name() const override { return "lcd"; }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override;
    void OnCycle(uint64_t cycle) override;
    // "LCD: 开" (or 关, the display switched off), then "LCD1: " and "LCD2: " with the 16
    // characters each line shows.
    std::string Text(uint64_t now) const override;
    void Draw(machine::CCanvas& canvas, const machine::Rect& place, uint64_t now) const override;

    // The 16 character codes a line (0 or 1) shows; blanks (20h) where nothing shows.
    std::array<uint8_t, 16> Line(unsigned line) const;

private:
    void Follow(uint64_t cycle) override;
    void PowerOn();
    // One byte (both nibbles in the 4-bit interface) from the program.
    void Write(bool data, uint8_t byte, uint64_t cycle);
    void Instruction(uint8_t byte, uint64_t cycle);
    void WriteData(uint8_t byte);
    // What a read gives (the busy flag and the address counter, or the RAM's byte at it).
    uint8_t ReadValue(bool data, uint64_t cycle) const;
    // After a data read: the address counter moves on.
    void AfterRead();
    // Drives the data lines for a read under way, or lets them go.
    void DriveRead(uint64_t cycle);
    void MoveAddress(bool increment);
    size_t DdramIndex(uint8_t address) const;
    // The DDRAM byte a line's column shows, the display's shift taken into account.
    size_t ShownIndex(unsigned line, unsigned column) const;
    machine::CLcdFont::Glyph GlyphOf(uint8_t code) const;
    bool Busy(uint64_t cycle) const { return cycle < m_nBusyUntil; }

    Wiring m_wiring;
    std::array<uint8_t, 80> m_ddram{};
    std::array<uint8_t, 64> m_cgram{};
    uint8_t m_nAddress = 0;
    bool m_bCgram = false;
    bool m_bIncrement = true;
    bool m_bShiftOnWrite = false;
    bool m_bDisplayOn = false;
    bool m_bCursor = false;
    bool m_bBlink = false;
    bool m_bEightBit = true;
    bool m_bTwoLines = false;
    // The display's shift: the DDRAM column shown first.
    unsigned m_nShift = 0;
    uint64_t m_nBusyUntil = 0;
    // The 4-bit interface: a high nibble waiting for its low one, and the nibble a read gives next.
    bool m_bHighNibbleDone = false;
    uint8_t m_byHighNibble = 0;
    bool m_bReadLowNext = false;
    bool m_bEnable = false;
    bool m_bReading = false;
};

}  // namespace mcs51
