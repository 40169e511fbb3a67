// Real time for the simulated chip: holds a run back so that its machine cycles pass no
// faster than a real 8051's with the given crystal (12 oscillator periods a cycle).
#pragma once

#include <chrono>
#include <cstdint>

namespace mcs51 {

class CPacer51 {
public:
    explicit CPacer51(double crystalHz = 12e6) : m_secondsPerCycle(12.0 / crystalHz) {}

    // From now on the machine's cycle count cycle stands for this moment.
    void Start(uint64_t cycle);
    // Sleeps until real time has caught up with the machine at cycle, once it is a few
    // milliseconds ahead (a shorter lead is kept for later). A run that fell more
    // than a little behind (the machine was paused or the host was busy) starts afresh
    // from now rather than racing to catch up.
    void WaitFor(uint64_t cycle);

private:
    using Clock = std::chrono::steady_clock;
    double Due(uint64_t cycle) const { return static_cast<double>(cycle - m_nStartCycle) * m_secondsPerCycle; }

    double m_secondsPerCycle;
    Clock::time_point m_start = Clock::now();
    uint64_t m_nStartCycle = 0;
};

}  // namespace mcs51
