// A build step made ready to run, without running anything: the source folder checked, the
// batch file written and closed, a DOSBox step's configuration beside it, or the problem
// that stopped it on the way.
#pragma once

#include "build/ArgumentTemplates.h"
#include "build/BatchFile.h"
#include "build/BuildAction.h"
#include "build/CompilerSettings.h"
#include "build/FilePath.h"
#include "build/ProgramModules.h"
#include "build/Result.h"

#include <vector>

struct Services;

struct StepRequest {
    BuildAction action = BuildAction::Compile;
    // The saved source file the step works on.
    FilePath source;
    CompilerSettings settings;
    // The debugger's build: where the settings hold no templates, its defaults (a listing, a map).
    bool bForDebugger = false;
    // What a link of a program of several modules links together, the main source first;
    // empty for a program of one file.
    std::vector<ProgramModule> linkedModules{};
};

struct ReadyStep {
    BuildAction action;
    FilePath source;
    // Goes, with a DOSBox step's configuration and batch file, when the step does.
    CBatchFile batch;
    // A DOSBox step's tool writes its output and exit code into these instead of the pipe.
    FilePath capturedOutput;
    FilePath capturedExitCode;
};

// The checks in their order: the source folder in a form the console reads, the batch file
// created and its drive and folder lines written, the tool's path set (where it is not, the
// two lines stay on disk for the user to see), the tool's line made and written.
Result<ReadyStep> PrepareStep(const StepRequest& request, const Services& services);
