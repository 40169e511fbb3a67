// The machine's own time, which every device counts: it advances only while the machine runs.
// Kept to the host's clock while a program runs for a person (its clock and its tick-counted
// delays take real seconds), or fixed to the instructions run, so that two runs of a program
// give the same registers, memory, screen and output.
#pragma once

#include <chrono>
#include <cstdint>

namespace dos {

class CCpu8086;

struct MachinePace {
    // The lab PCs' DOSBox runs about this many instructions a millisecond by default: what
    // students' delay loops and animations are written for.
    static constexpr uint32_t kLabPace = 3000;

    // Instructions a millisecond at most; 0: as fast as the host can.
    uint32_t instructionsPerMs = 0;
    // Machine time from the instructions alone: 1 ms every instructionsPerMs instructions
    // (kLabPace when none is set), never waiting for the host.
    bool fixed = false;

    uint32_t FixedPace() const { return instructionsPerMs ? instructionsPerMs : kLabPace; }
};

class CMachineClock {
public:
    static constexpr uint64_t kNanosecondsPerMs = 1000000;
    static constexpr uint64_t kNever = ~uint64_t{0};

    // The CPU whose run under way counts towards fixed time.
    explicit CMachineClock(const CCpu8086& cpu) : m_cpu(cpu) {}

    // Time 0, stopped.
    void Reset(const MachinePace& pace);
    const MachinePace& Pace() const { return m_pace; }
    void SetPace(const MachinePace& pace);

    // Machine time in nanoseconds.
    uint64_t Now() const;
    // Real time passes for the machine only while the clock runs: a front end stops it while
    // the program stands still (a debugger at a stop) and starts it when it goes on.
    void Start();
    void Stop();
    bool Running() const { return m_bRunning; }

    // The CPU has run count instructions since the last call.
    void Ran(uint64_t count);
    // A halted CPU sleeps until `time`: fixed time jumps there at once.
    void SkipTo(uint64_t time);
    // How many instructions may run before the machine reaches `time` (fixed time), at least 1.
    uint64_t InstructionsUntil(uint64_t time) const;
    // Paced real time: how many instructions may run now without running ahead of the pace
    // (0: wait), and how long until one may.
    uint64_t PacedAllowance() const;
    std::chrono::microseconds UntilPaced() const;

private:
    using Host = std::chrono::steady_clock;

    uint64_t HostRunning() const;
    uint64_t FixedNow(uint64_t instructions) const;

    const CCpu8086& m_cpu;
    MachinePace m_pace;
    // Fixed: the instructions run and the time slept in HLT; real: the time before the last
    // start.
    uint64_t m_nInstructions = 0;
    uint64_t m_nBase = 0;
    bool m_bRunning = false;
    Host::time_point m_started;
    // Paced real time: instructions since the last start.
    uint64_t m_nSinceStart = 0;
};

}  // namespace dos
