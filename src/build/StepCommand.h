// The line of a build step's batch file that runs the step's tool: directly, through
// MS-DOS Player, or in DOSBox from a configuration file written for the step.
#pragma once

#include "build/BuildAction.h"
#include "build/CommandProblem.h"
#include "build/DosBoxConfig.h"
#include "build/DosRoute.h"

#include <optional>
#include <string>

struct StepCommand {
    // The batch file's line (UTF-8).
    std::string toolLine;
    // A DOSBox step: its configuration file, which goes with the batch file, and the file
    // its tool's output is redirected to, which is read as the step's output at its end.
    std::string configFile;
    std::string capturedFile;
    std::optional<CommandProblem> problem;
};

// The tool line of a step on the source file, for the tool as the settings hold it and the
// emulator the user set (empty for none). A DOSBox step's configuration file is written here.
StepCommand MakeStepCommand(BuildAction action, const std::string& sourcePath, const std::string& toolSetting,
                            const std::string& emulatorPath);

// The tool lines from paths that the console holds (argument: "hello.asm;" or "hello;").
std::string DirectToolLine(const ToolSetting& tool, const std::string& argument);
std::string MsDosPlayerToolLine(const std::string& emulator, const ToolSetting& tool, const std::string& argument);
std::string DosBoxToolLine(const std::string& emulator, EmulatorKind kind, const std::string& configFile);
// What DOSBox runs for a step: the source folder as C:, the tool's folder as D:, the tool by
// its 8.3 path on D: with its options and the argument, its output into KORVANE.OUT on C:.
CDosBoxConfig DosBoxStepConfig(BuildAction action, const std::string& sourcePath, const ToolSetting& tool);
