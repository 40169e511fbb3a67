// Texts from the string table and the system's error texts, in the program's UTF-8.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// The string resource with this id, or an empty text when there is none.
std::string LoadResString(UINT id);

// Replaces %1, %2, ... in the pattern by the given arguments.
std::string FormatPlaceholders(const std::string& pattern, std::initializer_list<std::string> args);
std::string FormatPlaceholders(const std::string& pattern, const std::vector<std::string>& args);

// LoadResString followed by FormatPlaceholders.
std::string FormatResString(UINT id, std::initializer_list<std::string> args);

// The part of a "prompt\ntip" string before or after its line break.
std::string PromptPart(const std::string& text);
std::string TipPart(const std::string& text);

// The system's text for an error code. It is asked for in a small buffer first, as the
// system's messages are short; a longer text is fetched whole, and an error without text
// gives its number, so the result is never empty.
std::string SystemErrorText(DWORD error, size_t bufferSize = 100);

// Field n (0-based) of a text whose fields are separated by "\n".
std::string SubString(const std::string& text, int field);
