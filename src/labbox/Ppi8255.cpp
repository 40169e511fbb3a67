// The 8255A's ports, its handshake flip-flops and the status that port C reads in modes 1
// and 2, with the bit assignments of the data sheet's mode figures.
#include "labbox/Ppi8255.h"

namespace labbox {

namespace {
// Port C's bits in modes 1 and 2.
constexpr unsigned kIntrB = 0, kIbfObfB = 1, kStbAckB = 2, kIntrA = 3, kStbA = 4, kIbfA = 5, kAckA = 6, kObfA = 7;

constexpr uint8_t Bit(unsigned bit)
{
    return static_cast<uint8_t>(1u << bit);
}
}

void CPpi8255::Reset()
{
    *this = CPpi8255{};
}

bool CPpi8255::IntrA() const
{
    const bool input = (ModeA() == 1 && InputA()) || ModeA() == 2;
    const bool output = (ModeA() == 1 && !InputA()) || ModeA() == 2;
    return (input && Driven(kStbA) && m_bIbfA && m_bInteA2) || (output && Driven(kAckA) && !m_bObfA && m_bInteA1);
}

bool CPpi8255::IntrB() const
{
    if (ModeB() == 0)
        return false;
    return InputB() ? Driven(kStbAckB) && m_bIbfB && m_bInteB : Driven(kStbAckB) && !m_bObfB && m_bInteB;
}

uint8_t CPpi8255::HandshakeBits() const
{
    uint8_t bits = 0;
    if (ModeA() == 2)
        bits |= Bit(kObfA) | Bit(kAckA) | Bit(kIbfA) | Bit(kStbA) | Bit(kIntrA);
    else if (ModeA() == 1)
        bits |= (InputA() ? Bit(kStbA) | Bit(kIbfA) : Bit(kObfA) | Bit(kAckA)) | Bit(kIntrA);
    if (ModeB() == 1)
        bits |= Bit(kIntrB) | Bit(kIbfObfB) | Bit(kStbAckB);
    return bits;
}

uint8_t CPpi8255::HandshakeOutputs() const
{
    // STB and ACK are the inputs among them.
    return static_cast<uint8_t>(HandshakeBits() & ~(Bit(kStbA) | Bit(kAckA) | Bit(kStbAckB)));
}

uint8_t CPpi8255::PlainOutputsC() const
{
    const uint8_t outputs = static_cast<uint8_t>(((m_nControl & 0x08) ? 0 : 0xF0) | ((m_nControl & 0x01) ? 0 : 0x0F));
    return static_cast<uint8_t>(outputs & ~HandshakeBits());
}

uint8_t CPpi8255::HandshakeState(bool forRead) const
{
    uint8_t state = 0;
    const auto put = [&state](unsigned bit, bool on) {
        if (on)
            state |= Bit(bit);
    };
    put(kIntrA, IntrA());
    put(kIbfA, m_bIbfA);
    // OBF is low while the buffer is full.
    put(kObfA, !m_bObfA);
    put(kIntrB, IntrB());
    put(kIbfObfB, InputB() ? m_bIbfB : !m_bObfB);
    // Where STB and ACK come in, a read shows the INTE flip-flops.
    put(kStbA, forRead ? m_bInteA2 : Driven(kStbA));
    put(kAckA, forRead ? m_bInteA1 : Driven(kAckA));
    put(kStbAckB, forRead ? m_bInteB : Driven(kStbAckB));
    return static_cast<uint8_t>(state & HandshakeBits());
}

uint8_t CPpi8255::Pins(Port port) const
{
    switch (port) {
    case kA:
        // Mode 2 drives port A only while ACK is low.
        if (ModeA() == 2)
            return Driven(kAckA) ? m_driven[kA] : m_latch[kA];
        return InputA() ? m_driven[kA] : m_latch[kA];
    case kB:
        return InputB() ? m_driven[kB] : m_latch[kB];
    case kC:
        break;
    }
    const uint8_t plain = PlainOutputsC();
    const uint8_t handshake = HandshakeOutputs();
    return static_cast<uint8_t>((m_latch[kC] & plain) | (HandshakeState(false) & handshake) |
                                (m_driven[kC] & ~(plain | handshake)));
}

uint8_t CPpi8255::Outputs(Port port) const
{
    switch (port) {
    case kA:
        if (ModeA() == 2)
            return Driven(kAckA) ? 0 : 0xFF;
        return InputA() ? 0 : 0xFF;
    case kB:
        return InputB() ? 0 : 0xFF;
    case kC:
        break;
    }
    return static_cast<uint8_t>(PlainOutputsC() | HandshakeOutputs());
}

uint8_t CPpi8255::Read(unsigned address)
{
    switch (address & 3) {
    case kA:
        if (ModeA() == 2 || (ModeA() == 1 && InputA())) {
            m_bIbfA = false;
            return m_input[kA];
        }
        return InputA() ? m_driven[kA] : m_latch[kA];
    case kB:
        if (ModeB() == 1 && InputB()) {
            m_bIbfB = false;
            return m_input[kB];
        }
        return InputB() ? m_driven[kB] : m_latch[kB];
    case kC: {
        const uint8_t plain = PlainOutputsC();
        const uint8_t handshake = HandshakeBits();
        return static_cast<uint8_t>((m_latch[kC] & plain) | HandshakeState(true) | (m_driven[kC] & ~(plain | handshake)));
    }
    default:
        // The control register cannot be read.
        return 0xFF;
    }
}

void CPpi8255::Write(unsigned address, uint8_t value)
{
    switch (address & 3) {
    case kA:
        m_latch[kA] = value;
        if (ModeA() == 2 || (ModeA() == 1 && !InputA()))
            m_bObfA = true;
        break;
    case kB:
        m_latch[kB] = value;
        if (ModeB() == 1 && !InputB())
            m_bObfB = true;
        break;
    case kC:
        m_latch[kC] = value;
        break;
    default:
        if (value & 0x80) {
            // A mode word clears every output latch and the status flip-flops.
            const uint8_t driven[3] = {m_driven[kA], m_driven[kB], m_driven[kC]};
            Reset();
            m_nControl = value;
            for (unsigned port = 0; port < 3; ++port)
                m_driven[port] = driven[port];
        } else {
            SetC((value >> 1) & 7, value & 1);
        }
        break;
    }
}

void CPpi8255::SetC(unsigned bit, bool on)
{
    // The bit set/reset of STB's or ACK's place sets its INTE flip-flop.
    if (HandshakeBits() & Bit(bit)) {
        if (bit == kStbA)
            m_bInteA2 = on;
        else if (bit == kAckA)
            m_bInteA1 = on;
        else if (bit == kStbAckB)
            m_bInteB = on;
        return;
    }
    m_latch[kC] = static_cast<uint8_t>(on ? m_latch[kC] | Bit(bit) : m_latch[kC] & ~Bit(bit));
}

void CPpi8255::Drive(Port port, uint8_t levels)
{
    const uint8_t changed = static_cast<uint8_t>(m_driven[port] ^ levels);
    m_driven[port] = levels;
    if (port != kC)
        return;
    const uint8_t inputs = static_cast<uint8_t>(HandshakeBits() & (Bit(kStbA) | Bit(kAckA) | Bit(kStbAckB)));
    for (unsigned bit = 0; bit < 8; ++bit)
        if (changed & inputs & Bit(bit))
            Strobed(bit, (levels >> bit) & 1);
}

void CPpi8255::Strobed(unsigned bit, bool high)
{
    // Only the falling edges act; INTR follows the pins' return high.
    if (high)
        return;
    if (bit == kStbA) {
        m_input[kA] = m_driven[kA];
        m_bIbfA = true;
    } else if (bit == kAckA) {
        m_bObfA = false;
    } else if (InputB()) {
        m_input[kB] = m_driven[kB];
        m_bIbfB = true;
    } else {
        m_bObfB = false;
    }
}

}  // namespace labbox
