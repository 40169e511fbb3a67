// Paths as the program's byte strings hold them: where their separators are and the folder
// and name they split into, never taking the trail byte of a double-byte character (which
// may be 0x5C) for a backslash.
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
