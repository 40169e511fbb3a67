// What a device that lacks a part answers: an open bus reads FFh and takes writes into nothing.
#include "dos/BusDevice.h"

namespace dos {

uint8_t CBusDevice::In(uint16_t)
{
    return 0xFF;
}

void CBusDevice::Out(uint16_t, uint8_t)
{
}

uint8_t CBusDevice::Read(uint32_t)
{
    return 0xFF;
}

void CBusDevice::Write(uint32_t, uint8_t)
{
}

uint64_t CBusDevice::Advance(uint64_t)
{
    return kNever;
}

}  // namespace dos
