// Paths as cmd.exe reads them from a batch file, whose bytes are in the console's code page.
// A path that code page cannot hold goes in its short (8.3) form instead, which it can.
#pragma once

#include "build/FilePath.h"

#include <optional>
#include <string>

// The code page the console, and so cmd.exe, reads text in.
unsigned ConsoleCodePage();

// The path itself when the console's code page holds it, else its short form when that code
// page holds that; nothing when neither works (the volume keeps no short names, or the path
// does not exist).
std::optional<FilePath> ConsoleFormOf(const FilePath& path);
// The same for the name of the file or folder at path, the last part of it.
std::optional<std::wstring> ConsoleNameOf(const FilePath& path);

// The short (8.3) form of an existing path; empty when there is none.
std::wstring ShortFormOf(const std::wstring& path);

// A text as the bytes cmd.exe reads it from.
std::string ToConsoleBytes(const std::wstring& text);
