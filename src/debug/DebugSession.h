// A debugging session over whichever machine the program is for: start a built program stopped
// at its entry, step into, over and out, run to a line or to breakpoints, pause, and step back
// the steps as the user took them; breakpoints on source lines and addresses; the stops told
// with their reason; the panes the machine offers, those that show a running program kept up
// to date while it runs.
//
// Threads: the session has one caller at a time. Start, the steps, Continue, StepBack, Stop,
// the breakpoint and edit calls and every pane's content are made from that caller's thread;
// the window side runs the long ones (everything that runs the program) on a worker thread and
// reads the panes once the worker has returned. Pause, ClearPause, Feed, State and LiveContent
// are safe from any thread at any time, also while the worker runs.
#pragma once

#include "debug/DebugPane.h"
#include "debug/DebugTarget.h"
#include "debug/Sentence.h"
#include "debug/SourceMap.h"

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
    // The built program (its kind says which machine runs it).
    std::wstring program;
    // The program's current folder (the source's); empty: the process's own.
    std::wstring folder;
    // The command tail, in the machine's code page.
    std::string tail;
    // A machine with a crystal of its own keeps a real chip's pace; else it runs as fast as it can.
    bool realTime = true;
    // The 8051's teaching board: "plain", "pz" or "tx"; another name, or none, is plain.
    std::string board51;
    // Its keys bounce for a few milliseconds as they close and open.
    bool bounce51 = false;
    // A machine that keeps to the host's clock runs at most this many instructions a
    // millisecond; 0: as fast as it can.
    uint32_t instructionsPerMs = 0;
    // Folders where a machine with files may change them besides the program's own, the
    // current one and the temporary one.
    std::vector<std::wstring> writableFolders;
    // A DOS machine's drive A: (an image file; none when empty) and the lab box on its bus (a
    // preset's name; none when empty).
    std::wstring floppy;
    std::string labBox;
    // The box's wiring table (one cable a line); empty: its preset's own.
    std::string labWiring;
    // Where the source lines are; empty for a program built without a listing.
    CSourceMap sourceMap;
    // The breakpoints' lines as the editor has them now, and those set on addresses (in the
    // disassembly pane: linear on the 8086, code addresses on the 8051).
    std::vector<SourceLine> breakpoints;
    std::vector<uint32_t> addressBreakpoints;
};

// What a call of the session did.
enum class SessionResult : uint8_t {
    // No program is loaded (never started, or stopped).
    NoProgram,
    // The program could not be loaded: StopInfo::failure says why.
    LoadFailed,
    // Loaded and stopped at its entry.
    Started,
    // The program ran and stopped: StopInfo::reason says why.
    Ran,
    SteppedBack,
    // A step back that could not be taken: StopInfo::limit says why; nothing changed.
    BackRefused,
    // A run to a line that made no code.
    NoCode,
};

struct StopInfo {
    SessionResult result = SessionResult::NoProgram;
    // Why a run stopped, as the machine says it: Limit when the step or the run to a place got
    // where it was going, Breakpoint at one of the user's, Paused, Ended (exitCode), Faulted.
    StopReason reason = StopReason::Limit;
    BackLimit limit = BackLimit::None;
    int exitCode = 0;
    Sentence failure{};

    static StopInfo Ran(StopReason reason, int exitCode = 0)
    {
        return StopInfo{SessionResult::Ran, reason, BackLimit::None, exitCode, {}};
    }
    bool Ended() const { return result == SessionResult::Ran && (reason == StopReason::Ended || reason == StopReason::Faulted); }
};

// What the program is doing, as another thread sees it.
enum class RunState : uint8_t { NoProgram, Stopped, Running, WaitingForKey, Ended };

class CDebugSession {
public:
    CDebugSession() = default;
    ~CDebugSession();
    CDebugSession(const CDebugSession&) = delete;
    CDebugSession& operator=(const CDebugSession&) = delete;

    // Loads the program anew into the machine its file is for and stops at its entry, with the
    // launch's breakpoints set.
    StopInfo Start(DebugLaunch launch);
    // The same with a machine that holds the program already.
    StopInfo Start(std::unique_ptr<IDebugTarget> target, DebugLaunch launch);
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
    // Forgets a pause that no run took: the window side calls it before it starts a run on its
    // worker, so that a pause asked for as soon as the run starts is never lost.
    void ClearPause();
    // Input the user gave the program: a key as the BIOS stores it (scan code high, character
    // low) for a DOS program, a byte for the 8051's serial receiver.
    void Feed(uint16_t input);
    // The mouse over the program's screen, to its machine at once (safe from any thread).
    void Point(int x, int y, unsigned buttons);
    RunState State() const { return m_state.load(std::memory_order_acquire); }

    // The panes the program's machine offers, for as long as it is loaded.
    const std::vector<std::unique_ptr<CDebugPane>>& Panes() const { return m_panes; }
    CDebugPane* Pane(uint16_t id) const;
    // A pane's content made now from the stopped program; the source map is the session's.
    PaneContent Content(const CDebugPane& pane, PaneQuery query) const;
    // What a live pane showed when the running program was last looked at.
    PaneContent LiveContent(uint16_t id) const;

    // A breakpoint on a source line, mapped through the source map; false when the line made
    // no code (none set).
    bool SetLineBreakpoint(const SourceLine& line, bool set);
    void SetAddressBreakpoint(uint32_t address, bool set);
    bool HasUserBreakpoint(uint32_t address) const { return m_userBreakpoints.count(address) != 0; }
    // The address of a line's code, where the program is loaded.
    std::optional<uint32_t> AddressOfLine(const SourceLine& line) const;

    bool Loaded() const { return m_target != nullptr; }
    IDebugTarget* Target() { return m_target.get(); }
    const IDebugTarget* Target() const { return m_target.get(); }
    const CSourceMap& SourceMap() const { return m_map; }
    // The source line of the next instruction, where the source map knows it.
    std::optional<SourceLine> CurrentLine() const;
    const StopInfo& LastStop() const { return m_last; }
    // Tells the panes that an edit changed the program's state: the live panes are looked at again.
    void Edited() { PublishLive(); }

private:
    struct Action {
        uint64_t executed;
        size_t output;
    };

    // Runs one of the user's steps: notes where it began, so that a step back can undo it.
    StopInfo Act(const std::function<StopInfo()>& step);
    StopInfo Stopped(StopReason reason) const;
    // Runs the target (one instruction, or a slice at a time) until it stops for a reason of
    // its own: waits for keys and for time while the program does.
    StopReason Advance(bool single);
    StopInfo RunTo(uint32_t address, uint32_t depth);
    StopInfo StepOverNext(const NextInstruction& next, bool withLoops);
    void DeliverInput();
    bool WaitForInput();
    void WaitForTime();
    void PublishLive();
    void SetState(RunState state) { m_state.store(state, std::memory_order_release); }

    std::unique_ptr<IDebugTarget> m_target;
    std::vector<std::unique_ptr<CDebugPane>> m_panes;
    CSourceMap m_map;
    std::set<uint32_t> m_userBreakpoints;
    std::deque<Action> m_actions;
    std::set<uint32_t> m_temporaries;
    StopInfo m_last;
    std::atomic<RunState> m_state{RunState::NoProgram};
    std::atomic<bool> m_bPause{false};
    std::chrono::steady_clock::time_point m_nextPublish;

    // Guards the target's lifetime against Pause from another thread.
    mutable std::mutex m_targetLock;
    // Input from other threads, and the wait for it.
    mutable std::mutex m_inputLock;
    std::condition_variable m_inputReady;
    std::deque<uint16_t> m_input;
    std::atomic<bool> m_bInput{false};
    // The live panes as the last look left them, by their ids.
    mutable std::mutex m_liveLock;
    std::vector<std::pair<uint16_t, PaneContent>> m_live;
};
