// The descriptions of instructions and directives, a table a machine and kind, each in a
// source file of its own.
#pragma once

#include <span>

namespace explain {

struct WordEntry {
    // The word and its other names, separated by '/': "JZ/JE", "DB/.DB/.BYTE".
    const wchar_t* pszWords;
    const wchar_t* pszForms;
    const wchar_t* pszOperation;
    // nullptr for a directive.
    const wchar_t* pszFlags;
    const wchar_t* pszClocks;
    const wchar_t* pszExample;
};

std::span<const WordEntry> Instructions8086();
std::span<const WordEntry> Instructions8087();
std::span<const WordEntry> Directives8086();
std::span<const WordEntry> Instructions51();
std::span<const WordEntry> Directives51();

}  // namespace explain
