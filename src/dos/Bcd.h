// Binary-coded decimal, as the CMOS clock and the BIOS's INT 1Ah keep the date and time.
#pragma once

#include <cstdint>

namespace dos {

constexpr uint8_t ToBcd(unsigned value)
{
    return static_cast<uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}

// -1 for a byte with a digit above 9, which names no number.
constexpr int FromBcd(uint8_t bcd)
{
    return (bcd >> 4) > 9 || (bcd & 0x0F) > 9 ? -1 : (bcd >> 4) * 10 + (bcd & 0x0F);
}

}  // namespace dos
