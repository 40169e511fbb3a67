// The bus: the port table, the memory regions and the one trap window that covers the regions
// devices answer for themselves.
#include "dos/DeviceBus.h"

#include <algorithm>
#include <stdexcept>

namespace dos {

uint8_t CDeviceBus::IndexOf(CBusDevice& device)
{
    const auto found = std::find(m_devices.begin(), m_devices.end(), &device);
    if (found != m_devices.end())
        return static_cast<uint8_t>(found - m_devices.begin() + 1);
    if (m_devices.size() >= 255)
        throw std::length_error("too many devices on the bus");
    m_devices.push_back(&device);
    return static_cast<uint8_t>(m_devices.size());
}

void CDeviceBus::Attach(CBusDevice& device)
{
    IndexOf(device);
}

void CDeviceBus::MapPorts(uint16_t first, uint16_t last, CBusDevice& device)
{
    const uint8_t index = IndexOf(device);
    for (uint32_t port = first; port <= last; ++port)
        m_portOwners[port] = index;
}

void CDeviceBus::MapMemory(uint32_t first, uint32_t last, CBusDevice& device, Region kind)
{
    IndexOf(device);
    m_regions.push_back({first & CMemory::kMask, last & CMemory::kMask, &device, kind});
    OpenTrapWindow();
}

void CDeviceBus::OpenTrapWindow()
{
    uint32_t first = CMemory::kSize, last = 0;
    for (const MemoryRegion& region : m_regions) {
        if (region.kind != Region::Trapped)
            continue;
        first = std::min(first, region.first);
        last = std::max(last, region.last);
    }
    if (first > last)
        m_memory.SetTrap(0, 0, nullptr);
    else
        m_memory.SetTrap(first, last - first + 1, this);
}

uint64_t CDeviceBus::Advance(uint64_t now)
{
    uint64_t next = CBusDevice::kNever;
    for (CBusDevice* device : m_devices)
        next = std::min(next, device->Advance(now));
    return next;
}

CBusDevice* CDeviceBus::MemoryOwner(uint32_t linear) const
{
    linear &= CMemory::kMask;
    for (auto region = m_regions.rbegin(); region != m_regions.rend(); ++region)
        if (linear >= region->first && linear <= region->last)
            return region->device;
    return nullptr;
}

// The last region mapped wins where two overlap; a gap inside the window is RAM.
const CDeviceBus::MemoryRegion* CDeviceBus::TrappedRegion(uint32_t linear) const
{
    for (auto region = m_regions.rbegin(); region != m_regions.rend(); ++region)
        if (linear >= region->first && linear <= region->last)
            return region->kind == Region::Trapped ? &*region : nullptr;
    return nullptr;
}

uint8_t CDeviceBus::TrapRead(uint32_t linear)
{
    if (const MemoryRegion* region = TrappedRegion(linear))
        return region->device->Read(linear);
    return m_memory.Data()[linear];
}

uint8_t CDeviceBus::TrapPeek(uint32_t linear)
{
    if (const MemoryRegion* region = TrappedRegion(linear))
        return region->device->Peek(linear);
    return m_memory.Data()[linear];
}

void CDeviceBus::TrapWrite(uint32_t linear, uint8_t value)
{
    if (const MemoryRegion* region = TrappedRegion(linear))
        region->device->Write(linear, value);
    else
        m_memory.Data()[linear] = value;
}

}  // namespace dos
