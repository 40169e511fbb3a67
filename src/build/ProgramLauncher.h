// Starts a built program (or the debugger with it) in a console of its own, from a worker
// thread, without waiting for it or capturing anything.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <string>

// Starts the worker thread, which owns a full copy of the command line. When the program
// cannot be started, the worker posts failureMessage to notifyWnd with the system's error
// number as wParam: the window's own thread is the one to tell the user. The returned thread
// handle may be waited on or simply dropped.
UniqueHandle LaunchProgramAsync(const std::string& commandLine, HWND notifyWnd, UINT failureMessage);

// "dir\base" and "debug.exe dir\base.exe" for a source name and its directory.
std::string RunCommandLine(const std::string& sourceDir, const std::string& sourceName);
std::string DebugCommandLine(const std::string& sourceDir, const std::string& sourceName);
