// What the debugger's session asks of a machine, the 8086 DOS machine or the 8051 alike: run
// and step with the step-back history on, breakpoints, where the program is and what its next
// instruction is, and the points past which a step back cannot go.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dos {
class CDosTarget;
}
namespace mcs51 {
class CTarget51;
}

enum class TargetKind : uint8_t { Dos, Mcs51 };

// The DOS program's text screen: 80x25 cells (character low, attribute high) and the cursor.
struct ScreenCells {
    static constexpr int kColumns = 80;
    static constexpr int kRows = 25;
    std::array<uint16_t, kColumns * kRows> cells{};
    uint8_t row = 0;
    uint8_t column = 0;
    bool cursorShown = true;

    friend bool operator==(const ScreenCells&, const ScreenCells&) = default;
};

// Why Step or Run returned.
enum class TargetStop : uint8_t {
    // The budget is spent (or the one instruction of Step ran).
    Limit,
    // The next instruction is at a breakpoint.
    Breakpoint,
    // RequestStop was called.
    Paused,
    // The program waits for a key that has not come.
    WaitingForKey,
    // The CPU waits for an interrupt (HLT, the 8051's idle mode): time must pass.
    Idle,
    // The program ended (DOS: its exit code; the 8051: a jump to itself).
    Ended,
    // The machine stopped the program (a divide error with no handler, a halted CPU).
    Faulted,
};

// What the next instruction is, as step over and step out need it.
enum class InstructionKind : uint8_t { Plain, Call, Interrupt, RepString, Loop, Return };

struct NextInstruction {
    // Where it starts: a linear address on the 8086, a code address on the 8051.
    uint32_t address = 0;
    // Its bytes with their prefixes; 0 where the machine cannot tell.
    uint8_t length = 0;
    InstructionKind kind = InstructionKind::Plain;
};

// Why the step-back history reaches no further back.
enum class BackLimit : uint8_t {
    None,
    // Nothing has run since the program started.
    Start,
    // The history's rings hold no more.
    HistoryExhausted,
    // The program took something from outside: a key, redirected input, a file, a serial byte.
    KeyRead,
    InputRead,
    FileRead,
    FileWritten,
    FileSystemChanged,
    SerialRead,
    // The program ended: its files are closed and its memory given back.
    Ended,
};

// One machine under the debugger. All calls come from one thread at a time (the session's
// caller), except RequestStop, which is safe from any thread at any time.
class IDebugTarget {
public:
    virtual ~IDebugTarget() = default;

    virtual TargetKind Kind() const = 0;
    virtual dos::CDosTarget* Dos() { return nullptr; }
    virtual mcs51::CTarget51* Mcs51() { return nullptr; }

    // One instruction (with the interrupt that may follow it); Limit when it ran.
    virtual TargetStop Step() = 0;
    // At most budget instructions; the first runs even on a breakpoint.
    virtual TargetStop Run(uint64_t budget) = 0;
    virtual void RequestStop() = 0;

    // Instructions run since the load, less those stepped back.
    virtual uint64_t Executed() const = 0;
    // How many of the last instructions can be undone now.
    virtual size_t BackDepth() const = 0;
    // Undoes the last count instructions (at most BackDepth()); returns how many.
    virtual size_t StepBack(size_t count) = 0;
    // What last cut the history short, and the instruction count at which it did; instructions
    // before that count cannot be undone.
    virtual BackLimit Barrier() const = 0;
    virtual uint64_t BarrierAt() const = 0;

    // The address of the next instruction, as breakpoints take it.
    virtual uint32_t Pc() const = 0;
    virtual NextInstruction Next() const = 0;
    // Where the instruction after the next one starts (the 8086 wraps within CS).
    virtual uint32_t AddressAfter(const NextInstruction& next) const = 0;
    // The CPU sleeps (HLT, the 8051's idle mode) until an interrupt wakes it.
    virtual bool Sleeping() const = 0;
    // How long real time must pass before a sleeping CPU may wake (the PC's timer tick).
    virtual std::chrono::microseconds UntilWake() const { return {}; }
    // A number that grows as calls nest (the 8086's stack grows down, the 8051's up).
    virtual uint32_t StackDepth() const = 0;
    // The address at which the program's image starts: the source map's offsets count from here.
    virtual uint32_t ImageBase() const = 0;

    virtual void SetBreakpoint(uint32_t address, bool set) = 0;
    virtual bool HasBreakpoint(uint32_t address) const = 0;

    // The program's exit code once it ended (none on the 8051).
    virtual int ExitCode() const = 0;

    // Notes the registers and memory as they are now, so that the panes can show what the
    // next step changes.
    virtual void MarkChanges() = 0;
    // Input the user gave for the program (a key as the BIOS stores it, or a serial byte),
    // taken while the program does not run.
    virtual void Feed(uint16_t input) = 0;
    // How much the program has sent out that a step back takes back with it (the 8051's
    // serial bytes; the DOS screen is memory, which the history restores).
    virtual size_t OutputMark() const { return 0; }
    virtual void RewindOutput(size_t) {}
    // The DOS program's screen; false where there is none.
    virtual bool ReadScreen(ScreenCells&) const { return false; }
    // What the 8051 sent through its serial port, and its port latches; safe from any thread.
    virtual std::string SerialText() const { return {}; }
    virtual uint8_t PortLatch(unsigned) const { return 0xFF; }
};
