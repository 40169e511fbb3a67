// The 8253 timer as the machine needs it: counter 0's rate decides when IRQ 0 (INT 8, 18.2 a
// second by default) falls due in machine time, and ports 40h-43h read the counters as they
// run, with their latches; port 61h's refresh bit toggles for delay loops. Counter 2, gated by
// port 61h's bit 0, drives the speaker through bit 1 (a square wave in mode 3; bit 1 alone
// with the gate off, the counter's output then standing high).
#pragma once

#include "dos/BusDevice.h"
#include "dos/InterruptController.h"
#include "dos/MachineClock.h"
#include "dos/Speaker.h"

#include <cstdint>

namespace dos {

class CIntervalTimer final : public CBusDevice {
public:
    static constexpr uint64_t kHertz = 1193182;

    CIntervalTimer(const CMachineClock& clock, CInterruptController& pic, CSpeaker& speaker)
        : m_clock(clock), m_pic(pic), m_speaker(speaker)
    {
    }

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
        uint8_t mode = 3;
        // A count has been written since the mode was.
        bool loaded = true;
    };

    uint64_t Now() const { return TicksAt(m_clock.Now()); }
    uint16_t Value(const Counter& counter, uint64_t now) const;
    bool Gate2() const { return m_nPort61 & 1; }
    // Counter 2 stands still while its gate is low.
    uint64_t Counter2Time(uint64_t now) const { return Gate2() ? now : m_nGateLowAt; }
    bool Output2(uint64_t now) const;
    // What counter 2 and port 61h put on the speaker from now on.
    void DriveSpeaker(uint64_t now);
    void WritePort61(uint8_t value, uint64_t now);

    const CMachineClock& m_clock;
    CInterruptController& m_pic;
    CSpeaker& m_speaker;
    Counter m_counters[3];
    uint64_t m_nNextIrq = 0;
    uint8_t m_nPort61 = 0;
    bool m_bRefresh = false;
    uint64_t m_nGateLowAt = 0;
};

}  // namespace dos
