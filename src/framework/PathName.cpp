// Folder and name of a path.
#include "framework/PathName.h"

#include "framework/Unicode.h"

#include <windows.h>

std::vector<size_t> SeparatorPositions(const std::string& path)
{
    std::vector<size_t> positions;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/')
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

std::string FolderPath(const std::string& folder)
{
    return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
}

std::string TemporaryFolder()
{
    wchar_t folder[MAX_PATH + 1] = L"";
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
    return n > 0 && n <= MAX_PATH ? Narrow(std::wstring_view(folder, n)) : std::string();
}

std::string FullPathOf(const std::string& path)
{
    std::wstring wide = Widen(path);
    DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    DWORD n = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (n == 0 || n >= needed)
        return path;
    full.resize(n);
    return Narrow(full);
}

std::string LongPathOf(const std::string& path)
{
    std::wstring wide = Widen(path);
    DWORD needed = ::GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring longPath(needed, L'\0');
    DWORD n = ::GetLongPathNameW(wide.c_str(), longPath.data(), needed);
    if (n == 0 || n >= needed)
        return path;
    longPath.resize(n);
    return Narrow(longPath);
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    // Looking up the long names asks the file system for every folder on the way: done only
    // where the names differ.
    const std::string fullA = FullPathOf(a);
    const std::string fullB = FullPathOf(b);
    return EqualsIgnoringCase(fullA, fullB) || EqualsIgnoringCase(LongPathOf(fullA), LongPathOf(fullB));
}
