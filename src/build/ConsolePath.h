// Paths as cmd.exe reads them from a batch file: bytes of the console's code page. A path
// that code page cannot hold goes in its short (8.3) form instead, which it can.
#pragma once

#include <optional>
#include <string>

// The code page the console, and so cmd.exe, reads text in.
unsigned ConsoleCodePage();

// The path (UTF-8) in the console's code page, or its short form's bytes when the code page
// cannot hold the path; nothing when neither works (the volume keeps no short names, or
// the path does not exist).
std::optional<std::string> ConsoleFormOf(const std::string& path);
// The same for the name of the file or folder at path, the last part of it.
std::optional<std::string> ConsoleNameOf(const std::string& path);
