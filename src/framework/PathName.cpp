// Folder and name of a path.
#include "framework/PathName.h"

#include "framework/Strings.h"

std::vector<size_t> SeparatorPositions(const std::string& path)
{
    std::vector<size_t> positions;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i]))
            ++i;
        else if (path[i] == '\\' || path[i] == '/')
            positions.push_back(i);
    }
    return positions;
}

PathParts SplitPath(const std::string& path)
{
    std::vector<size_t> separators = SeparatorPositions(path);
    if (separators.empty())
        return PathParts{std::string(), path};
    return PathParts{path.substr(0, separators.back()), path.substr(separators.back() + 1)};
}
