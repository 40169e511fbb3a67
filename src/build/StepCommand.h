// The line of a build step's batch file that runs the step's tool: directly, through Korvane's
// own DOS machine or MS-DOS Player, or in DOSBox from a configuration file written for the step.
#pragma once

#include "build/ArgumentTemplates.h"
#include "build/BuildAction.h"
#include "build/DosBoxConfig.h"
#include "build/DosRoute.h"
#include "build/ProgramModules.h"
#include "build/Result.h"

#include <string>

struct Services;

// The files a DOSBox step writes beside the step's own: its configuration and the batch file
// that runs the tool, which go with the step, and, in the source folder, the tool's output
// and exit code, which are read at the step's end.
struct CapturedFiles {
    FilePath configFile;
    FilePath batchFile;
    FilePath output;
    FilePath exitCode;
};

struct StepCommand {
    std::wstring toolLine;
    CapturedFiles captured;
};

// The tool line of a step on the source file, for the tool as the settings hold it, the
// template of its arguments and the emulator the user set (empty for the built-in machine). A
// link of several modules (linked, the main source first) names all their objects. A DOSBox
// step's configuration is written here.
Result<StepCommand> MakeStepCommand(const FilePath& source, const ToolSetting& tool, const std::wstring& argumentTemplate,
                                    const FilePath& emulatorPath, const Services& services,
                                    const std::vector<ProgramModule>& linked = {});

// The tool lines from paths that the console holds, with the arguments as a batch line
// takes them.
std::wstring DirectToolLine(const ToolSetting& tool, const std::wstring& arguments);
// A DOS tool run by a console emulator (the built-in machine or MS-DOS Player), which passes
// the arguments on and ends with the tool's own exit code.
std::wstring EmulatedToolLine(const FilePath& emulator, const ToolSetting& tool, const std::wstring& arguments);
std::wstring DosBoxToolLine(const FilePath& emulator, EmulatorKind kind, const FilePath& configFile);
// What DOSBox runs for a step: the source folder as C:, the tool's folder as D:, the tool by
// its 8.3 path on D: with its options and arguments, its output into KORVANE.OUT and its exit
// code into KORVANE.RET on C:.
CDosBoxConfig DosBoxStepConfig(const FilePath& source, const ToolSetting& tool, const std::wstring& argumentTemplate,
                               const std::vector<ProgramModule>& linked = {});
