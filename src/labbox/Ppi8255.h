// The 8255A programmable peripheral interface as its data sheet describes it: ports A, B and C
// in mode 0 (plain input or output), mode 1 (strobed input or output, port C carrying STB or
// ACK, IBF or OBF and INTR) and mode 2 (port A both ways), the mode word and port C's bit
// set/reset; reads of ports set as outputs give their latch. Whoever wires it drives the pins
// with Drive and reads what the chip drives with Pins.
#pragma once

#include <cstdint>

namespace labbox {

class CPpi8255 {
public:
    enum Port : unsigned { kA = 0, kB = 1, kC = 2 };

    // As after RESET: every port an input in mode 0, the latches cleared.
    void Reset();

    // A0-A1 select port A, B, C or the control register (3, written only).
    uint8_t Read(unsigned address);
    void Write(unsigned address, uint8_t value);

    // What the outside drives on a port's pins (every bit; the chip looks at its inputs).
    void Drive(Port port, uint8_t levels);
    // The port's pins as the outside sees them: the chip's outputs, and where it drives
    // nothing, what the outside drives.
    uint8_t Pins(Port port) const;
    // The bits of a port the chip itself drives (its outputs and handshake outputs).
    uint8_t Outputs(Port port) const;

private:
    unsigned ModeA() const { return (m_nControl >> 5) & 3 ? ((m_nControl & 0x40) ? 2u : 1u) : 0u; }
    unsigned ModeB() const { return (m_nControl >> 2) & 1; }
    bool InputA() const { return m_nControl & 0x10; }
    bool InputB() const { return m_nControl & 0x02; }
    // The bits of port C that carry the handshake of modes 1 and 2, and of those the ones the
    // chip drives.
    uint8_t HandshakeBits() const;
    uint8_t HandshakeOutputs() const;
    // The bits of port C that are plain outputs.
    uint8_t PlainOutputsC() const;
    // Port C's handshake bits as the flip-flops and INTE set them, at their places.
    uint8_t HandshakeState(bool forRead) const;
    void SetC(unsigned bit, bool on);
    // A handshake input pin of port C moved.
    void Strobed(unsigned bit, bool high);
    bool Driven(unsigned bitOfC) const { return (m_driven[kC] >> bitOfC) & 1; }
    bool IntrA() const;
    bool IntrB() const;

    uint8_t m_nControl = 0x9B;
    uint8_t m_latch[3] = {};
    uint8_t m_driven[3] = {};
    // What STB latched into ports A and B.
    uint8_t m_input[2] = {};
    // Mode 1 and 2 flip-flops: input buffer full, output buffer full (true: full, OBF low),
    // interrupt enable (INTE A1 at PC6 for output, INTE A2 at PC4 for input, INTE B at PC2).
    bool m_bIbfA = false;
    bool m_bIbfB = false;
    bool m_bObfA = false;
    bool m_bObfB = false;
    bool m_bInteA1 = false;
    bool m_bInteA2 = false;
    bool m_bInteB = false;
};

}  // namespace labbox
