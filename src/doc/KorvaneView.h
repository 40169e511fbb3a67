// The editor: the framework's edit view on Korvane's text control, with the syntax colours
// of the chosen toolchain, Find and Replace, Go to line, the caret's line and column for the
// status bar, and the line numbers and syntax colours switched from the View menu.
#pragma once

#include "build/CompilerType.h"
#include "doc/FindReplace.h"
#include "text/CEditView.h"

#include <optional>
#include <string>
#include <utility>

class CKorvaneView : public CEditView {
public:
    // The view shows its document's text from its first showing on.
    void OnInitialUpdate() override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The toolchain whose assembler's syntax the colours follow: MCS51 gets the 8051's.
    void SetToolchain(CompilerType type);

    // Selects a source line (0-based; past the end, the last one) from its first character
    // to its last, without the line break, and scrolls it into view.
    void SelectSourceLine(int line);
    // Puts the caret at the start of a source line and scrolls it into view.
    void GoToLine(int line);
    // Selects from anchor to caret (characters) and scrolls the caret into view.
    void Scroll(size_t caret, size_t anchor);
    // The caret's source line and column, both 1-based, the column counted in characters.
    std::pair<int, int> CaretLineColumn() const;

    // The file the caret's line includes (INCLUDE), as the line names it.
    std::optional<std::string> CaretLineInclude() const;
    // The full path of the document's file; empty for a document that has none yet.
    std::string SourcePath() const;

    CFindReplace& Search() { return m_search; }
    // Shows a text in the frame's message pane.
    void ShowStatus(const std::string& text) const;

protected:
    // The editor's own menu at a point of the screen (from the keyboard: at the caret).
    void OnContextMenu(HWND wnd, POINT point) override;

private:
    void OnGoToLine();

    // The source line, 0-based, clamped to the text's lines.
    size_t ClampedLine(int line) const;

    CFindReplace m_search{*this};
};
