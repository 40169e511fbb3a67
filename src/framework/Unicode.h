// The program's texts are UTF-8 inside and UTF-16 where they meet the system's W functions.
// GBK (code page 936) is the code page of new documents, of the tools' output and of every
// length the program counts in bytes. Nothing here goes through the system's ANSI code page,
// so the program reads and shows the same under any of them.
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
