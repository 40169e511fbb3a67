// Reads the listing nasm writes with -l for a flat (.COM) program: each row carries its line
// number, so only whose line it is needs working out (an %include's rows or a macro's).
#pragma once

#include "debug/SourceMap.h"

#include <string>
#include <string_view>

// The lines and data labels of a program nasm assembled with `org`, its image counted from
// the PSP as a .COM is loaded.
CSourceMap SourceMapFromNasm(std::string_view listing, const std::string& mainFile);
