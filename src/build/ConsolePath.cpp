// Paths in the console's code page.
#include "build/ConsolePath.h"

#include "framework/Unicode.h"

#include <windows.h>

namespace {
bool ConsoleCodePageHolds(const std::wstring& text)
{
    bool lossy = false;
    EncodeCodePage(text, ConsoleCodePage(), &lossy);
    return !lossy;
}
}

std::wstring ShortFormOf(const std::wstring& path)
{
    DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring shortPath(needed, L'\0');
    DWORD n = ::GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    shortPath.resize(n < needed ? n : 0);
    return shortPath;
}

unsigned ConsoleCodePage()
{
    // A console made for a program without one starts in the OEM code page.
    return ::GetOEMCP();
}

std::optional<FilePath> ConsoleFormOf(const FilePath& path)
{
    if (ConsoleCodePageHolds(path.Wide()))
        return path;
    std::wstring shortPath = ShortFormOf(path.Wide());
    // A volume without short names gives the long path back.
    if (shortPath.empty() || shortPath == path.Wide() || !ConsoleCodePageHolds(shortPath))
        return std::nullopt;
    return FilePath(shortPath);
}

std::optional<std::wstring> ConsoleNameOf(const FilePath& path)
{
    std::optional<FilePath> form = ConsoleFormOf(path);
    return form ? std::optional<std::wstring>(form->Name()) : std::nullopt;
}

std::string ToConsoleBytes(const std::wstring& text)
{
    return EncodeCodePage(text, ConsoleCodePage());
}
