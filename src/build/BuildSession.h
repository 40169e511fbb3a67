// A compile, link or build from its command to its last message, with no window of its own
// to show: it makes each step ready, runs it on a worker, turns what the tools print into
// the output text (with an end line for every step), indexes the tools' messages as the text
// grows, decides whether a build links, and tells its owner through one set of events. A
// program of several modules (ProgramModules.h) compiles them one step each, in the list's
// order up to the first that fails, and links them in one step.
#pragma once

#include "build/BuildAction.h"
#include "build/CompilerSettings.h"
#include "build/FilePath.h"
#include "build/MessageIndex.h"
#include "build/Problem.h"
#include "build/ProgramModules.h"
#include "build/StepPreparation.h"
#include "build/StepRunner.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct Services;

// Debug builds as Build does, with the arguments that leave the debugger its listing and map.
enum class BuildCommand { Compile, Link, Build, Debug };

// What a line of the output is, for its look.
enum class OutputLineKind { Plain, Error, Warning, Succeeded, Failed };

// How a step ended.
struct StepEnd {
    BuildAction action = BuildAction::Compile;
    // Stop ended it.
    bool bStopped = false;
    // The tool's exit code; nothing when the command could not be started.
    std::optional<DWORD> exitCode;
    // No step of the command follows.
    bool bCommandOver = true;
};

// The end lines, from the program's string table; %1 stands for an exit code.
struct StepTexts {
    std::wstring compileEnded;
    std::wstring linkEnded;
    std::wstring compileStopped;
    std::wstring linkStopped;
    std::wstring compileFailedNoLink;
    std::wstring sourceChangedNoLink;
};

// What the session asks of its owner and tells it, all on the owner's thread.
class IBuildOwner {
public:
    // A step is about to be made ready (the owner shows the output panel).
    virtual void OnStepBegins(BuildAction action) = 0;
    // The file the document has now; empty when it has never been saved. Nothing is saved.
    virtual FilePath CurrentSource() const = 0;
    // Saves the document when it is modified; false when that failed (the document has said why).
    virtual bool SaveSource() = 0;
    // The step runs; the first step of a command starts the output text anew.
    virtual void OnStepStarted(BuildAction action, bool bFirstOfCommand) = 0;
    // The output text grows by this at its end.
    virtual void OnOutput(std::wstring_view text) = 0;
    virtual void OnStepEnded(const StepEnd& end) = 0;
    virtual void OnProblem(const Problem& problem) = 0;

protected:
    ~IBuildOwner() = default;
};

class CBuildSession {
public:
    CBuildSession(IBuildOwner& owner, const Services& services, StepTexts texts);
    ~CBuildSession();
    CBuildSession(const CBuildSession&) = delete;
    CBuildSession& operator=(const CBuildSession&) = delete;

    // Replaces the runner the batch files are started with (a seam for tests).
    void SetProcess(std::unique_ptr<CPipeProcess> process) { m_runner.SetProcess(std::move(process)); }

    // Runs the command's steps with these settings, unless a step is running.
    void Start(BuildCommand command, const CompilerSettings& settings);
    // From the start of a step until its end line has been told.
    bool IsRunning() const { return m_runner.IsRunning(); }
    BuildAction RunningAction() const { return m_action; }
    // The command started last.
    BuildCommand Command() const { return m_command; }
    // Ends the running step's whole process tree; the step then ends as stopped.
    void Stop() { m_runner.Stop(); }
    // Ends a running step for good (its owner goes); nothing is told from then on.
    void Shutdown();

    // The source file of the last step started (the module compiled, the main source linked), in
    // whose folder the tools ran; empty before any.
    const FilePath& StepSource() const { return m_stepSource; }
    // The tools' messages in the output text of the current command, and the walk through them.
    CMessageIndex& Messages() { return m_messages; }
    const CMessageIndex& Messages() const { return m_messages; }
    // A line of the output text: a message's, an end line of a step that succeeded or failed
    // (the verdicts of a build count as failures), or another.
    OutputLineKind KindOfLine(size_t line) const;
    // The output text was cleared by the user: what the session knew of it goes.
    void OnOutputCleared();

private:
    // What follows a step of the command.
    enum class NextStep { None, CompileNextModule, Link };

    void RunStep(BuildAction action);
    // The program's modules, found at the command's first step; false when a problem stopped it.
    bool FindModules(const FilePath& source);
    void StartStep(ReadyStep step);
    void OnRunnerReport();
    // The end line of the step and, for a compile step, the verdict on what follows it.
    std::wstring EndStep(const StepReport& report, NextStep& next, std::vector<bool>& succeeded);
    std::wstring NextVerdict(const StepReport& report, NextStep& next) const;
    void Emit(std::wstring text);

    IBuildOwner& m_owner;
    const Services& m_services;
    const StepTexts m_texts;
    CStepRunner m_runner;
    std::optional<ReadyStep> m_step;
    BuildCommand m_command = BuildCommand::Compile;
    BuildAction m_action = BuildAction::Compile;
    CompilerSettings m_settings;
    // The program's modules, the main source first, and the one the compile step works on.
    std::vector<ProgramModule> m_modules;
    size_t m_nModule = 0;
    FilePath m_stepSource;
    CMessageIndex m_messages;
    // The output's end lines, their numbers in order, and whether each tells a success.
    std::vector<std::pair<size_t, bool>> m_endLines;
    bool m_bClearFirst = false;
    // The output text ends with a line break (or is empty).
    bool m_bAtLineStart = true;
};
