// The devices' views at the machine times asked for, and the hands on the lab box.
#include "dosrun/DeviceObserver.h"

#include <algorithm>
#include <string>

namespace dos {

namespace {
constexpr uint64_t kPulseHeldNs = 20 * CMachineClock::kNanosecondsPerMs;
constexpr uint64_t kAfterLastNs = 1000 * CMachineClock::kNanosecondsPerMs;
}

void CDeviceObserver::WatchBox(labbox::CLabBox& box, const std::vector<BoxSetting>& settings)
{
    m_pBox = &box;
    for (const BoxSetting& setting : settings) {
        const uint64_t at = setting.ms * CMachineClock::kNanosecondsPerMs;
        m_hands.push_back({at, setting, false});
        if (setting.kind == BoxSetting::Kind::Pulse)
            m_hands.push_back({at + kPulseHeldNs, setting, true});
    }
    std::stable_sort(m_hands.begin(), m_hands.end(), [](const Hand& a, const Hand& b) { return a.at < b.at; });
}

uint64_t CDeviceObserver::NextDue() const
{
    uint64_t due = CMachineClock::kNever;
    if (m_nNext < m_times.size())
        due = m_times[m_nNext] * CMachineClock::kNanosecondsPerMs;
    if (m_nNextHand < m_hands.size())
        due = std::min(due, m_hands[m_nNextHand].at);
    if (m_pBox && !m_times.empty())
        due = std::min(due, m_times.back() * CMachineClock::kNanosecondsPerMs + kAfterLastNs);
    return due;
}

uint64_t CDeviceObserver::Budget(const CDosMachine& machine, uint64_t budget) const
{
    const uint64_t due = NextDue();
    if (due == CMachineClock::kNever || !machine.Clock().Pace().fixed)
        return budget;
    return std::min(budget, machine.Clock().InstructionsUntil(due));
}

bool CDeviceObserver::Over(const CDosMachine& machine) const
{
    return m_pBox && !m_times.empty() && machine.Clock().Now() >= m_times.back() * CMachineClock::kNanosecondsPerMs + kAfterLastNs;
}

void CDeviceObserver::Apply(const Hand& hand)
{
    switch (hand.setting.kind) {
    case BoxSetting::Kind::Switches:
        m_pBox->SetSwitches(hand.setting.switches);
        break;
    case BoxSetting::Kind::Pulse:
        m_pBox->SetPulse(!hand.release);
        break;
    case BoxSetting::Kind::Analog:
        m_pBox->SetAnalog(hand.setting.input, hand.setting.volts);
        break;
    }
}

void CDeviceObserver::CatchUp(const CDosMachine& machine)
{
    const uint64_t now = machine.Clock().Now();
    for (; m_nNextHand < m_hands.size() && m_hands[m_nNextHand].at <= now; ++m_nNextHand)
        Apply(m_hands[m_nNextHand]);
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
    if (m_pBox) {
        // The box comes up to the machine's time, the hands just put on it taken.
        m_pBox->Advance(machine.Clock().Now());
        text = "T=" + std::to_string(ms) + "\r\n" + m_pBox->Text();
    } else {
        for (const CBusDevice* device : machine.Devices())
            text += "[" + std::string(device->Name()) + "] time=" + std::to_string(ms) + " ms\r\n" + device->View().text;
    }
    m_host.Write(DosStream::Output, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace dos
