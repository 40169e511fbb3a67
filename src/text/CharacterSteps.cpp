// Stepping by characters and words.
#include "text/CharacterSteps.h"

#include <windows.h>

namespace {
enum class CharClass { Blank, Word, Sign };

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

CharClass ClassOf(wchar_t c)
{
    if (c == L' ' || c == L'\t')
        return CharClass::Blank;
    // A character beyond the basic plane is a letter, so its two halves are never parted.
    return IsWordCharacter(c) || IsHighSurrogate(c) || IsLowSurrogate(c) ? CharClass::Word : CharClass::Sign;
}

// The end of the run of one class that starts at pos, within the line.
size_t RunEnd(const CTextBuffer& text, size_t pos, size_t lineEnd, CharClass cls)
{
    while (pos < lineEnd && ClassOf(text.At(pos)) == cls)
        ++pos;
    return pos;
}

size_t RunStart(const CTextBuffer& text, size_t pos, size_t lineStart, CharClass cls)
{
    while (pos > lineStart && ClassOf(text.At(pos - 1)) == cls)
        --pos;
    return pos;
}
}

bool IsWordCharacter(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
               c == L'@' || c == L'$' || c == L'?';
    return ::IsCharAlphaNumericW(c) != FALSE;
}

size_t CharacterStart(const CTextBuffer& text, size_t pos)
{
    if (pos >= text.Length())
        return text.Length();
    const size_t line = text.LineFromPosition(pos);
    const size_t end = text.LineEnd(line);
    if (pos > end)
        return end;
    if (pos > text.LineStart(line) && IsLowSurrogate(text.At(pos)) && IsHighSurrogate(text.At(pos - 1)))
        return pos - 1;
    return pos;
}

size_t NextCharacter(const CTextBuffer& text, size_t pos)
{
    pos = CharacterStart(text, pos);
    if (pos >= text.Length())
        return text.Length();
    const size_t line = text.LineFromPosition(pos);
    if (pos >= text.LineEnd(line))
        return text.NextLineStart(line);
    if (IsHighSurrogate(text.At(pos)) && pos + 1 < text.LineEnd(line) && IsLowSurrogate(text.At(pos + 1)))
        return pos + 2;
    return pos + 1;
}

size_t PreviousCharacter(const CTextBuffer& text, size_t pos)
{
    const size_t start = CharacterStart(text, pos);
    if (start < pos || start == 0)
        return start;
    const size_t line = text.LineFromPosition(start);
    if (start == text.LineStart(line))
        return text.LineEnd(line - 1);
    return CharacterStart(text, start - 1);
}

size_t NextWordStart(const CTextBuffer& text, size_t pos)
{
    pos = CharacterStart(text, pos);
    const size_t line = text.LineFromPosition(pos);
    const size_t lineEnd = text.LineEnd(line);
    if (pos >= lineEnd)
        return text.NextLineStart(line);
    const size_t runEnd = RunEnd(text, pos, lineEnd, ClassOf(text.At(pos)));
    return RunEnd(text, runEnd, lineEnd, CharClass::Blank);
}

size_t PreviousWordStart(const CTextBuffer& text, size_t pos)
{
    pos = CharacterStart(text, pos);
    const size_t line = text.LineFromPosition(pos);
    const size_t lineStart = text.LineStart(line);
    if (pos == lineStart)
        return line == 0 ? 0 : text.LineEnd(line - 1);
    const size_t beforeBlanks = RunStart(text, pos, lineStart, CharClass::Blank);
    if (beforeBlanks == lineStart)
        return lineStart;
    return RunStart(text, beforeBlanks, lineStart, ClassOf(text.At(beforeBlanks - 1)));
}

std::pair<size_t, size_t> WordAround(const CTextBuffer& text, size_t pos)
{
    pos = CharacterStart(text, pos);
    const size_t line = text.LineFromPosition(pos);
    const size_t lineStart = text.LineStart(line);
    const size_t lineEnd = text.LineEnd(line);
    // At the end of a line the word before the caret is meant.
    if (pos >= lineEnd) {
        if (pos == lineStart)
            return {pos, pos};
        pos = lineEnd - 1;
    }
    const CharClass cls = ClassOf(text.At(pos));
    return {RunStart(text, pos, lineStart, cls), RunEnd(text, pos, lineEnd, cls)};
}
