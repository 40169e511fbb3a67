// Searching and replacing in the editor's text.
#include "doc/TextSearch.h"

#include "text/CharacterSteps.h"

#include <algorithm>

namespace {
wchar_t FoldAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring Folded(std::wstring_view text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = FoldAscii(c);
    return folded;
}

bool IsWholeWord(std::wstring_view text, size_t start, size_t end)
{
    return (start == 0 || !IsWordCharacter(text[start - 1])) && (end >= text.size() || !IsWordCharacter(text[end]));
}

// The text as the search compares it, and the pattern likewise.
class Haystack {
public:
    Haystack(std::wstring_view text, std::wstring_view what, const SearchOptions& options)
        : m_options(options), m_folded(options.bMatchCase ? std::wstring() : Folded(text)),
          m_text(options.bMatchCase ? text : std::wstring_view(m_folded)),
          m_what(options.bMatchCase ? std::wstring(what) : Folded(what))
    {
    }
    Haystack(const Haystack&) = delete;
    Haystack& operator=(const Haystack&) = delete;

    std::optional<TextRange> Forward(size_t from) const
    {
        if (m_what.empty())
            return std::nullopt;
        for (size_t at = m_text.find(m_what, from); at != std::wstring_view::npos; at = m_text.find(m_what, at + 1)) {
            if (Accepts(at))
                return TextRange{at, at + m_what.size()};
        }
        return std::nullopt;
    }
    std::optional<TextRange> Backward(size_t endLimit) const
    {
        if (m_what.empty() || endLimit < m_what.size())
            return std::nullopt;
        for (size_t at = m_text.rfind(m_what, endLimit - m_what.size()); at != std::wstring_view::npos;
             at = at == 0 ? std::wstring_view::npos : m_text.rfind(m_what, at - 1)) {
            if (Accepts(at))
                return TextRange{at, at + m_what.size()};
        }
        return std::nullopt;
    }

private:
    bool Accepts(size_t at) const { return !m_options.bWholeWord || IsWholeWord(m_text, at, at + m_what.size()); }

    SearchOptions m_options;
    std::wstring m_folded;
    std::wstring_view m_text;
    std::wstring m_what;
};
}

std::optional<TextRange> FindInText(std::wstring_view text, std::wstring_view what, const SearchOptions& options,
                                    size_t from, bool down)
{
    Haystack haystack(text, what, options);
    from = std::min(from, text.size());
    return down ? haystack.Forward(from) : haystack.Backward(from);
}

bool IsMatchAt(std::wstring_view text, TextRange range, std::wstring_view what, const SearchOptions& options)
{
    if (what.empty() || range.nStart > range.nEnd || range.nEnd > text.size() || range.nEnd - range.nStart != what.size())
        return false;
    std::wstring_view part = text.substr(range.nStart, what.size());
    const bool same = options.bMatchCase ? part == what : Folded(part) == Folded(what);
    return same && (!options.bWholeWord || IsWholeWord(text, range.nStart, range.nEnd));
}

ReplacedText ReplaceEveryMatch(std::wstring_view text, std::wstring_view what, std::wstring_view with,
                               const SearchOptions& options)
{
    Haystack haystack(text, what, options);
    ReplacedText result;
    std::optional<TextRange> match = haystack.Forward(0);
    if (!match)
        return result;
    result.span = TextRange{match->nStart, match->nStart};
    for (; match; match = haystack.Forward(match->nEnd)) {
        result.strReplacement.append(text.substr(result.span.nEnd, match->nStart - result.span.nEnd)).append(with);
        result.span.nEnd = match->nEnd;
        ++result.nCount;
    }
    return result;
}
