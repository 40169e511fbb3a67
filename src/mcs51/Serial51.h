// The serial port in modes 0-3: frames timed by the machine cycle (mode 0), by the
// oscillator (mode 2) or by the overflows of Timer 1 or Timer 2 (modes 1 and 3), TI and RI
// set at the cycle a frame ends; the receiver takes the host's bytes one frame at a time.
#pragma once

#include "mcs51/Host51.h"
#include "mcs51/Mcs51State.h"
#include "mcs51/Timers51.h"

#include <cstddef>
#include <cstdint>
#include <deque>

namespace mcs51 {

// What a frame's end is counted in.
enum class SerialClock51 : uint8_t {
    // Machine cycles (mode 0): the target is the boundary itself.
    kCycles,
    // States, six to a machine cycle (mode 2).
    kStates,
    // Timer 1's or Timer 2's overflows since reset (modes 1 and 3).
    kTimer1,
    kTimer2,
};

struct Frame51 {
    bool busy = false;
    SerialClock51 clock = SerialClock51::kCycles;
    uint64_t target = 0;
    // The boundary by which the frame ends, while its clock keeps its pace.
    uint64_t due = kNever;
    uint8_t byte = 0;
    bool ninth = false;
};

struct Serial51State {
    Frame51 tx;
    Frame51 rx;
};

class CSerial51 {
public:
    CSerial51(Mcs51State& state, CTimers51& timers) : m_s(state), m_timers(timers) {}

    void SetHost(IHost51* host) { m_pHost = host; }
    void Reset() { m_f = {}; }
    Serial51State& State() { return m_f; }
    const Serial51State& State() const { return m_f; }

    // The program wrote SBUF: a frame starts.
    void Transmit(uint8_t byte);
    // Ends the frames due by now and starts receiving the next host byte when the receiver
    // is free; returns the sources whose flag it set in the cycle just ended. Sets
    // tookInput when a byte left the host's queue.
    uint8_t Sync(bool& tookInput);
    // Timer 1 or Timer 2 changed its pace: when the frames under way end now. Call after
    // the timers are synced and rebased.
    void Reschedule();
    uint64_t NextEvent() const { return m_f.tx.due < m_f.rx.due ? m_f.tx.due : m_f.rx.due; }

    // Bytes for the receiver, as a terminal sends them; the next one is sent once the
    // program has taken the last (RI clear), so none is lost however slowly it reads.
    void QueueInput(uint8_t byte) { m_input.push_back(byte); }
    size_t PendingInput() const { return m_input.size(); }

private:
    uint8_t Mode() const { return m_s.Sfr(kSCON) >> 6; }
    // A frame starting now: a sent one ends with the divide-by-16 counter's rollover that
    // ends its last bit, a received one in the middle of its stop bit.
    Frame51 Start(bool transmit) const;
    void Schedule(Frame51& frame) const;
    uint8_t EndTransmit();
    uint8_t EndReceive();

    Mcs51State& m_s;
    CTimers51& m_timers;
    IHost51* m_pHost = nullptr;
    Serial51State m_f;
    std::deque<uint8_t> m_input;
};

}  // namespace mcs51
