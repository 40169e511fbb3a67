// Paths in the program's UTF-8, where no byte of a character beyond ASCII can be taken for
// a separator: where their separators are, and the folder and name they split into.

#pragma once

#include <string>
#include <vector>

// The positions of the backslashes and slashes of path, in order.
std::vector<size_t> SeparatorPositions(const std::string& path);

struct PathParts {
    std::string folder;  // without the separator: "c:" for "c:\hello.asm"
    std::string name;
};

// Splits path at its last separator; a path without one is all name.
PathParts SplitPath(const std::string& path);

// A folder as SplitPath gives it, as a path that names that folder alone: a bare drive
// ("c:", which stands for the current folder on that drive) gets its backslash.
std::string FolderPath(const std::string& folder);

// The user's temporary folder with its trailing backslash; empty when the system names none.
std::string TemporaryFolder();

// The full path of a path relative to the current folder (the path itself when the system
// cannot make one).
std::string FullPathOf(const std::string& path);
// The path with every short (8.3) part in its long form, for a file that exists; the path
// itself otherwise.
std::string LongPathOf(const std::string& path);
// Whether two paths name the same file: relative or full, any letter case, long or short names.
bool IsSameFile(const std::string& a, const std::string& b);
