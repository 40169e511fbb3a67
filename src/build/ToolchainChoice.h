// Which toolchain builds a file: an 8051 source by its extension, any other by the 16-bit
// toolchain chosen last, unless the user picked another for that very file, which is kept
// below the settings key ("files": the file's path, lower case, to the toolchain's name).
#pragma once

#include "build/CompilerSettings.h"
#include "build/FilePath.h"

struct Services;

// The toolchain a file's name gives: MCS51 for .a51, .51 and .src, the settings' 16-bit
// toolchain for anything else (a new document too).
CompilerType ToolchainOfName(const FilePath& file, const CompilerSettings& stored);

// The toolchain the user picked for the file, or None.
CompilerType PickedToolchainOf(const FilePath& file, const Services& services);
// Keeps the pick; a pick that is what the name gives anyway is forgotten instead.
void RememberToolchainOf(const FilePath& file, CompilerType type, const CompilerSettings& stored,
                         const Services& services);

// The file's toolchain: the pick, else what its name gives.
CompilerType ToolchainOfFile(const FilePath& file, const CompilerSettings& stored, const Services& services);

// The stored settings turned to another toolchain: its own values from the store (their
// defaults where it keeps none), the values that belong to no toolchain as they are.
CompilerSettings SettingsOfToolchain(const CompilerSettings& stored, CompilerType type, const Services& services);

// The name the toolchain shows by: "MASM", "TASM", "MCS51"; empty for None.
const char* ToolchainDisplayName(CompilerType type);
