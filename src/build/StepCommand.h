// The line of a build step's batch file that runs the step's tool: directly, through
// MS-DOS Player, or in DOSBox from a configuration file written for the step.
#pragma once

#include "build/BuildAction.h"
#include "build/DosBoxConfig.h"
#include "build/DosRoute.h"
#include "build/Problem.h"

#include <optional>
#include <string>

struct Services;

struct StepCommand {
    std::wstring toolLine;
    // A DOSBox step: its configuration file, which goes with the batch file, and the file
    // its tool's output is redirected to, which is read as the step's output at its end.
    FilePath configFile;
    FilePath capturedFile;
    std::optional<Problem> problem;
};

// The tool line of a step on the source file, for the tool as the settings hold it and the
// emulator the user set (empty for none). A DOSBox step's configuration file is written here.
StepCommand MakeStepCommand(BuildAction action, const FilePath& source, const ToolSetting& tool,
                            const FilePath& emulatorPath, const Services& services);

// The tool lines from paths that the console holds (argument: "hello.asm;" or "hello;").
std::wstring DirectToolLine(const ToolSetting& tool, const std::wstring& argument);
std::wstring MsDosPlayerToolLine(const FilePath& emulator, const ToolSetting& tool, const std::wstring& argument);
std::wstring DosBoxToolLine(const FilePath& emulator, EmulatorKind kind, const FilePath& configFile);
// What DOSBox runs for a step: the source folder as C:, the tool's folder as D:, the tool by
// its 8.3 path on D: with its options and the argument, its output into KORVANE.OUT on C:.
CDosBoxConfig DosBoxStepConfig(BuildAction action, const FilePath& source, const ToolSetting& tool);
