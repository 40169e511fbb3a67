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

// The path itself when the console code page holds it, else its short form when that works.
std::optional<std::wstring> RepresentableForm(const std::string& path)
{
    std::wstring wide = Widen(path);
    if (ConsoleCodePageHolds(wide))
        return wide;
    std::wstring shortPath = ShortFormOf(wide);
    // A volume without short names gives the long path back.
    if (shortPath.empty() || shortPath == wide || !ConsoleCodePageHolds(shortPath))
        return std::nullopt;
    return shortPath;
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

std::optional<std::string> ConsoleFormOf(const std::string& path)
{
    std::optional<std::wstring> form = RepresentableForm(path);
    return form ? std::optional<std::string>(Narrow(*form)) : std::nullopt;
}

std::optional<std::string> ConsoleNameOf(const std::string& path)
{
    std::optional<std::wstring> form = RepresentableForm(path);
    if (!form)
        return std::nullopt;
    size_t separator = form->find_last_of(L"\\/");
    return Narrow(separator == std::wstring::npos ? *form : form->substr(separator + 1));
}

std::string ToConsoleBytes(const std::string& text)
{
    return EncodeCodePage(Widen(text), ConsoleCodePage());
}
