// Starts a built program (or the debugger with it) in a console of its own, from a worker
// thread, without waiting for it or capturing anything. A DOS program that this system
// cannot run starts through the DOS emulator the user set.
#pragma once

#include "build/CommandProblem.h"
#include "build/DosBoxConfig.h"
#include "build/DosRoute.h"
#include "framework/Handles.h"

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>

// What run or debug starts.
struct LaunchCommand {
    std::string commandLine;
    // Started through an emulator, which gets a console of its own with its standard handles.
    bool bThroughEmulator = false;
    // A DOSBox run: its configuration file, deleted once the emulator has ended.
    std::string configFile;
    std::optional<CommandProblem> problem;
};

// Run: the program that linking the source file made, dir\base(.exe).
LaunchCommand MakeRunCommand(const std::string& sourceDir, const std::string& sourceName,
                             const std::string& emulatorPath);
// Debug: debug.exe with that program. Where the system runs DOS programs itself, its own
// debug.exe is found by the usual program search; elsewhere FindDebugger finds it.
LaunchCommand MakeDebugCommand(const std::string& sourceDir, const std::string& sourceName,
                               const std::string& compilerSetting, const std::string& emulatorPath);
// debug.exe in the compiler's folder, else in the emulator's, else on the program search path.
std::optional<std::string> FindDebugger(const std::string& compilerProgram, const std::string& emulatorPath);

// "dir\base" and "DEBUGGER dir\base.exe", each path in quotes when it holds a blank.
std::string RunCommandLine(const std::string& sourceDir, const std::string& sourceName);
std::string DebugCommandLine(const std::string& debugger, const std::string& sourceDir, const std::string& sourceName);
// "EMULATOR" "PROGRAM" ["ARGUMENT"...]: MS-DOS Player running the first program with the others.
std::string MsDosPlayerCommandLine(const std::string& emulator, std::initializer_list<std::string> programs);
// "EMULATOR" -conf "CONFIG" and the kind's own option.
std::string DosBoxCommandLine(const std::string& emulator, EmulatorKind kind, const std::string& configFile);
// What DOSBox runs for run and debug: the source folder as C:, for debug the debugger's folder
// as D:, and the program (with D:\DEBUG.EXE before it), leaving DOSBox at its prompt after.
CDosBoxConfig DosBoxRunConfig(const std::string& sourceDir, const std::string& sourceName,
                              const std::string& debugger = std::string());

// Starts the worker thread, which owns a full copy of the command. When the program cannot be
// started, the worker posts failureMessage to notifyWnd with the system's error number as
// wParam: the window's own thread is the one to tell the user. The returned thread handle
// may be waited on or simply dropped.
UniqueHandle LaunchProgramAsync(const LaunchCommand& command, HWND notifyWnd, UINT failureMessage);
