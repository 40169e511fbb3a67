// Machine time: fixed to the instructions, or the host's running time; the pace a run keeps.
#include "dos/MachineClock.h"

#include "dos/Cpu8086.h"

#include <algorithm>

namespace dos {

namespace {

// A paced run may be this far ahead of the host before it waits: a run's slice or a tick's
// worth of bursts stays smooth.
constexpr uint64_t kPaceSlackMs = 2;

}

void CMachineClock::Reset(const MachinePace& pace)
{
    m_pace = pace;
    m_nInstructions = 0;
    m_nBase = 0;
    m_bRunning = false;
    m_nSinceStart = 0;
}

void CMachineClock::SetPace(const MachinePace& pace)
{
    const uint64_t now = Now();
    const bool running = m_bRunning;
    Stop();
    m_pace = pace;
    m_nInstructions = 0;
    m_nBase = now;
    if (running)
        Start();
}

uint64_t CMachineClock::FixedNow(uint64_t instructions) const
{
    const uint64_t pace = m_pace.FixedPace();
    return m_nBase + (instructions / pace) * kNanosecondsPerMs + (instructions % pace) * kNanosecondsPerMs / pace;
}

uint64_t CMachineClock::HostRunning() const
{
    if (!m_bRunning)
        return 0;
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(Host::now() - m_started).count());
}

uint64_t CMachineClock::Now() const
{
    if (m_pace.fixed)
        return FixedNow(m_nInstructions + m_cpu.RunProgress());
    return m_nBase + HostRunning();
}

void CMachineClock::Start()
{
    if (m_bRunning)
        return;
    m_bRunning = true;
    m_started = Host::now();
    m_nSinceStart = 0;
}

void CMachineClock::Stop()
{
    if (!m_bRunning)
        return;
    if (!m_pace.fixed)
        m_nBase += HostRunning();
    m_bRunning = false;
}

void CMachineClock::Ran(uint64_t count)
{
    m_nInstructions += count;
    m_nSinceStart += count;
}

void CMachineClock::SkipTo(uint64_t time)
{
    const uint64_t now = Now();
    if (m_pace.fixed && time != kNever && time > now)
        m_nBase += time - now;
}

uint64_t CMachineClock::InstructionsUntil(uint64_t time) const
{
    const uint64_t now = Now();
    if (time == kNever)
        return kNever;
    if (time <= now)
        return 1;
    // The least count whose time reaches `time`: fixed time rounds down.
    const uint64_t span = time - m_nBase;
    const uint64_t pace = m_pace.FixedPace();
    const uint64_t needed = (span / kNanosecondsPerMs) * pace + ((span % kNanosecondsPerMs) * pace + kNanosecondsPerMs - 1) / kNanosecondsPerMs;
    return std::max<uint64_t>(1, needed - std::min(needed, m_nInstructions + m_cpu.RunProgress()));
}

uint64_t CMachineClock::PacedAllowance() const
{
    if (m_pace.fixed || m_pace.instructionsPerMs == 0)
        return kNever;
    const uint64_t allowed = (HostRunning() / kNanosecondsPerMs + kPaceSlackMs) * m_pace.instructionsPerMs;
    return allowed > m_nSinceStart ? allowed - m_nSinceStart : 0;
}

std::chrono::microseconds CMachineClock::UntilPaced() const
{
    if (PacedAllowance() > 0)
        return std::chrono::microseconds(0);
    const uint64_t dueMs = m_nSinceStart / m_pace.instructionsPerMs + 1 - kPaceSlackMs;
    const uint64_t running = HostRunning();
    const uint64_t due = dueMs * kNanosecondsPerMs;
    return std::chrono::microseconds(due > running ? (due - running) / 1000 + 1 : 1);
}

}  // namespace dos
