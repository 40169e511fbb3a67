// Starts a built program (or the debugger with it) in a console of its own, from a worker
// thread, without waiting for it or capturing anything.
#pragma once

#include "framework/Handles.h"

#include <string>

// Starts the worker thread; it owns a full copy of the command line. The returned thread
// handle may be waited on or simply dropped.
UniqueHandle LaunchProgramAsync(const std::string& commandLine);

// The worker: creates the process and shows the system's error text when that fails.
DWORD WINAPI LaunchProgramThread(LPVOID commandLine);

// "dir\base" and "debug.exe dir\base.exe" for a source name and its directory.
std::string RunCommandLine(const std::string& sourceDir, const std::string& sourceName);
std::string DebugCommandLine(const std::string& sourceDir, const std::string& sourceName);
