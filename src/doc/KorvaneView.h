// The editor: the framework's edit view with word wrap instead of horizontal scrolling, line
// numbers beside the text, Find and Replace, Go to line, the caret's line and column for the
// status bar, and Enter that keeps the current line's indentation.
#pragma once

#include "doc/FindReplace.h"
#include "doc/LineNumberGutter.h"
#include "doc/SourceLines.h"
#include "framework/CEditView.h"

#include <string>

class CKorvaneView : public CEditView {
public:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    bool Create(CWnd* parent, UINT id, CCreateContext* context) override;
    void OnDraw(HDC dc) override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Selects a source line (0-based; past the end, the last one) from its first character
    // to its last, without the line break, and scrolls it into view.
    void SelectSourceLine(int line);
    // Puts the caret at the start of a source line and scrolls it into view.
    void GoToLine(int line);
    // Selects from anchor to caret (characters) and scrolls the caret into view.
    void Scroll(size_t caret, size_t anchor);
    // The caret's source line and column, both 1-based, the column counted in characters.
    std::pair<int, int> CaretLineColumn();

    CSourceLines& Lines() { return m_lines; }
    const CLineNumberGutter& Gutter() const { return m_gutter; }
    CFindReplace& Search() { return m_search; }
    // Shows a text in the frame's message pane.
    void ShowStatus(const std::string& text) const;

private:
    void OnTextChanged();
    void OnGoToLine();
    // Enter: a line break followed by the blanks and tabs that begin the current line.
    void InsertIndentedLineBreak();
    // A click on the line numbers selects that line with its line break.
    void OnGutterClick(int y);
    bool IsOverGutter() const;

    CSourceLines m_lines;
    CLineNumberGutter m_gutter{m_lines};
    CFindReplace m_search{*this};
    // The selection when the caret was last asked for: the end that moved since is the caret.
    DWORD m_nLastSelStart = 0;
    DWORD m_nLastSelEnd = 0;
    size_t m_nCaret = 0;
    bool m_bFollowingScroll = false;
};
