// Colouring a line of assembly source.
#include "text/AsmLexer.h"

#include <utility>

namespace {
bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsNameStart(wchar_t c)
{
    return IsLetter(c) || c == L'_' || c == L'@' || c == L'$' || c == L'?' || c == L'.';
}

bool IsNameCharacter(wchar_t c)
{
    return IsLetter(c) || IsDigit(c) || c == L'_' || c == L'@' || c == L'$' || c == L'?';
}

bool AllOf(std::wstring_view digits, std::wstring_view allowed)
{
    for (wchar_t c : digits) {
        const wchar_t upper = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        if (allowed.find(upper) == std::wstring_view::npos)
            return false;
    }
    return true;
}

// A word that starts with a digit is a number when its digits fit its radix suffix.
bool IsNumber(std::wstring_view word)
{
    const wchar_t suffix = word.back();
    const std::wstring_view digits = word.substr(0, word.size() - 1);
    switch (suffix) {
    case L'h': case L'H': return AllOf(digits, L"0123456789ABCDEF");
    case L'b': case L'B': case L'y': case L'Y': return AllOf(digits, L"01");
    case L'o': case L'O': case L'q': case L'Q': return AllOf(digits, L"01234567");
    case L'd': case L'D': case L't': case L'T': return AllOf(digits, L"0123456789");
    }
    return AllOf(word, L"0123456789");
}

class LineLexer {
public:
    LineLexer(std::wstring_view line, SyntaxMode mode) : m_line(line), m_mode(mode) {}

    std::vector<Token> Run()
    {
        while (m_nPos < m_line.size()) {
            const wchar_t c = m_line[m_nPos];
            if (c == L';') {
                Add(m_line.size(), TokenKind::Comment);
            } else if (c == L'\'' || c == L'"') {
                Add(StringEnd(), TokenKind::String);
            } else if (IsDigit(c)) {
                Number(m_nPos);
            } else if (c == L'#' && m_mode == SyntaxMode::Mcs51) {
                Immediate();
            } else if (IsNameStart(c)) {
                Name();
            } else {
                ++m_nPos;
            }
        }
        return std::move(m_tokens);
    }

private:
    void Add(size_t end, TokenKind kind)
    {
        m_tokens.push_back(Token{m_nPos, end - m_nPos, kind});
        m_nPos = end;
    }

    size_t WordEnd(size_t from) const
    {
        while (from < m_line.size() && IsNameCharacter(m_line[from]))
            ++from;
        return from;
    }

    // A quote ends at the next one of its kind; a doubled quote stands for itself.
    size_t StringEnd() const
    {
        const wchar_t quote = m_line[m_nPos];
        size_t at = m_nPos + 1;
        while ((at = m_line.find(quote, at)) != std::wstring_view::npos) {
            if (at + 1 < m_line.size() && m_line[at + 1] == quote)
                at += 2;
            else
                return at + 1;
        }
        return m_line.size();
    }

    void Number(size_t start)
    {
        const size_t end = WordEnd(m_nPos);
        if (IsNumber(m_line.substr(m_nPos, end - m_nPos))) {
            m_nPos = start;
            Add(end, TokenKind::Number);
        } else {
            m_nPos = end;
        }
        m_bFirstWord = false;
    }

    void Immediate()
    {
        const size_t hash = m_nPos++;
        if (m_nPos < m_line.size() && IsDigit(m_line[m_nPos])) {
            Number(hash);
        } else {
            m_nPos = hash;
            Add(hash + 1, TokenKind::Number);
        }
    }

    size_t NextNonBlank(size_t from) const
    {
        while (from < m_line.size() && (m_line[from] == L' ' || m_line[from] == L'\t'))
            ++from;
        return from;
    }

    // The first word of a line names a label when a colon follows it, or a directive such as
    // PROC, SEGMENT, EQU or DB.
    bool DefinesLabel(size_t end) const
    {
        const size_t next = NextNonBlank(end);
        if (next < m_line.size() && m_line[next] == L':')
            return true;
        if (next >= m_line.size() || !IsNameStart(m_line[next]))
            return false;
        return KindOfWord(m_line.substr(next, WordEnd(next + 1) - next), m_mode) == WordKind::Directive;
    }

    void Name()
    {
        const size_t end = WordEnd(m_nPos + 1);
        std::wstring_view word = m_line.substr(m_nPos, end - m_nPos);
        // The 8051's indirect registers: @R0, @R1, @DPTR, @A.
        if (m_mode == SyntaxMode::Mcs51 && word.size() > 1 && word[0] == L'@')
            word.remove_prefix(1);
        const WordKind kind = KindOfWord(word, m_mode);
        const bool first = std::exchange(m_bFirstWord, false);
        if (first && kind != WordKind::Register && DefinesLabel(end) && (kind == WordKind::None || NextIsColon(end)))
            Add(end, TokenKind::Label);
        else if (kind == WordKind::Instruction)
            Add(end, TokenKind::Instruction);
        else if (kind == WordKind::Register)
            Add(end, TokenKind::Register);
        else if (kind == WordKind::Directive)
            Add(end, TokenKind::Directive);
        else
            m_nPos = end;
    }

    bool NextIsColon(size_t end) const
    {
        const size_t next = NextNonBlank(end);
        return next < m_line.size() && m_line[next] == L':';
    }

    std::wstring_view m_line;
    SyntaxMode m_mode;
    size_t m_nPos = 0;
    bool m_bFirstWord = true;
    std::vector<Token> m_tokens;
};
}

std::vector<Token> LexLine(std::wstring_view line, SyntaxMode mode)
{
    return LineLexer(line, mode).Run();
}
