// Paths in the console's code page.
#include "build/ConsolePath.h"

#include "framework/Unicode.h"

#include <windows.h>

namespace {
// The path's bytes in the console code page when it holds every character.
std::optional<std::string> InConsoleCodePage(const std::wstring& path)
{
    bool lossy = false;
    std::string bytes = EncodeCodePage(path, ConsoleCodePage(), &lossy);
    if (lossy)
        return std::nullopt;
    return bytes;
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

// The path itself when the console code page holds it, else its short form when that works.
std::optional<std::wstring> RepresentableForm(const std::string& path)
{
    std::wstring wide = Widen(path);
    if (InConsoleCodePage(wide))
        return wide;
    std::wstring shortPath = ShortFormOf(wide);
    // A volume without short names gives the long path back.
    if (shortPath.empty() || shortPath == wide || !InConsoleCodePage(shortPath))
        return std::nullopt;
    return shortPath;
}
}

unsigned ConsoleCodePage()
{
    // A console made for a program without one starts in the OEM code page.
    return ::GetOEMCP();
}

std::optional<std::string> ConsoleFormOf(const std::string& path)
{
    std::optional<std::wstring> form = RepresentableForm(path);
    return form ? InConsoleCodePage(*form) : std::nullopt;
}

std::optional<std::string> ConsoleNameOf(const std::string& path)
{
    std::optional<std::wstring> form = RepresentableForm(path);
    if (!form)
        return std::nullopt;
    // Split before encoding: a trail byte in a double-byte code page may look like '\'.
    size_t separator = form->find_last_of(L"\\/");
    return InConsoleCodePage(separator == std::wstring::npos ? *form : form->substr(separator + 1));
}
