// The keyboard controller at ports 60h and 64h, for a program that takes INT 9 itself: each key
// typed waits as its make and break codes, one at a time raised on IRQ 1 and read at port 60h.
#pragma once

#include "dos/BusDevice.h"
#include "dos/InterruptController.h"

#include <cstdint>
#include <deque>

namespace dos {

class CKeyboardController final : public CBusDevice {
public:
    explicit CKeyboardController(CInterruptController& pic) : m_pic(pic) {}

    void Reset();
    // A key as the BIOS stores it (scan code high, character low): its two codes wait.
    void QueueScan(uint16_t key);
    bool ScanWaiting() const { return !m_scans.empty(); }
    // IRQ 1 is taken: the next code goes to port 60h.
    void LatchNextScan();
    // The key whose code port 60h holds, and whether that code is its release.
    uint16_t LatchedKey() const { return m_latched.key; }
    bool LatchedIsRelease() const { return m_latched.release; }

    uint8_t In(uint16_t port) override;
    // IRQ 1 while codes wait and the last one has been served.
    uint64_t Advance(uint64_t now) override;
    std::string_view Name() const override { return "keyboard"; }
    machine::DeviceView View() const override;

private:
    struct Scan {
        uint16_t key;
        bool release;
    };

    CInterruptController& m_pic;
    std::deque<Scan> m_scans;
    Scan m_latched{0, true};
};

}  // namespace dos
