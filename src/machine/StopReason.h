// Why a machine's run or step returned: one reason, from the CPU through the machine, the
// debugger's target and session to the window.
#pragma once

#include <cstdint>

namespace machine {

enum class StopReason : uint8_t {
    // The budget is spent (or the one instruction of a step ran).
    Limit,
    // The next instruction is at a breakpoint.
    Breakpoint,
    // RequestStop was called.
    Paused,
    // The program waits for input (a key, redirected input) that has not come.
    WaitingForInput,
    // The CPU has nothing to do until time passes: HLT, the 8051's idle mode, or a run that is
    // ahead of the pace it keeps. UntilWake says how long.
    Idle,
    // The program ended (DOS: its exit code; the 8051: a jump to itself that no interrupt can
    // leave, or a chip that stopped for good).
    Ended,
    // The machine stopped the program (an exception without a handler, HLT with interrupts off).
    Faulted,
};

}  // namespace machine
