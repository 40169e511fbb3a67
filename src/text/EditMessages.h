// The messages of the system's multi-line edit control, answered by the text control as the
// system control answers them under the same text: the text and its length, the selection,
// lines and their lengths, scrolling, positions and points, the modified flag, undo, the
// limit, read-only, and the clipboard. Positions are UTF-16 units.
#pragma once

#include <windows.h>

#include <optional>

class CTextControl;

class CEditMessages {
public:
    explicit CEditMessages(CTextControl& control) : m_control(control) {}

    // The answer to an edit-control message, or nothing for messages of other kinds.
    std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT GetText(WPARAM size, LPARAM buffer) const;
    LRESULT GetSelection(WPARAM start, LPARAM end) const;
    void SetSelection(WPARAM start, LPARAM end);
    // The line of a position; -1 is the line where the selection starts.
    LRESULT LineFromChar(WPARAM pos) const;
    // The first position of a line; -1 is the caret's line, and a line past the end gives -1.
    LRESULT LineIndex(WPARAM line) const;
    // The length of the line holding a position; -1 counts what the selection leaves of its lines.
    LRESULT LineLength(WPARAM pos) const;
    LRESULT GetLine(WPARAM line, LPARAM buffer) const;
    LRESULT LineScroll(WPARAM columns, LPARAM lines);
    LRESULT PosFromChar(WPARAM pos) const;
    LRESULT CharFromPos(LPARAM point) const;
    LRESULT GetRect(LPARAM rect) const;

    CTextControl& m_control;
};
