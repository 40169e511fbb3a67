// Starts a built program (or the debugger with it) in a console of its own, without capturing
// anything. A DOS program that this system cannot run starts through Korvane's own DOS machine,
// or through the DOS emulator the user set.
#pragma once

#include "build/CompilerSettings.h"
#include "build/DosBoxConfig.h"
#include "build/DosRoute.h"
#include "build/FilePath.h"
#include "build/Result.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

struct Services;

// What run or debug starts.
struct LaunchCommand {
    std::wstring commandLine;
    // The program the command line starts first, which a failure to start is about.
    FilePath program;
    // Started through an emulator, which gets a console of its own with its standard handles.
    bool bThroughEmulator = false;
    // A DOSBox run: its configuration file, deleted once the emulator has ended.
    FilePath configFile;
    // Where the program starts; empty for the environment's own current folder.
    FilePath workingFolder;
    // The title of the console of its own: the program's name, not the emulator's path.
    std::wstring consoleTitle;
    // LaunchProgram returns only when the program has ended (so its starter can take the
    // focus back from the console it closed).
    bool bWaitForEnd = false;
};

// The program built from the source file (from its main source, for a module of a program of
// several): dir\base.com where that is newer than dir\base.exe or dir\base.exe is missing (a
// tiny-model program), else dir\base.exe.
FilePath BuiltProgram(const FilePath& source);

// What the debugger in the window loads for a source: the program its toolchain builds (the
// Intel HEX file beside an 8051 source; a boot sector dir\base.bin or dir\base.img where it
// is newer than the program BuiltProgram names), and whether a build must come first (a
// toolchain without a link step wrote it with the compile, which is taken while newer than
// the source).
struct ProgramToDebug {
    FilePath program;
    bool buildFirst = true;
};
ProgramToDebug DebuggedProgram(const FilePath& source, const CompilerSettings& settings);

// How the built-in machine runs a program for F9: at most pace instructions a millisecond (0: as
// fast as it can), and the folders where it may change files besides its own ones.
struct BuiltInRun {
    uint32_t pace = 0;
    std::vector<FilePath> writableFolders;
    // Drive A:'s image, none when empty; the lab box's preset, none when empty, and its wiring
    // table (one cable a line; empty: the preset's own).
    FilePath floppy{};
    std::string labBox{};
    std::string labWiring{};
};

// Run: the built program.
Result<LaunchCommand> MakeRunCommand(const FilePath& source, const FilePath& emulatorPath, const Services& services,
                                     const BuiltInRun& builtIn = {});
// Debug: the debugger with the built program: the toolchain's own (debuggerSetting, a path and
// perhaps options), else debug.exe or debug.com. Where the system runs DOS programs itself,
// its own debug.exe is found by the usual program search; elsewhere FindDebugger finds one.
Result<LaunchCommand> MakeDebugCommand(const FilePath& source, const std::wstring& debuggerSetting,
                                       const FilePath& compilerProgram, const FilePath& emulatorPath,
                                       const Services& services);
// debug.exe or debug.com in the compiler's folder, else in the emulator's, else on the
// program search path.
std::optional<FilePath> FindDebugger(const FilePath& compilerProgram, const FilePath& emulatorPath);

// "dir\base" (dir\base.com for such a program) and "DEBUGGER [OPTIONS] PROGRAM", each path
// in quotes when it holds a blank.
std::wstring RunCommandLine(const FilePath& source);
std::wstring DebugCommandLine(const FilePath& debugger, const std::wstring& options, const FilePath& source);
// "MACHINE" --pause "PROGRAM": the built-in machine running the program, its console kept open
// until a key once the program has ended.
std::wstring BuiltInRunCommandLine(const FilePath& program, const BuiltInRun& builtIn = {});
// "MACHINE" --pause "DEBUGGER" NAME: the built-in machine running the debugger on the program,
// named as DOS names it in the folder the debugger starts in.
std::wstring BuiltInDebugCommandLine(const FilePath& debugger, const FilePath& program);
// "EMULATOR" "PROGRAM" ["ARGUMENT"...]: MS-DOS Player running the first program with the others.
std::wstring MsDosPlayerCommandLine(const FilePath& emulator, std::initializer_list<FilePath> programs);
// "EMULATOR" -conf "CONFIG" and the kind's own option.
std::wstring DosBoxCommandLine(const FilePath& emulator, EmulatorKind kind, const FilePath& configFile);
// What DOSBox runs for run and debug: the source folder as C:, for debug the debugger's folder
// as D:, and the program (with D:\DEBUG.EXE before it), leaving DOSBox at its prompt after.
CDosBoxConfig DosBoxRunConfig(const FilePath& source, const FilePath& debugger = FilePath());

// Starts the command's program without waiting for it, except for a DOSBox run, whose
// configuration goes once the emulator has ended: so it belongs on a thread of its own (a
// DOSBox session lasts as long as the user keeps it). The problem when the system refused to
// start the program.
Result<void> LaunchProgram(const LaunchCommand& command);
