// Real-time pacing against the steady clock.
#include "mcs51/Pacer51.h"

#include <thread>

namespace mcs51 {

namespace {
// Further behind than this, a run starts afresh instead of catching up.
const double kMaxLagSeconds = 0.25;
// A sleep costs a system call and a wake-up (dearer still under Wine): a run goes on until it
// is this far ahead, a lead no person sees.
const double kLeastSleepSeconds = 0.004;
}

void CPacer51::Start(uint64_t cycle)
{
    m_start = Clock::now();
    m_nStartCycle = cycle;
}

void CPacer51::WaitFor(uint64_t cycle)
{
    const double elapsed = std::chrono::duration<double>(Clock::now() - m_start).count();
    const double due = Due(cycle);
    if (due - elapsed >= kLeastSleepSeconds)
        std::this_thread::sleep_for(std::chrono::duration<double>(due - elapsed));
    else if (elapsed - due > kMaxLagSeconds)
        Start(cycle);
}

}  // namespace mcs51
