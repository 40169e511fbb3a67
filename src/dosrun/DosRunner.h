// korvane-dos.exe: runs one DOS program to its end in the machine, with the console or the
// pipes it was given, and ends with the program's return code or one of the codes below
// (listed in the README) after one line on standard error that names the cause.
#pragma once

#include "dos/DosMachine.h"
#include "dosrun/ConsoleHost.h"
#include "dosrun/ConsoleScreen.h"
#include "dosrun/DeviceObserver.h"
#include "dosrun/RunnerOptions.h"
#include "dosrun/ScreenWindow.h"

#include <memory>
#include <string>

namespace dos {

enum RunnerExit : int {
    kExitUsage = 1001,
    kExitNotFound = 1002,
    kExitUnreadable = 1003,
    kExitWindowsProgram = 1004,
    kExitCorruptHeader = 1005,
    kExitNoMemory = 1006,
    kExitComTooLarge = 1007,
    kExitDivideError = 1008,
    kExitInvalidOpcode = 1009,
    kExitBoundRange = 1010,
    kExitHalted = 1011,
    kExitBreak = 1012,
    kExitInternal = 1013,
};

class CDosRunner {
public:
    // The whole command line as GetCommandLineW gives it.
    int Run(const std::wstring& commandLine);

private:
    int Execute(const RunnerOptions& options);
    // The program's file: as named, or with .COM or .EXE added as COMMAND.COM tries them.
    static std::wstring FindProgram(const std::wstring& name);
    static std::vector<std::string> Environment();
    int LoadFailure(LoadError error, const std::wstring& program, uint16_t memoryKb);
    int FaultExit(const MachineFault& fault);
    // Runs the machine until the program ends: console keys and screen when there is a console,
    // the program's own window (titled title) while it draws in a graphics mode, the devices'
    // views at the times asked for.
    StopReason Drive(CDosMachine& machine, CDeviceObserver& observer, const std::wstring& title);
    // The screen in the console while it is text, in the program's window (made at the first
    // picture) while it is pixels.
    static void Show(const machine::ScreenImage& picture, CConsoleScreen* screen, std::unique_ptr<CScreenWindow>& window,
                     const std::wstring& title);
    void Pause(int exitCode);

    CConsoleHost m_host;
};

}  // namespace dos
