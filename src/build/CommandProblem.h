// Why the command of a build step, or of running or debugging the built program, cannot be
// made. The build engine returns it; the frame tells the user.
#pragma once

#include <string>

struct CommandProblem {
    enum class Kind {
        // The path cannot be written so that cmd.exe reads it back.
        PathNotInConsole,
        // A DOS program, a system that cannot run it, and no emulator set.
        NoEmulator,
        // The emulator's file name tells none of the kinds the program knows.
        UnknownEmulator,
        // A file name that DOSBox cannot take: not 8.3.
        NotEightDotThree,
        // A folder DOSBox cannot mount: not ASCII, and without a short form that is.
        PathNotForDosBox,
        // No debug.exe where it is looked for.
        NoDebugger,
        // The DOSBox configuration file cannot be written into the temporary folder.
        ConfigNotWritten,
    };

    Kind kind;
    // The program, file or folder the problem is about.
    std::string path;
};
