// Paths and arguments written so that what reads them takes them back unchanged: cmd.exe
// reading a line of a batch file, or a program's start-up code splitting its command line.
// Texts are UTF-8, where no byte of a character beyond ASCII can pass for one of cmd's
// special characters.
#pragma once

#include <string>

enum class Quoting { WhenNeeded, Always };

// Every % doubled, as a batch file writes a % that is meant as itself.
std::string DoublePercents(const std::string& text);
// A path on a batch file's line: every % doubled (cmd takes it for a variable otherwise), in
// double quotes when it holds a blank or one of &|<>^(),;= (or always, when asked).
std::string BatchPath(const std::string& path, Quoting quoting = Quoting::WhenNeeded);
// An argument on a batch file's line that a program must receive as it is, without quotes
// (the DOS tools take no quoted names): cmd's special characters escaped with ^, every %
// doubled.
std::string BatchArgument(const std::string& text);
// A path on a process's command line: in double quotes when it holds a blank (or always).
std::string CommandLinePath(const std::string& path, Quoting quoting = Quoting::WhenNeeded);
