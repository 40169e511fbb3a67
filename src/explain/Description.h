// What F1 shows for a word of a program: an instruction's forms, what it does, the flags it
// changes, its clock count and an example, or a directive's forms and use.
#pragma once

#include <string>

namespace explain {

// Whose words: the 8086/80186 with MASM's and TASM's directives, or the 8051 with ASM51's
// and as31's.
enum class Machine { Pc8086, Mcs51 };

struct Description {
    // The names it goes by: "JZ/JE".
    std::wstring strWord;
    std::wstring strForms;
    std::wstring strOperation;
    // Empty for a directive.
    std::wstring strFlags;
    // The 8086's clocks, the 8051's machine cycles; empty for a directive.
    std::wstring strClocks;
    std::wstring strExample;
};

}  // namespace explain
