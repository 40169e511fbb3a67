// The two build steps and the texts they are made of.
#pragma once

#include "build/FilePath.h"

#include <string>

enum class BuildAction { Compile = 0, Link = 1 };

// The source name less its last four characters (the ".asm" extension with its dot);
// a name of four characters or fewer gives the empty text.
std::wstring SourceBaseName(const std::wstring& sourceName);

// The first two lines of a step's batch file for the source folder (in a form the console
// holds): its drive, and the change into it.
std::wstring DriveLine(const FilePath& sourceDir);
std::wstring ChangeDirectoryLine(const FilePath& sourceDir);

// A tool as the settings hold it: a path, or a path in double quotes followed by options, or
// (as older settings have it) an unquoted path to a file followed by options.
struct ToolSetting {
    FilePath program;
    std::wstring options;
};
ToolSetting SplitToolSetting(const std::wstring& setting);
