// Which programs are 16-bit DOS programs, and whether this system runs them itself.
#pragma once

#include "build/FilePath.h"

struct Services;

// A DOS program: its extension is .com, or its file starts with "MZ" and the offset at 0x3C
// does not lead to a "PE\0\0" signature. A file that cannot be read is none.
bool IsDosProgram(const FilePath& path);

// Whether DOS programs run here without an emulator: only on 32-bit Windows with its DOS
// subsystem installed; never on 64-bit Windows, never under Wine. The services' answer,
// where they give one, replaces the system's.
bool SystemRunsDosPrograms(const Services& services);
