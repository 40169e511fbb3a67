// The devices' views at the machine times asked for.
#include "dosrun/DeviceObserver.h"

#include <algorithm>
#include <string>

namespace dos {

uint64_t CDeviceObserver::Budget(const CDosMachine& machine, uint64_t budget) const
{
    if (m_nNext >= m_times.size() || !machine.Clock().Pace().fixed)
        return budget;
    const uint64_t due = m_times[m_nNext] * CMachineClock::kNanosecondsPerMs;
    return std::min(budget, machine.Clock().InstructionsUntil(due));
}

void CDeviceObserver::CatchUp(const CDosMachine& machine)
{
    const uint64_t now = machine.Clock().Now();
    for (; m_nNext < m_times.size() && m_times[m_nNext] * CMachineClock::kNanosecondsPerMs <= now; ++m_nNext)
        Print(machine, m_times[m_nNext]);
}

void CDeviceObserver::Finish(const CDosMachine& machine)
{
    for (; m_nNext < m_times.size(); ++m_nNext)
        Print(machine, m_times[m_nNext]);
}

void CDeviceObserver::Print(const CDosMachine& machine, uint64_t ms)
{
    std::string text;
    for (const CBusDevice* device : machine.Devices())
        text += "[" + std::string(device->Name()) + "] time=" + std::to_string(ms) + " ms\r\n" + device->View().text;
    m_host.Write(DosStream::Output, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace dos
