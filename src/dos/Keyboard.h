// The BIOS's keyboard: the type-ahead buffer in its data area and INT 16h.
#pragma once

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>

namespace dos {

class CKeyboard {
public:
    explicit CKeyboard(CMemory& memory) : m_memory(memory) {}

    void Reset();

    // A key as the BIOS stores it: the scan code in the high byte, the character in the low.
    bool Push(uint16_t key);
    bool Peek(uint16_t& key) const;
    bool Pop(uint16_t& key);
    void Flush();
    void SetShiftFlags(uint8_t flags);

    // INT 16h; false when a read must wait for a key that has not come.
    bool Interrupt16(CpuState& state);

private:
    uint16_t Word(uint16_t offset) const;
    uint16_t Advance(uint16_t offset) const;

    CMemory& m_memory;
};

}  // namespace dos
