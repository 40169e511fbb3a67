// The text control's keys.
#include "text/TextKeyboard.h"

#include "text/CharacterSteps.h"
#include "text/TextControl.h"

#include <algorithm>
#include <utility>

namespace {
// A tab is eight columns, so Shift+Tab takes back up to eight blanks.
constexpr size_t kTabColumns = 8;

bool IsDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// How many units of indentation Shift+Tab takes from the start of line.
size_t OutdentLength(std::wstring_view line)
{
    if (!line.empty() && line[0] == L'\t')
        return 1;
    size_t blanks = 0;
    while (blanks < line.size() && blanks < kTabColumns && line[blanks] == L' ')
        ++blanks;
    if (blanks < kTabColumns && blanks < line.size() && line[blanks] == L'\t')
        ++blanks;
    return blanks;
}
}

void CTextKeyboard::MoveTo(size_t pos)
{
    m_control.MoveCaret(pos, IsDown(VK_SHIFT));
}

bool CTextKeyboard::OnKeyDown(UINT key)
{
    const CTextBuffer& text = m_control.Buffer();
    const TextSelection selection = m_control.Selection();
    const bool ctrl = IsDown(VK_CONTROL), shift = IsDown(VK_SHIFT);
    const size_t caret = selection.nCaret;
    switch (key) {
    case VK_LEFT:
        // Without Shift a selection collapses to its side first.
        if (!shift && !ctrl && !selection.IsEmpty())
            MoveTo(selection.Start());
        else
            MoveTo(ctrl ? PreviousWordStart(text, caret) : PreviousCharacter(text, caret));
        return true;
    case VK_RIGHT:
        if (!shift && !ctrl && !selection.IsEmpty())
            MoveTo(selection.End());
        else
            MoveTo(ctrl ? NextWordStart(text, caret) : NextCharacter(text, caret));
        return true;
    case VK_UP:
    case VK_DOWN:
        if (ctrl) {
            const CTextViewport& viewport = m_control.Viewport();
            const size_t first = viewport.FirstLine();
            m_control.ScrollTo(key == VK_UP ? (first ? first - 1 : 0) : first + 1, viewport.XOffset());
        } else {
            MoveVertically(key == VK_UP ? -1 : 1);
        }
        return true;
    case VK_PRIOR:
    case VK_NEXT:
        Page(key == VK_NEXT);
        return true;
    case VK_HOME:
        Home(ctrl);
        return true;
    case VK_END:
        End(ctrl);
        return true;
    case VK_DELETE:
        if (shift)
            m_control.Cut();
        else
            Erase(true, ctrl);
        return true;
    case VK_INSERT:
        if (shift)
            m_control.Paste();
        else if (ctrl)
            m_control.Copy();
        else
            m_control.ToggleOverwrite();
        return true;
    }
    return false;
}

void CTextKeyboard::MoveVertically(long lines)
{
    const CTextBuffer& text = m_control.Buffer();
    CTextViewport& viewport = m_control.Viewport();
    const size_t caret = m_control.Caret();
    if (caret != m_nVerticalCaret)
        m_nColumnX = viewport.PointOf(caret).x - viewport.TextLeft();
    const long long line = static_cast<long long>(text.LineFromPosition(caret)) + lines;
    const long long last = static_cast<long long>(text.LineCount()) - 1;
    size_t pos;
    if (line < 0)
        pos = 0;
    else if (line > last)
        pos = text.Length();
    else
        pos = viewport.PositionInLine(static_cast<size_t>(line), m_nColumnX);
    MoveTo(pos);
    m_nVerticalCaret = m_control.Caret();
}

// The text scrolls by a page and the caret keeps its row on the screen (a caret out of view
// comes to the nearest row); where the text cannot scroll further, the caret moves a page.
void CTextKeyboard::Page(bool down)
{
    CTextViewport& viewport = m_control.Viewport();
    const CTextBuffer& text = m_control.Buffer();
    const long long page = static_cast<long long>(viewport.PageLines());
    const long long first = static_cast<long long>(viewport.FirstLine());
    const long long caretLine = static_cast<long long>(text.LineFromPosition(m_control.Caret()));
    const long long row = std::clamp(caretLine - first, 0LL, page - 1);
    m_control.ScrollTo(static_cast<size_t>(std::max(0LL, down ? first + page : first - page)), viewport.XOffset());
    const long long scrolled = static_cast<long long>(viewport.FirstLine()) - first;
    const long long target = scrolled ? static_cast<long long>(viewport.FirstLine()) + row
                                      : caretLine + (down ? page : -page);
    MoveVertically(static_cast<long>(target - caretLine));
}

void CTextKeyboard::Home(bool wholeText)
{
    if (wholeText) {
        MoveTo(0);
        return;
    }
    const CTextBuffer& text = m_control.Buffer();
    const size_t caret = m_control.Caret();
    const size_t line = text.LineFromPosition(caret);
    const size_t start = text.LineStart(line), end = text.LineEnd(line);
    size_t firstNonBlank = start;
    while (firstNonBlank < end && IsBlank(text.At(firstNonBlank)))
        ++firstNonBlank;
    MoveTo(caret == firstNonBlank ? start : firstNonBlank);
}

void CTextKeyboard::End(bool wholeText)
{
    const CTextBuffer& text = m_control.Buffer();
    MoveTo(wholeText ? text.Length() : text.LineEnd(text.LineFromPosition(m_control.Caret())));
}

// Delete (forward) and Backspace: the selection, else the character or (with Ctrl) the word
// beside the caret.
void CTextKeyboard::Erase(bool forward, bool word)
{
    const TextSelection selection = m_control.Selection();
    if (!selection.IsEmpty()) {
        m_control.EditByUser(selection.Start(), selection.End(), L"", EditKind::Other);
        return;
    }
    const CTextBuffer& text = m_control.Buffer();
    const size_t caret = selection.nCaret;
    if (forward) {
        const size_t end = word ? NextWordStart(text, caret) : NextCharacter(text, caret);
        m_control.EditByUser(caret, end, L"", word ? EditKind::Other : EditKind::Delete);
    } else {
        const size_t start = word ? PreviousWordStart(text, caret) : PreviousCharacter(text, caret);
        m_control.EditByUser(start, caret, L"", word ? EditKind::Other : EditKind::Backspace);
    }
}

void CTextKeyboard::Type(std::wstring_view typed)
{
    const TextSelection selection = m_control.Selection();
    size_t end = selection.End();
    // Overwrite replaces the character under the caret, never a line break.
    if (m_control.IsOverwrite() && selection.IsEmpty()) {
        const CTextBuffer& text = m_control.Buffer();
        if (end < text.LineEnd(text.LineFromPosition(end)))
            end = NextCharacter(text, end);
    }
    m_control.EditByUser(selection.Start(), end, typed, EditKind::Typing);
}

void CTextKeyboard::Enter()
{
    const CTextBuffer& text = m_control.Buffer();
    const size_t start = m_control.Selection().Start();
    const size_t lineStart = text.LineStart(text.LineFromPosition(start));
    // The indentation before the caret only: Enter inside it does not double it.
    size_t indentEnd = lineStart;
    while (indentEnd < start && IsBlank(text.At(indentEnd)))
        ++indentEnd;
    const TextSelection selection = m_control.Selection();
    m_control.EditByUser(selection.Start(), selection.End(), L"\r\n" + text.Text(lineStart, indentEnd),
                         EditKind::Typing);
}

void CTextKeyboard::Tab()
{
    const CTextBuffer& text = m_control.Buffer();
    const TextSelection selection = m_control.Selection();
    const bool severalLines = text.LineFromPosition(selection.Start()) != text.LineFromPosition(selection.End());
    if (severalLines || IsDown(VK_SHIFT))
        IndentLines(IsDown(VK_SHIFT));
    else
        Type(L"\t");
}

void CTextKeyboard::IndentLines(bool outdent)
{
    const CTextBuffer& text = m_control.Buffer();
    const TextSelection selection = m_control.Selection();
    const size_t first = text.LineFromPosition(selection.Start());
    size_t last = text.LineFromPosition(selection.End());
    // A selection that ends at the start of a line does not take that line in.
    if (last > first && selection.End() == text.LineStart(last))
        --last;
    std::wstring block;
    for (size_t line = first; line <= last; ++line) {
        const std::wstring content = text.LineText(line);
        if (outdent)
            block += std::wstring_view(content).substr(OutdentLength(content));
        else if (!content.empty())
            block += L"\t" + content;
        if (line < last)
            block += text.Text(text.LineEnd(line), text.NextLineStart(line));
    }
    const size_t start = text.LineStart(first);
    if (!m_control.EditByUser(start, text.LineEnd(last), block, EditKind::Other))
        return;
    m_control.SelectLines(first, last);
}

void CTextKeyboard::OnControlCharacter(wchar_t ch)
{
    switch (ch) {
    case 0x01: m_control.Select(0, m_control.Buffer().Length()); break;
    case 0x03: m_control.Copy(); break;
    case 0x16: m_control.Paste(); break;
    case 0x18: m_control.Cut(); break;
    case 0x19: m_control.Redo(); break;
    case 0x1A: m_control.Undo(); break;
    }
}

void CTextKeyboard::OnChar(wchar_t ch)
{
    if (ch >= 0xD800 && ch <= 0xDBFF) {
        m_highSurrogate = ch;
        return;
    }
    const wchar_t high = std::exchange(m_highSurrogate, 0);
    switch (ch) {
    case L'\b': Erase(false, false); return;
    case 0x7F: Erase(false, true); return;
    case L'\r':
    case L'\n': Enter(); return;
    case L'\t': Tab(); return;
    }
    if (ch < L' ') {
        OnControlCharacter(ch);
        return;
    }
    if (high && ch >= 0xDC00 && ch <= 0xDFFF) {
        const wchar_t pair[2] = {high, ch};
        Type(std::wstring_view(pair, 2));
        return;
    }
    Type(std::wstring_view(&ch, 1));
}
