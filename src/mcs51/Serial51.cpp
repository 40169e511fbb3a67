// The serial port's frames: when each ends, and what ending it does to SCON and SBUF.
#include "mcs51/Serial51.h"

namespace mcs51 {

namespace {
const unsigned kStatesPerCycle = 6;
// Mode 0 shifts one bit a machine cycle; the flag comes at the start of the tenth cycle
// after the one that wrote SBUF or cleared RI (the last cycle of that instruction).
const uint64_t kMode0Cycles = 9;
// The receiver samples the stop bit in the middle of its bit time.
const unsigned kStopSample = 8;
}

void CSerial51::Transmit(uint8_t byte)
{
    m_f.tx = Start(true);
    m_f.tx.byte = byte;
    m_f.tx.ninth = (m_s.Sfr(kSCON) & kSconTB8) != 0;
}

uint8_t CSerial51::Sync(bool& tookInput)
{
    uint8_t fresh = 0;
    if (m_f.tx.busy && m_f.tx.due <= m_s.cycle)
        fresh |= EndTransmit();
    if (m_f.rx.busy && m_f.rx.due <= m_s.cycle)
        fresh |= EndReceive();
    const uint8_t scon = m_s.Sfr(kSCON);
    if (!m_f.rx.busy && !m_input.empty() && (scon & kSconREN) && !(scon & kSconRI)) {
        m_f.rx = Start(false);
        m_f.rx.byte = m_input.front();
        // A terminal's frame of 8 data bits and a stop bit: the stop bit is the ninth.
        m_f.rx.ninth = true;
        m_input.pop_front();
        tookInput = true;
    }
    return fresh;
}

void CSerial51::Reschedule()
{
    Schedule(m_f.tx);
    Schedule(m_f.rx);
}

Frame51 CSerial51::Start(bool transmit) const
{
    Frame51 frame;
    frame.busy = true;
    const uint8_t mode = Mode();
    if (mode == 0) {
        frame.clock = SerialClock51::kCycles;
        const uint64_t written = m_s.instructionEnd > m_s.cycle ? m_s.instructionEnd : m_s.cycle;
        frame.target = frame.due = written + kMode0Cycles;
        return frame;
    }
    // The clock of one bit: 16 ticks of the divide-by-16 counter.
    uint64_t bit = 0;
    uint64_t position = 0;
    const bool smod = m_s.Sfr(kPCON) & kPconSMOD;
    if (mode == 2) {
        frame.clock = SerialClock51::kStates;
        position = m_s.cycle * kStatesPerCycle;
        bit = smod ? 16 : 32;
    } else if (m_timers.Timer2Baud() && (m_s.Sfr(kT2CON) & (transmit ? kT2conTCLK : kT2conRCLK))) {
        frame.clock = SerialClock51::kTimer2;
        position = m_timers.Overflows(kCounterT2);
        bit = 16;
    } else {
        frame.clock = SerialClock51::kTimer1;
        position = m_timers.Overflows(kCounterT1);
        bit = smod ? 16 : 32;
    }
    const unsigned bits = mode == 1 ? 10 : 11;
    if (transmit) {
        frame.target = (position / bit + bits) * bit;
    } else {
        const uint64_t tick = bit / 16;
        frame.target = (position / tick + 1 + (bits - 1) * 16 + kStopSample) * tick;
    }
    Schedule(frame);
    return frame;
}

void CSerial51::Schedule(Frame51& frame) const
{
    if (!frame.busy)
        return;
    switch (frame.clock) {
    case SerialClock51::kCycles:
        return;
    case SerialClock51::kStates:
        frame.due = (frame.target + kStatesPerCycle - 1) / kStatesPerCycle;
        return;
    case SerialClock51::kTimer1:
    case SerialClock51::kTimer2: {
        const TimerCounter51 counter = frame.clock == SerialClock51::kTimer1 ? kCounterT1 : kCounterT2;
        // A frame whose last overflow has passed keeps the boundary it had.
        if (m_timers.Overflows(counter) < frame.target)
            frame.due = m_timers.BoundaryOfOverflow(counter, frame.target);
        return;
    }
    }
}

uint8_t CSerial51::EndTransmit()
{
    const bool fresh = m_f.tx.due == m_s.cycle;
    m_f.tx.busy = false;
    m_f.tx.due = kNever;
    m_s.SetSfr(kSCON, m_s.Sfr(kSCON) | kSconTI);
    if (m_pHost)
        m_pHost->OnSerialOut(m_f.tx.byte, m_f.tx.ninth);
    return fresh ? kIrqSerial : 0;
}

uint8_t CSerial51::EndReceive()
{
    const bool fresh = m_f.rx.due == m_s.cycle;
    m_f.rx.busy = false;
    m_f.rx.due = kNever;
    const uint8_t scon = m_s.Sfr(kSCON);
    const uint8_t mode = scon >> 6;
    // The frame is lost when the program has not taken the last one, or when SM2 asks for
    // an address frame and the ninth bit (the stop bit in mode 1) is 0.
    if ((scon & kSconRI) || (mode != 0 && (scon & kSconSM2) && !m_f.rx.ninth))
        return 0;
    m_s.SetSfr(kSBUF, m_f.rx.byte);
    uint8_t updated = static_cast<uint8_t>(scon | kSconRI);
    if (mode != 0)
        updated = static_cast<uint8_t>(m_f.rx.ninth ? (updated | kSconRB8) : (updated & ~kSconRB8));
    m_s.SetSfr(kSCON, updated);
    return fresh ? kIrqSerial : 0;
}

}  // namespace mcs51
