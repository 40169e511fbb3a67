// Paths and arguments for cmd.exe and for command lines.
#include "build/CommandText.h"

#include <string_view>

namespace {
// Characters that cmd.exe acts on outside double quotes, and those that split words there.
constexpr std::wstring_view kCmdSpecial = L"&|<>^()";
constexpr std::wstring_view kCmdSeparators = L" \t,;=";

bool HoldsAnyOf(const std::wstring& text, std::wstring_view characters)
{
    return text.find_first_of(characters) != std::wstring::npos;
}

std::wstring InQuotes(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}
}

std::wstring DoublePercents(const std::wstring& text)
{
    std::wstring doubled;
    for (wchar_t ch : text) {
        doubled += ch;
        if (ch == L'%')
            doubled += L'%';
    }
    return doubled;
}

std::wstring BatchPath(const FilePath& path, Quoting quoting)
{
    const std::wstring& text = path.Wide();
    const bool quote =
        quoting == Quoting::Always || HoldsAnyOf(text, kCmdSpecial) || HoldsAnyOf(text, kCmdSeparators);
    const std::wstring doubled = DoublePercents(text);
    return quote ? InQuotes(doubled) : doubled;
}

std::wstring BatchArgument(const std::wstring& text)
{
    std::wstring escaped;
    for (wchar_t ch : DoublePercents(text)) {
        if (kCmdSpecial.find(ch) != std::wstring_view::npos)
            escaped += L'^';
        escaped += ch;
    }
    return escaped;
}

std::wstring CommandLinePath(const FilePath& path, Quoting quoting)
{
    const bool quote = quoting == Quoting::Always || HoldsAnyOf(path.Wide(), L" \t");
    return quote ? InQuotes(path.Wide()) : path.Wide();
}
