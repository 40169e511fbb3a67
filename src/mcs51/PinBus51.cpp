// Plugging pin devices in, putting their drives together onto the pins, telling them of the
// latches and calling them at the cycles they asked for.
#include "mcs51/PinBus51.h"

#include "mcs51/Peripherals51.h"
#include "mcs51/PinDevice51.h"

#include <algorithm>

namespace mcs51 {

CPinBus51::CPinBus51(Mcs51State& state, CPeripherals51& devices) : m_s(state), m_devices(devices) {}

void CPinBus51::Attach(IPinDevice51& device)
{
    if (SlotOf(device))
        return;
    m_slots.push_back(Slot{&device, {0xFF, 0xFF, 0xFF, 0xFF}, kNever});
    device.OnAttach(CPinLink51(*this, device));
}

void CPinBus51::Detach(IPinDevice51& device)
{
    const auto slot = std::find_if(m_slots.begin(), m_slots.end(), [&device](const Slot& s) { return s.device == &device; });
    if (slot == m_slots.end())
        return;
    m_slots.erase(slot);
    // Its pins are let go.
    for (unsigned port = 0; port < 4; ++port)
        Apply(port);
    FindNextCall();
}

std::vector<const machine::IDevice*> CPinBus51::Devices() const
{
    std::vector<const machine::IDevice*> devices;
    for (const Slot& slot : m_slots)
        devices.push_back(slot.device);
    return devices;
}

void CPinBus51::DriveOutside(unsigned port, uint8_t drive)
{
    m_abyOutside[port & 3] = drive;
    Apply(port & 3);
}

void CPinBus51::LatchWritten(unsigned port, uint64_t cycle)
{
    Tell(port, cycle, Context::kRunning);
}

void CPinBus51::FollowLatches()
{
    for (unsigned port = 0; port < 4; ++port)
        Tell(port, m_s.cycle, Context::kBetweenRuns);
}

void CPinBus51::Reset()
{
    m_abyOutside.fill(0xFF);
    for (Slot& slot : m_slots)
        slot.callAt = kNever;
    m_nNextCall = kNever;
    // The chip's reset let go of the pins; the devices hold theirs as before.
    for (unsigned port = 0; port < 4; ++port)
        Apply(port);
    for (const Slot& slot : m_slots)
        slot.device->OnReset();
    FollowLatches();
}

void CPinBus51::Restored()
{
    for (const Slot& slot : m_slots)
        slot.device->OnRestored(m_s.cycle);
    for (unsigned port = 0; port < 4; ++port)
        Tell(port, m_s.cycle, Context::kRestoring);
}

void CPinBus51::CallDue(bool polled)
{
    const Context outer = m_context;
    m_context = polled ? Context::kRunning : Context::kBetweenRuns;
    // A device may ask again while it is called, for this very cycle even: the next boundary
    // calls it then.
    const uint64_t now = m_s.cycle;
    for (Slot& slot : m_slots) {
        if (slot.callAt <= now) {
            slot.callAt = kNever;
            slot.device->OnCycle(now);
        }
    }
    FindNextCall();
    m_context = outer;
}

uint8_t CPinBus51::Latch(unsigned port) const
{
    return m_s.Sfr(PortSfr(port));
}

uint8_t CPinBus51::Pins(unsigned port) const
{
    return m_devices.Pins(port & 3);
}

void CPinBus51::Drive(const IPinDevice51& device, unsigned port, uint8_t drive)
{
    Slot* slot = SlotOf(device);
    if (!slot)
        return;
    slot->drive[port & 3] = drive;
    if (m_context != Context::kRestoring)
        Apply(port & 3);
}

void CPinBus51::CallAt(const IPinDevice51& device, uint64_t cycle)
{
    Slot* slot = SlotOf(device);
    if (!slot)
        return;
    slot->callAt = cycle;
    FindNextCall();
    m_s.ServiceSoon();
}

CPinBus51::Slot* CPinBus51::SlotOf(const IPinDevice51& device)
{
    for (Slot& slot : m_slots)
        if (slot.device == &device)
            return &slot;
    return nullptr;
}

void CPinBus51::Tell(unsigned port, uint64_t cycle, Context context)
{
    const uint8_t latch = Latch(port);
    const Context outer = m_context;
    m_context = context;
    if (latch != m_abyTold[port]) {
        m_abyTold[port] = latch;
        for (const Slot& slot : m_slots)
            slot.device->OnLatch(port, latch, cycle);
    }
    // A step back may put a device's drive back with the latch unchanged.
    TellPins(port, cycle);
    m_context = outer;
}

void CPinBus51::TellPins(unsigned port, uint64_t cycle)
{
    const uint8_t pins = Pins(port);
    if (pins == m_abyPinsTold[port])
        return;
    m_abyPinsTold[port] = pins;
    for (const Slot& slot : m_slots)
        slot.device->OnPins(port, pins, cycle);
}

void CPinBus51::Apply(unsigned port)
{
    uint8_t drive = m_abyOutside[port];
    for (const Slot& slot : m_slots)
        drive &= slot.drive[port];
    m_devices.SetExternal(port, drive, m_context == Context::kRunning);
    TellPins(port, m_s.cycle);
}

void CPinBus51::FindNextCall()
{
    m_nNextCall = kNever;
    for (const Slot& slot : m_slots)
        m_nNextCall = std::min(m_nNextCall, slot.callAt);
}

}  // namespace mcs51
