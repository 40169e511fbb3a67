// Korvane's own 8051 assembler, korvane-asm51.exe beside the running program: what the MCS51
// toolchain compiles with when no assembler is set, as the built-in DOS machine runs DOS tools
// when no emulator is. It writes NAME.hex itself, so such a toolchain has nothing to link.
#pragma once

#include "build/CompilerSettings.h"

bool UsesBuiltInAssembler(const CompilerSettings& settings);
FilePath BuiltInAssembler();
// The settings a build and the debugger work with: for the built-in assembler, its path as
// the compiler and no link step; any other settings as they are.
CompilerSettings WithBuiltInAssembler(CompilerSettings settings);
