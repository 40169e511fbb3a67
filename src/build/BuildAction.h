// The two build steps and the texts they are made of.
#pragma once

#include <string>

enum class BuildAction { Compile = 0, Link = 1 };

// The source name less its last four characters (the ".asm" extension with its dot);
// a name of four characters or fewer gives the empty text.
std::string SourceBaseName(const std::string& sourceName);
// The line of a step's batch file that runs the tool: the tool, a blank, the source name
// (compile) or base name (link), and ";" so that the tool asks no questions.
std::string ToolLine(BuildAction action, const std::string& toolPath, const std::string& sourceName);
