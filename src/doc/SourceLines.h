// The source lines of the editor's text: where each starts, whatever the screen rows the
// word wrap makes of them. The edit control counts rows only, so the lines are found in a
// copy of its text, taken again only after the text has changed.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

class CSourceLines {
public:
    void Attach(HWND edit) { m_hEdit = edit; }
    // The text has changed: the next question reads it anew.
    void Invalidate() { m_bStale = true; }

    const std::wstring& Text();
    int Count();
    // The lines a text would make, counted as Count counts them.
    static int CountIn(std::wstring_view text);

    // The 0-based line that holds the character at offset.
    int LineOf(size_t offset);
    // Where a line starts, and where it ends before its line break; lines past the end are
    // the last line.
    size_t StartOf(int line);
    size_t EndOf(int line);
    // The start of the next line, or the end of the text after the last line.
    size_t NextStartOf(int line);

private:
    void Refresh();
    size_t Clamp(int line);

    HWND m_hEdit = nullptr;
    bool m_bStale = true;
    std::wstring m_strText;
    // Offsets of the line starts; the first is 0.
    std::vector<size_t> m_starts{0};
};
