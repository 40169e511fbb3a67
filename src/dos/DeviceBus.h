// The DOS machine's bus: which device answers each I/O port, which owns each region of memory
// (its own bytes behind a trap, or RAM that it shows, as text video memory), and the devices'
// time. Ports and regions no device holds read FFh and take writes into nothing (memory: RAM).
#pragma once

#include "dos/BusDevice.h"
#include "dos/Memory.h"

#include <cstdint>
#include <vector>

namespace dos {

class CDeviceBus : private IMemoryTrap {
public:
    enum class Region : uint8_t {
        // The region is RAM that the device shows (the CPU reads and writes it at full speed).
        Ram,
        // Every read and write of the region goes to the device.
        Trapped,
    };

    explicit CDeviceBus(CMemory& memory) : m_memory(memory), m_portOwners(0x10000, 0) {}
    CDeviceBus(const CDeviceBus&) = delete;
    CDeviceBus& operator=(const CDeviceBus&) = delete;

    // A device on the bus: listed, and brought up to time. It outlives the bus.
    void Attach(CBusDevice& device);
    // Ports first to last (inclusive) go to the device (attached if it was not).
    void MapPorts(uint16_t first, uint16_t last, CBusDevice& device);
    // Linear addresses first to last belong to the device.
    void MapMemory(uint32_t first, uint32_t last, CBusDevice& device, Region kind);

    uint8_t In(uint16_t port) { return Owner(port) ? Owner(port)->In(port) : 0xFF; }
    void Out(uint16_t port, uint8_t value)
    {
        if (CBusDevice* device = Owner(port))
            device->Out(port, value);
    }
    // Every device to machine time `now`; the earliest time one needs to act again.
    uint64_t Advance(uint64_t now);

    const std::vector<CBusDevice*>& Devices() const { return m_devices; }
    CBusDevice* Owner(uint16_t port) const { return m_portOwners[port] ? m_devices[m_portOwners[port] - 1] : nullptr; }
    // The device a linear address belongs to, if any.
    CBusDevice* MemoryOwner(uint32_t linear) const;

private:
    struct MemoryRegion {
        uint32_t first;
        uint32_t last;
        CBusDevice* device;
        Region kind;
    };

    uint8_t IndexOf(CBusDevice& device);
    void OpenTrapWindow();
    const MemoryRegion* TrappedRegion(uint32_t linear) const;
    uint8_t TrapRead(uint32_t linear) override;
    uint8_t TrapPeek(uint32_t linear) override;
    void TrapWrite(uint32_t linear, uint8_t value) override;

    CMemory& m_memory;
    std::vector<CBusDevice*> m_devices;
    // Per port: 0, or 1 + the index of its device.
    std::vector<uint8_t> m_portOwners;
    std::vector<MemoryRegion> m_regions;
};

}  // namespace dos
