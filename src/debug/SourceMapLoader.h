// Finds and reads what the build left for the debugger: the listing beside the source (MASM 5's
// with LINK's map beside the program, nasm's -l listing, asm51's or as31's) and makes the
// source map of the program from it; for a program of several modules, MASM 5's listing
// beside each module's source, all placed by LINK's one map.
#pragma once

#include "debug/SourceMap.h"

#include <string>

class CSourceMapLoader {
public:
    // The source map of `program` built from `mainSource` and the other modules linked after it
    // (in link order): each listing is its source's name with .LST, the map the program's
    // with .MAP. A module's lines are named by its path from the main source's folder. Empty
    // where they are missing or say nothing.
    static CSourceMap Load(const std::wstring& program, const std::wstring& mainSource,
                           const std::vector<std::wstring>& otherModules = {});
    // The lines of a text file (without line ends), or none when it cannot be read.
    static std::vector<std::string> ReadLines(const std::wstring& path);
    // The main source's name as the source map names its lines ("SUM.ASM").
    static std::string MainFileName(const std::wstring& mainSource);
};
