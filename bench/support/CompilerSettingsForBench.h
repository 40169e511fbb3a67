// The compiler settings a bench gives the Korvane it starts, kept first so that they can be
// put back as they were.
#pragma once

#include "support/RegistryKeepsake.h"

#include <string>

// Keeps the settings key below both roots it may live in.
void KeepCompilerSettings(RegistryKeepsake& keepsake);
// MASM with this compiler setting (a path, perhaps followed by arguments).
void SetToolchain(const std::string& compiler);
