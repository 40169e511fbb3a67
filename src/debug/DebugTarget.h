// What the debugger's session asks of a machine, whichever it is: run and step with the
// step-back history on, breakpoints, where the program is and what its next instruction is,
// the points past which a step back cannot go; and what the machine has to show: its name, its
// panes, where the program stands and why it was stopped. Only the one place that makes targets
// knows which machines there are.
#pragma once

#include "debug/DebugPane.h"
#include "debug/Sentence.h"
#include "machine/StopReason.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDebugSession;

using machine::StopReason;

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

    // The machine's name, a text of the string table.
    virtual uint32_t NameId() const = 0;
    // The panes the machine offers a session, in the order the window lists them; their
    // commands run the program through the session.
    virtual std::vector<std::unique_ptr<CDebugPane>> MakePanes(CDebugSession& session) = 0;

    // One instruction (with the interrupt that may follow it); Limit when it ran.
    virtual StopReason Step() = 0;
    // At most budget instructions; the first runs even on a breakpoint.
    virtual StopReason Run(uint64_t budget) = 0;
    virtual void RequestStop() = 0;
    // Real time passes for the program only while its clock runs: the session runs it for a
    // step or a run, and stops it while the program stands still.
    virtual void SetClockRunning(bool running) = 0;

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
    // How long real time must pass before an idle machine may go on (the PC's timer tick).
    virtual std::chrono::microseconds UntilWake() const { return {}; }
    // A number that grows as calls nest (the 8086's stack grows down, the 8051's up).
    virtual uint32_t StackDepth() const = 0;
    // The address at which the program's image starts: the source map's offsets count from here.
    virtual uint32_t ImageBase() const = 0;
    // Where the program stands, as the status line names a place without a source line.
    virtual std::string PlaceText() const = 0;
    // Why the machine stopped the program, for the status line.
    virtual Sentence FaultText() const = 0;

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
    // The mouse over the program's screen, in its picture's pixels, and the buttons held; safe
    // from any thread, also while the program runs. Targets without a mouse let it go.
    virtual void Point(int /*x*/, int /*y*/, unsigned /*buttons*/) {}
    // How much the program has sent out that a step back takes back with it (the 8051's
    // serial bytes; the DOS screen is memory, which the history restores).
    virtual size_t OutputMark() const { return 0; }
    virtual void RewindOutput(size_t) {}
};
