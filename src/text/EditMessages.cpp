// The edit-control messages of the text control.
#include "text/EditMessages.h"

#include "text/TextControl.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {
// Positions and lines come back in 16 bits where the message has no room for more, as a
// signed 32-bit value (a point above the window has a negative y).
LRESULT Pack(size_t low, size_t high)
{
    return static_cast<LRESULT>(static_cast<LONG>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}

// A position given as -1 (or any value beyond the text) in a WPARAM.
bool IsMinusOne(WPARAM value)
{
    return static_cast<int>(value) == -1;
}
}

std::optional<LRESULT> CEditMessages::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    CEditableText& text = m_control.Editable();
    switch (message) {
    case WM_GETTEXT: return GetText(wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(text.Length());
    case WM_SETTEXT:
        m_control.SetText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return TRUE;
    case EM_GETSEL: return GetSelection(wParam, lParam);
    case EM_SETSEL: SetSelection(wParam, lParam); return 0;
    case EM_REPLACESEL:
        m_control.ReplaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"", wParam != FALSE);
        return 0;
    case EM_LINEFROMCHAR: return LineFromChar(wParam);
    case EM_LINEINDEX: return LineIndex(wParam);
    case EM_LINELENGTH: return LineLength(wParam);
    case EM_GETLINE: return GetLine(wParam, lParam);
    case EM_GETLINECOUNT: return static_cast<LRESULT>(text.Buffer().LineCount());
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(m_control.Viewport().FirstLine());
    case EM_LINESCROLL: return LineScroll(wParam, lParam);
    case EM_SCROLLCARET: m_control.RevealCaret(); return TRUE;
    case EM_POSFROMCHAR: return PosFromChar(wParam);
    case EM_CHARFROMPOS: return CharFromPos(lParam);
    case EM_GETRECT: return GetRect(lParam);
    case EM_GETMARGINS: return MAKELONG(m_control.GutterWidth(), 0);
    case EM_GETMODIFY: return text.IsModified() ? TRUE : FALSE;
    case EM_SETMODIFY: text.SetModified(wParam != FALSE); return 0;
    case EM_CANUNDO: return text.CanUndo() ? TRUE : FALSE;
    case EM_UNDO:
    case WM_UNDO: return m_control.Undo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER: text.ClearHistory(); return 0;
    case EM_SETREADONLY: m_control.SetReadOnly(wParam != FALSE); return TRUE;
    case EM_LIMITTEXT:
        // No limit, as the edit control takes 0, is the largest one.
        text.SetUnitLimit(wParam ? wParam : static_cast<size_t>(~0u));
        return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(std::min<size_t>(text.UnitLimit(), ~0u));
    case WM_CUT: m_control.Cut(); return 0;
    case WM_COPY: m_control.Copy(); return 0;
    case WM_PASTE: m_control.Paste(); return 0;
    case WM_CLEAR: m_control.Clear(); return 0;
    }
    return std::nullopt;
}

LRESULT CEditMessages::GetText(WPARAM size, LPARAM buffer) const
{
    if (!size || !buffer)
        return 0;
    const CTextBuffer& text = m_control.Buffer();
    const size_t count = std::min(static_cast<size_t>(size) - 1, text.Length());
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    const std::wstring copied = text.Text(0, count);
    std::memcpy(out, copied.data(), count * sizeof(wchar_t));
    out[count] = L'\0';
    return static_cast<LRESULT>(count);
}

LRESULT CEditMessages::GetSelection(WPARAM start, LPARAM end) const
{
    const TextSelection& selection = m_control.Selection();
    if (start)
        *reinterpret_cast<DWORD*>(start) = static_cast<DWORD>(selection.Start());
    if (end)
        *reinterpret_cast<DWORD*>(end) = static_cast<DWORD>(selection.End());
    return Pack(selection.Start(), selection.End());
}

void CEditMessages::SetSelection(WPARAM start, LPARAM end)
{
    const size_t length = m_control.Buffer().Length();
    // A start of -1 takes the selection away, leaving the caret where it is.
    if (IsMinusOne(start)) {
        const size_t caret = m_control.Caret();
        m_control.Select(caret, caret);
        return;
    }
    const size_t anchor = std::min(static_cast<size_t>(static_cast<DWORD>(start)), length);
    const size_t caret = end < 0 ? length : std::min(static_cast<size_t>(end), length);
    m_control.Select(anchor, caret);
}

LRESULT CEditMessages::LineFromChar(WPARAM pos) const
{
    const CTextBuffer& text = m_control.Buffer();
    const size_t at = IsMinusOne(pos) ? m_control.Selection().Start() : static_cast<size_t>(pos);
    return static_cast<LRESULT>(text.LineFromPosition(at));
}

LRESULT CEditMessages::LineIndex(WPARAM line) const
{
    const CTextBuffer& text = m_control.Buffer();
    const size_t wanted = IsMinusOne(line) ? text.LineFromPosition(m_control.Caret()) : static_cast<size_t>(line);
    return wanted < text.LineCount() ? static_cast<LRESULT>(text.LineStart(wanted)) : -1;
}

LRESULT CEditMessages::LineLength(WPARAM pos) const
{
    const CTextBuffer& text = m_control.Buffer();
    if (!IsMinusOne(pos))
        return static_cast<LRESULT>(text.LineLength(text.LineFromPosition(static_cast<size_t>(pos))));
    // Counted from the anchor's line to the caret's, in the order they were set, as the edit
    // control counts (which can come out below zero when the caret is inside a line break).
    const TextSelection& selection = m_control.Selection();
    const auto signedPos = [](size_t pos) { return static_cast<long long>(pos); };
    const size_t anchorLine = text.LineFromPosition(selection.nAnchor);
    const size_t caretLine = text.LineFromPosition(selection.nCaret);
    return static_cast<LRESULT>(signedPos(selection.nAnchor) - signedPos(text.LineStart(anchorLine)) +
                                signedPos(text.LineEnd(caretLine)) - signedPos(selection.nCaret));
}

LRESULT CEditMessages::GetLine(WPARAM line, LPARAM buffer) const
{
    const CTextBuffer& text = m_control.Buffer();
    if (!buffer || line >= text.LineCount())
        return 0;
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    // The buffer's first unit tells its size; a zero follows the line where there is room.
    const size_t room = *reinterpret_cast<const WORD*>(out);
    const std::wstring content = text.LineText(line);
    const size_t count = std::min(room, content.size());
    std::memcpy(out, content.data(), count * sizeof(wchar_t));
    if (count < room)
        out[count] = L'\0';
    return static_cast<LRESULT>(count);
}

LRESULT CEditMessages::LineScroll(WPARAM columns, LPARAM lines)
{
    CTextViewport& viewport = m_control.Viewport();
    const long long first = static_cast<long long>(viewport.FirstLine()) + static_cast<long long>(lines);
    const int x = viewport.XOffset() + static_cast<int>(static_cast<INT_PTR>(columns)) * m_control.Metrics().AverageWidth();
    m_control.ScrollTo(static_cast<size_t>(std::max(0LL, first)), x);
    return TRUE;
}

LRESULT CEditMessages::PosFromChar(WPARAM pos) const
{
    const CTextBuffer& text = m_control.Buffer();
    // As the edit control does, the end of the text, which holds no character, has no point.
    if (pos >= text.Length())
        return -1;
    const CTextViewport& viewport = m_control.Viewport();
    POINT point = viewport.PointOf(static_cast<size_t>(pos));
    // A line break's first character stands after the line's text; the edit control puts
    // the others at the line's start.
    const size_t line = text.LineFromPosition(static_cast<size_t>(pos));
    if (pos > text.LineEnd(line))
        point.x = viewport.TextLeft();
    return Pack(static_cast<WORD>(static_cast<short>(point.x)), static_cast<WORD>(static_cast<short>(point.y)));
}

LRESULT CEditMessages::CharFromPos(LPARAM lParam) const
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const CTextViewport& viewport = m_control.Viewport();
    if (point.x < 0 || point.y < 0 || point.x >= viewport.ClientWidth() || point.y >= viewport.ClientHeight())
        return -1;
    const size_t pos = viewport.PositionAt(point);
    return Pack(pos, m_control.Buffer().LineFromPosition(pos));
}

LRESULT CEditMessages::GetRect(LPARAM lParam) const
{
    if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
        const CTextViewport& viewport = m_control.Viewport();
        const int inset = CTextViewport::kTextInset;
        *rect = RECT{viewport.GutterWidth() + inset, inset, viewport.ClientWidth() - 2 * inset,
                     viewport.ClientHeight() - 2 * inset};
    }
    return 0;
}
