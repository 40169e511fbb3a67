// The debugger in the main window: a session from its command to its end. Starting saves and
// builds the program for the debugger (or takes a program its toolchain wrote with the compile
// as it is), loads it in-process and stops at its entry; the steps, continue and the commands
// of the command pane run the program on a worker thread, the panes the program's machine
// offers and the editor's current line (with the caret) follow once it stops; breakpoints come
// from the editor's gutter and the pane whose lines take them; F9 runs a program without a DOS
// of its own in the window. Each command is enabled for the state the session is in, and the
// keys of the common debugger convention reach the commands while a session runs.
#pragma once

#include "build/CompilerSettings.h"
#include "debugui/KeysInForce.h"
#include "build/FilePath.h"
#include "debug/DebugSession.h"
#include "debugui/DebugPanels.h"
#include "debugui/PaneEditing.h"
#include "framework/CCmdTarget.h"
#include "framework/Handles.h"
#include "framework/Mailbox.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CFrameWnd;
class CKorvaneView;

// What the debugger asks of the window it lives in.
class IDebugHost {
public:
    virtual CFrameWnd& HostFrame() = 0;
    // The source editor of the current tab, or nullptr.
    virtual CKorvaneView* SourceEditor() const = 0;
    // The editors of every tab.
    virtual std::vector<CKorvaneView*> SourceEditors() const = 0;
    // The file's editor made current, in a tab of its own when none shows it yet; nullptr
    // when it cannot be opened.
    virtual CKorvaneView* ShowSourceFile(const FilePath& file) = 0;
    // The document's file; empty while it has none.
    virtual FilePath CurrentSource() const = 0;
    // Saves the document when it is modified; false when that failed (the document said why).
    virtual bool SaveSource() = 0;
    virtual const CompilerSettings& Settings() const = 0;
    // Takes and keeps new settings (the machines' pace).
    virtual void ChangeSettings(const CompilerSettings& settings) = 0;
    // Starts the build for the debugger; false when it did not start (what stopped it is told).
    // OnBuildEnded follows a build that started.
    virtual bool BuildForDebugger() = 0;
    virtual bool IsBuildRunning() const = 0;
    // The session's state for the status bar's message pane; empty: the usual idle text.
    virtual void ShowDebugStatus(const std::string& text) = 0;
    // A session begins or ends: the window makes room for the panes, or puts back what it hid.
    virtual void OnSessionChanged(bool active) = 0;
    // The program runs (the start button becomes the pause button) or stands still.
    virtual void OnProgramRunning(bool running) = 0;

protected:
    ~IDebugHost() = default;
};

enum class DebugState : uint8_t {
    // No session.
    Idle,
    // The build for a session runs.
    Building,
    // A program is loaded and stands still.
    Stopped,
    // The worker runs the program.
    Running,
    // The program ended; the session stays until it is stopped or started again.
    Ended,
};

class CDebugController : public CCmdTarget {
public:
    explicit CDebugController(IDebugHost& host);
    ~CDebugController() override;
    CDebugController(const CDebugController&) = delete;
    CDebugController& operator=(const CDebugController&) = delete;

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    // The debugger's command for a key the user pressed (F11 always; the others while a session
    // runs); 0 for none.
    UINT CommandForKey(const MSG& msg) const;
    // Which keys are in force: a session's (F5 continues, F9 sets breakpoints, ...), a run's
    // in the window, or the editor's.
    KeyContext Keys() const;
    // What the start command does now: 开始调试, 继续 or 暂停.
    std::string StartLabel() const;

    DebugState State() const { return m_state; }
    bool IsActive() const { return m_state != DebugState::Idle; }
    // F9 for a program that runs in the window: its live panes shown while it runs.
    void RunInWindow();
    void OnStart();
    // The debugger's build ended; the program is loaded when it succeeded.
    void OnBuildEnded(bool succeeded);
    // Ends the session, also while the program runs.
    void EndSession();
    // The window goes: the worker is stopped and waited for.
    void Shutdown();
    // Asked before an edit of the source: while a session lasts, whether to end it.
    bool AllowSourceEdit();
    // A click in the editor's gutter.
    void ToggleLineBreakpoint(size_t line);
    // The 调试窗口 menu: an item for each pane of the session's machine (or of the last one).
    void FillPaneMenu(HMENU menu) const;
    static bool IsPaneMenu(HMENU menu);
    // The status line's prompt for a pane's item.
    std::string PanePrompt(UINT id) const;

    CDebugSession& Session() { return m_session; }
    CDebugPanels& Panels() { return m_panels; }

private:
    void BeginSession(bool runOnly);
    void Launch(bool runOnly);
    DebugLaunch MakeLaunch(const FilePath& source, const FilePath& program) const;
    // Runs a step, a continue or a command on the worker; the panes follow when it returns.
    void RunOnWorker(std::function<StopInfo()> work);
    void OnStopped(const StopInfo& stop);
    void FollowInEditor();
    std::string StatusOf(const StopInfo& stop) const;
    std::string RanText(const StopInfo& stop) const;
    std::string PlaceText() const;
    void OnStepInto();
    void OnStepOver();
    void OnStepOut();
    void OnRunToCursor();
    void OnToggleBreakpoint();
    void OnStepBack();
    void OnCommandLine(const std::string& line);
    void OnRealTime51();
    void OnBoard51(UINT id);
    void OnBounce51();
    void OnPace(UINT id);
    // The pane edits changed the program's state.
    void OnEdited();
    // What a pane's window does when it is made.
    void AttachHost(CPaneHost& host);
    void TogglePane(CPaneHost& host);
    CPaneHost* PaneOfCommand(UINT id) const;
    CDebugPane* CommandPane() const;
    static void CALLBACK OnLiveTimer(HWND wnd, UINT message, UINT_PTR id, DWORD time);
    void SetState(DebugState state);
    void ShowRunning(bool running);
    // The source line of an editor's line, named as the map names the editor's file (or by
    // its name relative to the session's folder where the map has no line of it).
    SourceLine LineOfEditor(const CKorvaneView& view, size_t line, const CSourceMap& map) const;
    // The file a line of the source map is in: its name is relative to the session's folder.
    FilePath FileOf(const SourceLine& line) const;
    // The pane whose lines take breakpoints, where it is the place run to cursor and toggle
    // breakpoint act on (it has the focus, or the program has no source); nullptr otherwise.
    CPaneHost* LeadingPane() const;
    bool IsStill() const { return m_state == DebugState::Stopped || m_state == DebugState::Ended; }

    IDebugHost& m_host;
    CDebugSession m_session;
    CDebugPanels m_panels;
    CPaneEditing m_editing;
    CMailbox m_mailbox;
    UniqueHandle m_worker;
    DebugState m_state = DebugState::Idle;
    // A delivery of a worker that ran for an earlier number is dropped (its session ended).
    uint64_t m_nRun = 0;
    bool m_bRunOnly = false;
    // The window shows the program running (the pause button, the status, no command line).
    bool m_bRunningShown = false;
    // The source of the session (or of the build for it).
    FilePath m_source;
    // The program debugged last.
    std::wstring m_strLastProgram;
    // What the command pane's last command printed, from the worker.
    std::string m_strCommandOutput;
    bool m_bCommandRan = false;
};
