// The Intel 8086 with the instructions the 80186 added: decodes and runs the program's
// instructions on the machine's memory, and leaves ports, hardware interrupts and the BIOS and
// DOS services to the machine through IMachineBus.
#pragma once

#include "dos/CpuState.h"
#include "dos/MachineBus.h"
#include "dos/Memory.h"

#include <atomic>
#include <cstdint>

// Why Run returned.
enum class StopReason : uint8_t {
    // The instruction budget is spent.
    Limit,
    // A service stopped the machine (the last program ended).
    Stopped,
    // A service waits for input; running again retries it.
    Blocked,
    // HLT with no interrupt that could wake the CPU.
    Halted,
    // RequestStop was called (from any thread).
    Requested,
};

class CCpu8086 {
public:
    CCpu8086(CMemory& memory, IMachineBus& bus);
    CCpu8086(const CCpu8086&) = delete;
    CCpu8086& operator=(const CCpu8086&) = delete;

    CpuState& State() { return m_state; }
    const CpuState& State() const { return m_state; }
    CMemory& Memory() { return m_memory; }

    // Runs one instruction with its prefixes (one element of a repeated string instruction,
    // as the 8086 does between interrupts), then the interrupt it raised or that waits.
    StopReason Step();
    // Runs until one of the stop reasons, at most maxInstructions instructions.
    StopReason Run(uint64_t maxInstructions);

    // The machine's interrupt controller holds its line up while an interrupt waits.
    void SetInterruptLine(bool raised) { m_bInterruptLine = raised; }
    // Makes Run return before its next instruction; safe from another thread.
    void RequestStop() { m_bStopRequested.store(true, std::memory_order_relaxed); }

private:
    CpuState m_state;
    CMemory& m_memory;
    IMachineBus& m_bus;
    bool m_bInterruptLine = false;
    std::atomic<bool> m_bStopRequested{false};
};
