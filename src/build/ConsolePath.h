// Paths as cmd.exe reads them from a batch file, whose bytes are in the console's code page.
// A path that code page cannot hold goes in its short (8.3) form instead, which it can.
#pragma once

#include <optional>
#include <string>

// The code page the console, and so cmd.exe, reads text in.
unsigned ConsoleCodePage();

// The path (UTF-8) itself when the console's code page holds it, else its short form when
// that code page holds that; nothing when neither works (the volume keeps no short names,
// or the path does not exist). The result is UTF-8 too.
std::optional<std::string> ConsoleFormOf(const std::string& path);
// The same for the name of the file or folder at path, the last part of it.
std::optional<std::string> ConsoleNameOf(const std::string& path);

// The short (8.3) form of an existing path; empty when there is none.
std::wstring ShortFormOf(const std::wstring& path);

// A text (UTF-8) as the bytes cmd.exe reads it from.
std::string ToConsoleBytes(const std::string& text);
