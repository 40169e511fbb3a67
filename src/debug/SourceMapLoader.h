// Finds and reads what the build left for the debugger: the listing beside the source (MASM 5's
// with LINK's map beside the program, nasm's -l listing, asm51's or as31's) and makes the
// source map of the program from it.
#pragma once

#include "debug/SourceMap.h"

#include <string>

class CSourceMapLoader {
public:
    // The source map of `program` built from `mainSource`: the listing is the source's name with
    // .LST, the map the program's with .MAP. Empty where they are missing or say nothing.
    static CSourceMap Load(const std::wstring& program, const std::wstring& mainSource);
    // The lines of a text file (without line ends), or none when it cannot be read.
    static std::vector<std::string> ReadLines(const std::wstring& path);
    // The main source's name as the source map names its lines ("SUM.ASM").
    static std::string MainFileName(const std::wstring& mainSource);
};
