// How a program is started: directly, or, when it is a DOS program this system cannot run,
// through Korvane's own DOS machine or the DOS emulator the user set, whose kind its file name
// tells.
#pragma once

#include "build/FilePath.h"
#include "build/Result.h"

#include <string>

struct Services;

enum class EmulatorKind {
    None,
    // MS-DOS Player (msdos*.exe): a console program that runs a DOS program in its console.
    MsDosPlayer,
    // DOSBox 0.74 and DOSBox Staging (dosbox*.exe): a window of their own.
    DosBox,
    // DOSBox-X (dosbox-x*.exe, dosbox_x*.exe).
    DosBoxX,
    Unknown,
};

// The kind from the file name, letter case aside: None for an empty path.
EmulatorKind EmulatorKindOf(const FilePath& emulatorPath);
// What a DOSBox kind is started with after its -conf option: -noconsole hides the console
// window DOSBox 0.74 opens beside its own, -fastlaunch skips DOSBox-X's start-up screen.
std::wstring DosBoxOptions(EmulatorKind kind);

enum class Route { Direct, BuiltIn, MsDosPlayer, DosBox };

// Korvane's own DOS machine, korvane-dos.exe beside the running program: what runs DOS
// programs when no emulator is set.
FilePath BuiltInMachine();

// Direct for a program this system runs itself; for a DOS program it cannot run, the built-in
// machine when no emulator is set, else the emulator's route, or the problem when the program
// knows no such emulator.
Result<Route> ChooseRoute(const FilePath& program, const FilePath& emulatorPath, const Services& services);
