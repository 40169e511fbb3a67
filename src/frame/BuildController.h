// The build steps as the main frame runs them: one step at a time on a worker, what it
// prints appended to the output window as it comes, every step ended by a line of its own,
// and a build's link step only after a compile step that succeeded.
#pragma once

#include "build/BatchFile.h"
#include "build/BuildAction.h"
#include "build/StepRunner.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class COutputWindow;

// What the frame has to do after a report of the runner.
struct StepOutcome {
    bool bEnded = false;
    // The step was the compile step of a build, and it succeeded.
    bool bLinkNext = false;
    // The step's command could not be started: the frame tells the user why.
    std::optional<SystemError> failure;
};

class CBuildController {
public:
    explicit CBuildController(COutputWindow& output) : m_output(output) {}
    ~CBuildController() { Shutdown(); }
    CBuildController(const CBuildController&) = delete;
    CBuildController& operator=(const CBuildController&) = delete;

    // Replaces the runner the batch files are started with (a seam for tests).
    void SetProcess(std::unique_ptr<CPipeProcess> process) { m_runner.SetProcess(std::move(process)); }

    // A compile, link or build command begins: its first step starts on an empty panel.
    void BeginCommand(bool bLinkAfterCompile);
    // Runs the step of the source file whose batch file has been written and closed; the
    // runner posts message to notifyWnd when it has something to report. A DOSBox step's
    // tool writes its output into capturedFile, which is shown at the step's end.
    void Start(BuildAction action, const std::string& sourcePath, std::unique_ptr<CBatchFile> batch,
               const std::string& capturedFile, HWND notifyWnd, UINT message);
    bool IsRunning() const { return m_runner.IsRunning(); }
    // The status text of the running step.
    UINT StatusTextId() const;
    // The source file of the last step started, whose folder the tools ran in; empty before any.
    const std::string& GetSourcePath() const { return m_strSourcePath; }
    void Stop() { m_runner.Stop(); }
    // Shows what the step printed since the last report and, once it is over, its end. A
    // build links the file it compiled only, so not after another one has been opened.
    StepOutcome OnReport(const std::string& currentSourcePath);
    // Ends a running step for good, as the frame goes, and deletes its batch file.
    void Shutdown();

private:
    // The step's end line (and a build's verdict); says whether the link step follows.
    std::vector<std::wstring> EndStep(const StepReport& report, const std::string& currentSourcePath,
                                      StepOutcome& outcome);

    COutputWindow& m_output;
    CStepRunner m_runner;
    std::unique_ptr<CBatchFile> m_pBatch;
    BuildAction m_action = BuildAction::Compile;
    std::string m_strSourcePath;
    bool m_bLinkAfterCompile = false;
    bool m_bClearFirst = false;
};
