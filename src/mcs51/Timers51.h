// Timers 0 and 1 in modes 0-3 (and Timer 2 of the 8052), counted lazily: a running timer's
// registers are brought up to date only when they are read, when the program changes its
// control, or at the cycle its next overflow is due.
#pragma once

#include "mcs51/Mcs51State.h"

#include <cstdint>

namespace mcs51 {

// The four counters the timers make: Timer 0 (only TL0 in mode 3), Timer 1, TH0 as a timer
// of its own while Timer 0 is in mode 3, and Timer 2.
enum TimerCounter51 : uint8_t { kCounterT0, kCounterT1, kCounterTH0, kCounterT2, kCounters51 };

struct Timers51State {
    // The cycle up to which each counter's registers hold its count.
    uint64_t base[kCounters51] = {};
    // Overflows since reset; the serial port's divide-by-16 counters run on Timer 1's and
    // Timer 2's.
    uint64_t overflows[kCounters51] = {};
    // Whether the counter counts machine cycles now (its timer function, switched on).
    bool counting[kCounters51] = {};
};

// Told of each overflow of a counter at the cycle it happened, however late the lazy count
// finds it (a logic analyzer's timer rows).
class ITimerWatch51 {
public:
    virtual void OnOverflow(TimerCounter51 counter, uint64_t cycle) = 0;

protected:
    ~ITimerWatch51() = default;
};

class CTimers51 {
public:
    explicit CTimers51(Mcs51State& state) : m_s(state) {}

    void SetVariant(Mcs51Variant variant) { m_variant = variant; }
    void Reset() { m_t = {}; }
    // Stays through resets and step backs; nullptr for none.
    void SetWatch(ITimerWatch51* watch) { m_pWatch = watch; }
    Timers51State& State() { return m_t; }
    const Timers51State& State() const { return m_t; }

    // Brings every counting timer up to the current cycle and sets the flags of its
    // overflows; returns the interrupt sources whose flag it set in the cycle just ended.
    uint8_t Sync() { return Sync(m_s.cycle); }
    // The same up to a later cycle, as the run bits need: the instruction that writes one
    // lands it at its end, so the timers count its cycles as they were set before.
    uint8_t Sync(uint64_t until);
    // After the program changed a control (TMOD, TCON, T2CON, the gate pins, a count):
    // which counters count from now on (from the cycle Sync reached). Call Sync first.
    void Rebase(uint8_t port3Pins);
    // One falling edge on a counter's input pin (T0, T1 or T2): counted when that counter
    // is in its counter function and switched on.
    uint8_t CountEdge(TimerCounter51 counter, uint8_t port3Pins);
    // A falling edge on T2EX with EXEN2 set: Timer 2 captures or reloads and sets EXF2.
    uint8_t Timer2ExternalEdge();
    // The first cycle boundary at which a flag that is clear now will be set.
    uint64_t NextFlag() const;

    uint64_t Overflows(TimerCounter51 counter) const { return m_t.overflows[counter]; }
    // The boundary by which the counter's overflow number n (counted since reset) will have
    // happened, if it keeps counting as it does now; kNever when it does not count.
    uint64_t BoundaryOfOverflow(TimerCounter51 counter, uint64_t n) const;
    // Timer 2 runs as a baud rate generator (RCLK or TCLK set).
    bool Timer2Baud() const;
    bool Timer0Mode3() const { return (m_s.Sfr(kTMOD) & 0x03) == 3; }

private:
    // A counter's count, its modulus and what it starts again from after an overflow.
    struct Shape {
        uint32_t value;
        uint32_t top;
        uint32_t reload;
    };
    Shape ShapeOf(TimerCounter51 counter) const;
    // Stores a count reached by adding increments.
    void Store(TimerCounter51 counter, uint32_t value, uint64_t increments);
    // TCON's or T2CON's flag an overflow of the counter sets, or 0.
    uint8_t FlagOf(TimerCounter51 counter, uint8_t& sfr) const;
    uint8_t SourceOf(TimerCounter51 counter) const;
    unsigned Rate(TimerCounter51 counter) const;
    bool Enabled(TimerCounter51 counter, uint8_t port3Pins) const;
    bool CounterFunction(TimerCounter51 counter) const;
    // Adds increments to the counter; returns whether its flag became set, and when.
    bool Advance(TimerCounter51 counter, uint64_t increments, uint64_t& firstOverflowIncrement);
    uint8_t RaiseFlag(TimerCounter51 counter);
    // The overflows an advance of the counter from cycle `from` made, each at its own cycle.
    void TellOverflows(TimerCounter51 counter, uint64_t from, const Shape& before, uint64_t overflows, unsigned rate);

    Mcs51State& m_s;
    ITimerWatch51* m_pWatch = nullptr;
    Mcs51Variant m_variant = Mcs51Variant::k8051;
    Timers51State m_t;
};

}  // namespace mcs51
