// Finds a word among the names of its machine's instructions and directives.
#include "explain/WordDescriber.h"

#include "explain/WordTable.h"

#include <array>
#include <cwctype>

namespace explain {

namespace {

std::wstring Upper(std::wstring_view word)
{
    std::wstring upper(word);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

bool Names(const WordEntry& entry, std::wstring_view word)
{
    std::wstring_view names = entry.pszWords;
    while (!names.empty()) {
        const size_t slash = names.find(L'/');
        if (names.substr(0, slash) == word)
            return true;
        names = slash == std::wstring_view::npos ? std::wstring_view() : names.substr(slash + 1);
    }
    return false;
}

Description From(const WordEntry& entry)
{
    auto text = [](const wchar_t* p) { return p != nullptr ? std::wstring(p) : std::wstring(); };
    return {entry.pszWords, text(entry.pszForms), text(entry.pszOperation), text(entry.pszFlags), text(entry.pszClocks),
            text(entry.pszExample)};
}

}  // namespace

std::optional<Description> DescribeWord(std::wstring_view word, Machine machine)
{
    const std::wstring upper = Upper(word);
    const auto tables = machine == Machine::Pc8086 ? std::array{Instructions8086(), Instructions8087(), Directives8086()}
                                                   : std::array{Instructions51(), Directives51(), std::span<const WordEntry>()};
    for (std::span<const WordEntry> table : tables)
        for (const WordEntry& entry : table)
            if (Names(entry, upper))
                return From(entry);
    return std::nullopt;
}

}  // namespace explain
