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
#include "labbox/LabBox.h"

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
    kExitBadFloppy = 1014,
    kExitNotBootable = 1015,
    kExitNoBootDisk = 1016,
    kExitCannotWrite = 1017,
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
    // The program loaded, or the PC booted from the floppy image; an exit code when neither.
    int Start(CDosMachine& machine, const RunnerOptions& options);
    // --make-floppy: an empty formatted 1.44 MB image, never over an existing file.
    int MakeFloppy(const std::wstring& image);
    // An image of a diskette's size, or for --boot (firstSectors) a boot sector's image that
    // holds a diskette's first sectors.
    static bool IsFloppyImage(const std::wstring& image, bool firstSectors);
    // The whole file written anew; a line and false where it cannot be.
    bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes, DWORD disposition);
    int FaultExit(const MachineFault& fault);
    // Runs the machine until the program ends: console keys and screen when there is a console,
    // the program's own window (titled title) while it draws in a graphics mode and the lab
    // box's window on a console of its own, the devices' views at the times asked for.
    StopReason Drive(CDosMachine& machine, CDeviceObserver& observer, const std::wstring& title, labbox::CLabBox* box);
    void Pause(int exitCode);
    // For the benches: where KORVANE_DOS_PAINTS names a file, the program's window's pictures
    // and paints go there as "presented painted milliseconds".
    void NotePaints(const CScreenWindow::Paints& paints);

    CConsoleHost m_host;
};

}  // namespace dos
