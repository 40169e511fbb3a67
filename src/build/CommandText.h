// Paths and arguments written so that what reads them takes them back unchanged: cmd.exe
// reading a line of a batch file, or a program's start-up code splitting its command line.
#pragma once

#include "build/FilePath.h"

#include <string>

enum class Quoting { WhenNeeded, Always };

// Every % doubled, as a batch file writes a % that is meant as itself.
std::wstring DoublePercents(const std::wstring& text);
// A path on a batch file's line: every % doubled (cmd takes it for a variable otherwise), in
// double quotes when it holds a blank or one of &|<>^(),;= (or always, when asked).
std::wstring BatchPath(const FilePath& path, Quoting quoting = Quoting::WhenNeeded);
// An argument on a batch file's line that a program must receive as it is, without quotes
// (the DOS tools take no quoted names): cmd's special characters escaped with ^, every %
// doubled.
std::wstring BatchArgument(const std::wstring& text);
// A path on a process's command line: in double quotes when it holds a blank (or always).
std::wstring CommandLinePath(const FilePath& path, Quoting quoting = Quoting::WhenNeeded);
