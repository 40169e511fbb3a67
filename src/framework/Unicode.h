// Texts and paths follow one rule. UTF-16 (std::wstring) holds what a user edits or a tool
// printed (documents, search, the output, tool messages) and every path of the build engine
// (FilePath), which meets the system at each use. UTF-8 (std::string) holds the program's
// own short texts and the shell's paths on their way between the string table, the registry,
// dialogs and the document, and is widened once, at the call to the system's W function.
// GBK (code page 936) is the code page of new documents, of the tools' output and of every
// length the program counts in bytes; nothing goes through the system's ANSI code page, so
// the program reads and shows the same under any of them.
#pragma once

#include <string>
#include <string_view>

inline constexpr unsigned kGbkCodePage = 936;

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Text in a code page and back. Characters the code page cannot hold become its default
// character; lossy, when given, tells whether that happened.
std::wstring DecodeCodePage(std::string_view bytes, unsigned codePage);
std::string EncodeCodePage(std::wstring_view text, unsigned codePage, bool* lossy = nullptr);

// UTF-8 texts as GBK bytes and back.
std::string ToGbk(std::string_view utf8);
std::string FromGbk(std::string_view gbk);
// How many GBK bytes the text takes: the unit of the program's length limits.
size_t GbkLength(std::string_view utf8);
size_t GbkLength(std::wstring_view text);
bool IsGbkLeadByte(unsigned char byte);

// Whether two texts are the same but for letter case, as file names are compared.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Whether the bytes are well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
