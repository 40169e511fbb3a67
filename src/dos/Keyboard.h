// The keyboard: the BIOS's type-ahead buffer in its data area, INT 16h, and the controller's
// ports 60h and 64h for a program that takes INT 9 itself.
#pragma once

#include "dos/CpuState.h"
#include "dos/Memory.h"

#include <cstdint>
#include <deque>

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

    // A key for a program that hooked INT 9: its make and break codes wait for IRQ 1.
    void QueueScan(uint16_t key);
    bool ScanWaiting() const { return !m_scans.empty(); }
    // IRQ 1 is taken: the next code goes to port 60h.
    void LatchNextScan();
    // The machine's own INT 9: the latched key into the buffer.
    void StoreLatched();
    uint8_t ReadPort(uint16_t port);

    // INT 16h; false when a read must wait for a key that has not come.
    bool Interrupt16(CpuState& state);

private:
    struct Scan {
        uint16_t key;
        bool release;
    };

    uint16_t Word(uint16_t offset) const;
    uint16_t Advance(uint16_t offset) const;

    CMemory& m_memory;
    std::deque<Scan> m_scans;
    Scan m_latched{0, true};
};

}  // namespace dos
