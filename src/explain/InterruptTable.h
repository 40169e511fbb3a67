// The DOS and BIOS functions students call, in a source file of its own.
#pragma once

#include <span>

namespace explain {

// The AH of an entry that describes the interrupt as a whole.
inline constexpr int kWholeInterrupt = -1;

struct InterruptEntry {
    int nNumber;
    int nAh;
    const wchar_t* pszName;
    const wchar_t* pszInput;
    const wchar_t* pszOutput;
    const wchar_t* pszExample;
};

std::span<const InterruptEntry> Interrupts();

}  // namespace explain
