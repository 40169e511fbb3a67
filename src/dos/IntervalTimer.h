// The 8253 timer as the machine needs it: counter 0's rate decides when IRQ 0 (INT 8, 18.2 a
// second by default) falls due in machine time, and ports 40h-43h read the counters as they
// run, with their latches; port 61h's refresh bit toggles for delay loops.
#pragma once

#include "dos/BusDevice.h"
#include "dos/InterruptController.h"
#include "dos/MachineClock.h"

#include <cstdint>

namespace dos {

class CIntervalTimer final : public CBusDevice {
public:
    static constexpr uint64_t kHertz = 1193182;

    CIntervalTimer(const CMachineClock& clock, CInterruptController& pic) : m_clock(clock), m_pic(pic) {}

    void Reset();
    // Machine time in the timer's own ticks (1,193,182 a second), and back (rounded up).
    static uint64_t TicksAt(uint64_t nanoseconds);
    static uint64_t NanosecondsAt(uint64_t ticks);

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    // Requests IRQ 0 when it has fallen due; misses are not made up after a long pause.
    uint64_t Advance(uint64_t now) override;
    std::string_view Name() const override { return "pit"; }
    machine::DeviceView View() const override;

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

    uint64_t Now() const { return TicksAt(m_clock.Now()); }
    uint16_t Value(const Counter& counter, uint64_t now) const;

    const CMachineClock& m_clock;
    CInterruptController& m_pic;
    Counter m_counters[3];
    uint64_t m_nNextIrq = 0;
    uint8_t m_nPort61 = 0;
    bool m_bRefresh = false;
};

}  // namespace dos
