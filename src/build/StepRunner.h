// Runs one build step's command line on a worker thread. The worker reads the output as it
// is printed, decodes it and queues it; the runner's thread is told through its mailbox and
// takes what has been queued when it comes to it, so pieces that arrive faster than it takes
// them are joined into one.
#pragma once

#include "build/FilePath.h"
#include "build/PipeProcess.h"
#include "build/Problem.h"
#include "framework/Handles.h"
#include "framework/Mailbox.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

// What a step printed since the last report, and once it is over, how it ended.
struct StepReport {
    std::wstring text;
    bool bEnded = false;
    // Stop ended it.
    bool bStopped = false;
    // The command's own exit code, when it ended by itself.
    DWORD exitCode = 0;
    // The command could not be started.
    std::optional<Problem> problem;
};

class CStepRunner {
public:
    CStepRunner();
    // Shuts down.
    ~CStepRunner();
    CStepRunner(const CStepRunner&) = delete;
    CStepRunner& operator=(const CStepRunner&) = delete;

    // Replaces the runner the command lines are started with (a seam for tests). Only while
    // no step runs.
    void SetProcess(std::unique_ptr<CPipeProcess> process);

    // Starts a step (none may be running), on the thread that made the runner. A step whose
    // tool's output goes into a file (capturedOutput, a DOSBox step's) adds that file's text to
    // its output once the command has ended, and deletes the file; a step whose tool's exit
    // code goes into a file (capturedExitCode) ends with that code where the file holds one.
    // Files of these names left there earlier are deleted first, so that they cannot pass for
    // this step's. When a report waits, onReport runs on the runner's thread. While output keeps
    // coming, the report after one with text is announced by a timer: no sooner than a screen
    // refreshes, and only once the thread has no input to handle and nothing to paint, so a
    // flood of output never starves them. The end of a step is announced at once. A step whose
    // worker cannot be made ends at once with the problem.
    void Start(const std::wstring& commandLine, std::function<void()> onReport, const FilePath& capturedOutput = {},
               const FilePath& capturedExitCode = {});
    // From Start until the report that says the step ended has been taken.
    bool IsRunning() const { return m_bRunning; }
    // Ends the step's whole process tree; the step then reports that it was stopped.
    void Stop();
    // What the step printed since the last report. After a report that ends the step, the
    // runner is ready for the next Start.
    StepReport TakeReport();
    // Stops a running step and waits for its worker; nothing of that step is announced from
    // then on.
    void Shutdown();

private:
    struct Shared;
    static void CALLBACK RefreshTimer(HWND wnd, UINT message, UINT_PTR id, DWORD time);
    // Lets the worker announce output again, and announces what it queued meanwhile.
    void Refresh();
    void KillRefreshTimer();

    CMailbox m_mailbox;
    std::function<void()> m_onReport;
    std::shared_ptr<Shared> m_pShared;
    UniqueHandle m_hThread;
    bool m_bRunning = false;
};
