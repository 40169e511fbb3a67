// Texts from the string table (code page 936 bytes) and the system's error texts.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// The string resource with this id, or an empty text when there is none.
std::string LoadResString(UINT id);

// Replaces %1, %2, ... in the pattern by the given arguments.
std::string FormatPlaceholders(const std::string& pattern, std::initializer_list<std::string> args);

// LoadResString followed by FormatPlaceholders.
std::string FormatResString(UINT id, std::initializer_list<std::string> args);

// The part of a "prompt\ntip" string before or after its line break.
std::string PromptPart(const std::string& text);
std::string TipPart(const std::string& text);

// The system's text for an error code, fetched into a buffer of the given size. When the
// text does not fit or does not exist, the whole text or the error number is returned, so
// the result is never empty.
std::string SystemErrorText(DWORD error, size_t bufferSize = 100);

// Field n (0-based) of a text whose fields are separated by "\n".
std::string SubString(const std::string& text, int field);
