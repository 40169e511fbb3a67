// Why a build step, a run or the settings could not do what was asked: the one form every
// failure of the build engine takes on its way to the user, who is told in one place.
#pragma once

#include <windows.h>

#include <string>

struct Problem {
    enum class Kind {
        // The document has never been saved, so there is no file to build.
        NoSavedFile,
        // The batch file could be neither created nor written, here nor in the temporary folder.
        BatchFileNotWritten,
        NoCompilerPath,
        NoLinkerPath,
        // Link asked of a toolchain whose compiler writes the program itself.
        NoLinkStep,
        // The path cannot be written so that cmd.exe reads it back.
        PathNotInConsole,
        // The emulator's file name tells none of the kinds the program knows.
        UnknownEmulator,
        // A file name that DOSBox cannot take: not 8.3.
        NotEightDotThree,
        // A folder DOSBox cannot mount: not ASCII, and without a short form that is.
        PathNotForDosBox,
        // No debugger where it is looked for.
        NoDebugger,
        // The DOSBox configuration file cannot be written into the temporary folder.
        ConfigNotWritten,
        // The system refused to start the program (the subject): systemError says why.
        NotStarted,
        // The compiler settings can neither be read nor kept in the registry.
        SettingsNotKept,
        // A file the program's list of modules names (the subject) does not exist.
        ModuleMissing,
        // A program of several modules for a toolchain that builds one file (the 8051's); the
        // subject is the list.
        ModulesNotSupported,
    };

    Kind kind;
    // The program, file or folder the problem is about; may be empty.
    std::wstring subject;
    // The system's error code, where the system refused something.
    DWORD systemError = ERROR_SUCCESS;
};
