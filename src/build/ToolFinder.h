// Where students put their tools, looked through for the programs of a toolchain, so that the
// settings dialog can offer what it found. Nothing found is ever written unasked.
#pragma once

#include "build/CompilerType.h"
#include "build/FilePath.h"

#include <vector>

struct FoundTools {
    CompilerType type = CompilerType::None;
    FilePath compiler;
    FilePath linker;
    FilePath debugger;
    FilePath emulator;

    bool HasCompiler() const { return !compiler.empty(); }
};

// The folders looked through, in order: the program's own and the "tools" folder beside it,
// the program search path, C:\MASM*, C:\TASM*, C:\MASM32\bin, and the DOSBox, DOSBox-X and
// MS-DOS Player folders below Program Files. Only folders that exist.
std::vector<FilePath> ToolFolders();

// The first of the toolchain's compilers found in the folders, its linker (in the compiler's
// folder first), a debugger and a DOS emulator; each empty where none was found.
FoundTools FindTools(CompilerType type, const std::vector<FilePath>& folders);
// The same for the first toolchain whose compiler is found (MASM, TASM, MCS51 in this order).
FoundTools FindAnyTools(const std::vector<FilePath>& folders);
