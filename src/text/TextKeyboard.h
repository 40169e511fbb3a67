// The keys of the text control, as a good Windows editor has them: arrows by character or
// (with Ctrl) by word, Home to the first non-blank and then to column 1, Ctrl+Home and
// Ctrl+End, Page Up and Page Down, Shift to select, Insert for overwrite, Enter keeping the
// line's indentation, Tab and Shift+Tab indenting and unindenting the selected lines.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class CTextControl;

class CTextKeyboard {
public:
    explicit CTextKeyboard(CTextControl& control) : m_control(control) {}

    // WM_KEYDOWN; false for keys the control leaves to others.
    bool OnKeyDown(UINT key);
    // WM_CHAR and WM_IME_CHAR: a UTF-16 unit typed.
    void OnChar(wchar_t ch);

private:
    void MoveTo(size_t pos);
    void MoveVertically(long lines);
    void Page(bool down);
    void Home(bool wholeText);
    void End(bool wholeText);
    void Erase(bool forward, bool word);
    void Type(std::wstring_view text);
    void Enter();
    void Tab();
    // Tab or Shift+Tab on the lines from the selection's first to its last.
    void IndentLines(bool outdent);
    void OnControlCharacter(wchar_t ch);

    CTextControl& m_control;
    // Up and Down keep the caret's x of where they started.
    int m_nColumnX = 0;
    size_t m_nVerticalCaret = static_cast<size_t>(-1);
    // The first half of a surrogate pair, until its second half is typed.
    wchar_t m_highSurrogate = 0;
};
