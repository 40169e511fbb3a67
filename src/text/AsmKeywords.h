// The reserved words of the assemblers Korvane drives: MASM and TASM for the 8086 to the
// 80486 with its coprocessor, and the 8051 assemblers.
#pragma once

#include <string_view>

enum class SyntaxMode { Masm, Mcs51 };

enum class WordKind { None, Instruction, Register, Directive };

// What word is for the assembler of mode; letter case does not matter.
WordKind KindOfWord(std::wstring_view word, SyntaxMode mode);
