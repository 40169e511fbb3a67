// Which programs are 16-bit DOS programs, and whether this system runs them itself.
#pragma once

#include <optional>
#include <string>

// A DOS program: its extension is .com, or its file starts with "MZ" and the offset at 0x3C
// does not lead to a "PE\0\0" signature. A file that cannot be read is none.
bool IsDosProgram(const std::string& path);

// Whether DOS programs run here without an emulator: only on 32-bit Windows with its DOS
// subsystem installed; never on 64-bit Windows, never under Wine.
bool SystemRunsDosPrograms();
// Test seam: an answer given replaces the system's; nothing gives the system's back.
void SetSystemRunsDosPrograms(std::optional<bool> answer);
