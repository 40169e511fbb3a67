// The 8253/8254 programmable interval timer as its data sheet describes it: three 16-bit down
// counters, each counting the rising edges of its CLK in one of modes 0-5, binary or BCD, with
// its GATE and OUT; the control word, the counter latch command, LSB/MSB/both access and the
// 8254's read-back command. The chip knows no time of its own: whoever wires it calls Clock
// for every CLK edge of a counter and SetGate as the GATE pin changes.
#pragma once

#include <cstdint>

namespace labbox {

class CPit8254 {
public:
    static constexpr int kCounters = 3;

    // As at power-up: every counter in mode 0 waiting for a control word, OUT low, GATE high.
    void Reset();

    // A0-A1 select counter 0-2 or the control word register (3).
    uint8_t Read(unsigned address);
    void Write(unsigned address, uint8_t value);

    // One rising edge of the counter's CLK.
    void Clock(int counter);
    void SetGate(int counter, bool high);
    bool Out(int counter) const { return m_counters[counter].out; }
    // A number of CLK edges before which the counter's OUT cannot change (at least 1).
    uint32_t QuietClocks(int counter) const;

private:
    struct Counter {
        uint8_t mode = 0;
        bool bcd = false;
        // 1 LSB, 2 MSB, 3 LSB then MSB.
        uint8_t access = 3;
        // The count register (as written; 0 is the largest count) and the counting element.
        uint16_t initial = 0;
        uint16_t element = 0;
        bool out = false;
        bool gate = true;
        // A rising GATE edge not yet seen by a CLK edge.
        bool triggered = false;
        // A count written and waiting for the next CLK edge to be loaded.
        bool loadNext = false;
        // The control word as written (its low six bits are the status byte's).
        uint8_t control = 0;
        // A count has been written since the control word, and loaded: the counter counts.
        bool written = false;
        bool loaded = false;
        // Mode 0: the first byte of a two-byte count stops counting until the second.
        bool halted = false;
        // Modes 4 and 5: the strobe is still to come for this count.
        bool armed = false;
        // Mode 3, odd counts: OUT falls one CLK edge after the count expires.
        bool fallNext = false;
        bool nullCount = true;
        bool writeHigh = false;
        uint8_t lowWritten = 0;
        // The output latch: a latched count (and which byte is next) and a latched status.
        bool countLatched = false;
        uint16_t latch = 0;
        bool readHigh = false;
        bool statusLatched = false;
        uint8_t status = 0;
    };

    void Control(uint8_t value);
    void ReadBack(uint8_t value);
    void LatchCount(Counter& counter);
    void WriteCount(Counter& counter, uint8_t value);
    void CountWritten(Counter& counter);
    uint8_t ReadCount(Counter& counter);
    uint16_t Less(const Counter& counter, uint16_t value, unsigned by) const;
    // Mode 3's count after a load: odd counts lose one.
    uint16_t SquareLoad(const Counter& counter) const;
    uint8_t Status(const Counter& counter) const;
    // What a count means in clocks (0 is 65536 or 10000).
    static uint32_t Span(const Counter& counter, uint16_t value);

    Counter m_counters[kCounters];
};

}  // namespace labbox
