// Paths and arguments for cmd.exe and for command lines.
#include "build/CommandText.h"

#include <string_view>

namespace {
// Characters that cmd.exe acts on outside double quotes, and those that split words there.
constexpr std::string_view kCmdSpecial = "&|<>^()";
constexpr std::string_view kCmdSeparators = " \t,;=";

bool HoldsAnyOf(const std::string& text, std::string_view characters)
{
    return text.find_first_of(characters) != std::string::npos;
}

std::string InQuotes(const std::string& text)
{
    return "\"" + text + "\"";
}
}

std::string DoublePercents(const std::string& text)
{
    std::string doubled;
    for (char ch : text) {
        doubled += ch;
        if (ch == '%')
            doubled += '%';
    }
    return doubled;
}

std::string BatchPath(const std::string& path, Quoting quoting)
{
    const bool quote =
        quoting == Quoting::Always || HoldsAnyOf(path, kCmdSpecial) || HoldsAnyOf(path, kCmdSeparators);
    const std::string doubled = DoublePercents(path);
    return quote ? InQuotes(doubled) : doubled;
}

std::string BatchArgument(const std::string& text)
{
    std::string escaped;
    for (char ch : DoublePercents(text)) {
        if (kCmdSpecial.find(ch) != std::string_view::npos)
            escaped += '^';
        escaped += ch;
    }
    return escaped;
}

std::string CommandLinePath(const std::string& path, Quoting quoting)
{
    const bool quote = quoting == Quoting::Always || HoldsAnyOf(path, " \t");
    return quote ? InQuotes(path) : path;
}
