// A debugging session over either machine: start a built program stopped at its entry, step
// into, over and out, run to a line or to breakpoints, pause, and step back the steps as the
// user took them; breakpoints on source lines and addresses; the stops told with their cause.
//
// Threads: the session has one caller at a time. Start, the steps, Continue, StepBack, Stop,
// the breakpoint and edit calls and every pane text are made from that caller's thread; the
// window side runs the long ones (everything that runs the program) on a worker thread and
// reads the panes once the worker has returned. Pause, PressKey, SendSerial, State, Screen,
// SerialText and Ports are safe from any thread at any time, also while the worker runs.
#pragma once

#include "debug/DebugTarget.h"
#include "debug/SourceMap.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct DebugLaunch {
    // A DOS .EXE or .COM, or an 8051 Intel HEX file (.HEX).
    std::wstring program;
    // DOS's current folder (the source's); empty: the process's own.
    std::wstring folder;
    // The DOS command tail, in the machine's code page.
    std::string tail;
    // An 8052 (256 bytes of internal RAM, Timer 2) rather than an 8051.
    bool mcs8052 = false;
    // The 8051 runs at a real 12 MHz chip's pace; else as fast as it can.
    bool realTime = true;
    // Where the source lines are; empty for a program built without a listing.
    CSourceMap sourceMap;
    // The breakpoints' lines as the editor has them now, and those set on addresses (in the
    // disassembly pane: linear on the 8086, code addresses on the 8051).
    std::vector<SourceLine> breakpoints;
    std::vector<uint32_t> addressBreakpoints;
};

enum class StopCause : uint8_t {
    // No program is loaded (never started, or stopped).
    NoProgram,
    // The program could not be loaded: StopInfo::detail is the LoadError or HexError51.
    LoadFailed,
    // Loaded and stopped at its entry.
    Started,
    // A step or a run to a place ended where it was meant to.
    Stepped,
    Breakpoint,
    Paused,
    // The program ended: StopInfo::exitCode.
    Ended,
    // The machine stopped the program (a divide error it could not hand to a handler).
    Faulted,
    SteppedBack,
    // A step back that could not be taken: StopInfo::limit says why; nothing changed.
    BackRefused,
    // A run to a line that made no code.
    NoCode,
};

struct StopInfo {
    StopCause cause = StopCause::NoProgram;
    BackLimit limit = BackLimit::None;
    int exitCode = 0;
    int detail = 0;
};

// What the program is doing, as another thread sees it.
enum class RunState : uint8_t { NoProgram, Stopped, Running, WaitingForKey, Ended };

class CDebugSession {
public:
    CDebugSession() = default;
    ~CDebugSession();
    CDebugSession(const CDebugSession&) = delete;
    CDebugSession& operator=(const CDebugSession&) = delete;

    // Loads the program anew and stops at its entry, with the launch's breakpoints set.
    StopInfo Start(DebugLaunch launch);
    // One instruction (INT 21h and the BIOS services are one).
    StopInfo StepInto();
    // Runs a CALL, INT or REP string instruction through to the next instruction at the same
    // stack depth; any other instruction is a step into. withLoops also runs LOOP out (DEBUG's p).
    StopInfo StepOver(bool withLoops = false);
    // Runs until the current procedure has returned.
    StopInfo StepOut();
    StopInfo RunToLine(const SourceLine& line);
    StopInfo RunToAddress(uint32_t address);
    // Runs to a breakpoint (or one of the temporary ones, removed afterwards) or the end.
    StopInfo Continue(const std::vector<uint32_t>& temporary = {});
    // Undoes the last step as it was taken (a step over, a run to a breakpoint whole).
    StopInfo StepBack();
    // Ends the session; the program is dropped.
    void Stop();

    void Pause();
    // A key as the BIOS stores it (scan code high, character low) for a DOS program.
    void PressKey(uint16_t key);
    // A byte for the 8051's serial receiver.
    void SendSerial(uint8_t byte);
    RunState State() const { return m_state.load(std::memory_order_acquire); }
    ScreenCells Screen() const;
    std::string SerialText() const;
    // The port latches P0-P3 of the 8051.
    std::array<uint8_t, 4> Ports() const;

    // A breakpoint on a source line, mapped through the source map; false when the line made
    // no code (none set).
    bool SetLineBreakpoint(const SourceLine& line, bool set);
    void SetAddressBreakpoint(uint32_t address, bool set);
    bool HasUserBreakpoint(uint32_t address) const { return m_userBreakpoints.count(address) != 0; }
    // The address of a line's code, where the program is loaded.
    std::optional<uint32_t> AddressOfLine(const SourceLine& line) const;

    bool Loaded() const { return m_target != nullptr; }
    // Counts the programs started, so that what was kept for one is not taken for the next's.
    uint64_t Generation() const { return m_nGeneration; }
    IDebugTarget* Target() { return m_target.get(); }
    const IDebugTarget* Target() const { return m_target.get(); }
    const CSourceMap& SourceMap() const { return m_map; }
    // The source line of the next instruction, where the source map knows it.
    std::optional<SourceLine> CurrentLine() const;
    const StopInfo& LastStop() const { return m_last; }
    // Tells the panes that an edit changed the program's state: its screen is shown again.
    void Edited() { PublishScreen(); }

private:
    struct Action {
        uint64_t executed;
        size_t output;
    };

    // Runs one of the user's steps: notes where it began, so that a step back can undo it.
    StopInfo Act(const std::function<StopInfo()>& step);
    StopInfo Stopped(TargetStop stop) const;
    // Runs the target (one instruction, or a slice at a time) until it stops for a reason of
    // its own: waits for keys and for time while the program does.
    TargetStop Advance(bool single);
    StopInfo RunTo(uint32_t address, uint32_t depth);
    StopInfo StepOverNext(const NextInstruction& next, bool withLoops);
    void DeliverInput();
    bool WaitForInput();
    void WaitForTime();
    void PublishScreen();
    void SetState(RunState state) { m_state.store(state, std::memory_order_release); }

    std::unique_ptr<IDebugTarget> m_target;
    CSourceMap m_map;
    std::set<uint32_t> m_userBreakpoints;
    std::deque<Action> m_actions;
    std::set<uint32_t> m_temporaries;
    StopInfo m_last;
    std::atomic<RunState> m_state{RunState::NoProgram};
    std::atomic<bool> m_bPause{false};
    std::chrono::steady_clock::time_point m_nextPublish;
    uint64_t m_nGeneration = 0;

    // Guards the target's lifetime against Pause from another thread.
    mutable std::mutex m_targetLock;
    // Input from other threads, and the wait for it.
    mutable std::mutex m_inputLock;
    std::condition_variable m_inputReady;
    std::deque<uint16_t> m_input;
    std::atomic<bool> m_bInput{false};
    // The screen as the last publish left it.
    mutable std::mutex m_screenLock;
    ScreenCells m_screen;
};
