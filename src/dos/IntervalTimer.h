// The 8253 timer as the machine needs it: counter 0's rate decides when IRQ 0 (INT 8, 18.2 a
// second by default) falls due on the host's clock, and ports 40h-43h read the counters as they
// run, with their latches; port 61h's refresh bit toggles for delay loops.
#pragma once

#include <cstdint>

namespace dos {

class CIntervalTimer {
public:
    static constexpr uint64_t kHertz = 1193182;

    // `now` is the host's clock in timer ticks (1,193,182 a second).
    void Reset(uint64_t now);
    // True when IRQ 0 falls due by `now`; misses are not made up after a long pause.
    bool Due(uint64_t now);
    // Timer ticks until the next IRQ 0.
    uint64_t Remaining(uint64_t now) const { return now >= m_nNextIrq ? 0 : m_nNextIrq - now; }

    uint8_t Read(uint16_t port, uint64_t now);
    void Write(uint16_t port, uint8_t value, uint64_t now);

private:
    struct Counter {
        uint32_t reload = 0x10000;
        uint64_t start = 0;
        uint8_t access = 3;
        bool highNext = false;
        bool latched = false;
        uint16_t latch = 0;
        bool writeHighNext = false;
        uint16_t written = 0;
    };

    uint16_t Value(const Counter& counter, uint64_t now) const;

    Counter m_counters[3];
    uint64_t m_nNextIrq = 0;
    uint8_t m_nPort61 = 0;
    bool m_bRefresh = false;
};

}  // namespace dos
