// The output panel's text window: Korvane's text control, read-only, taking the tools' output
// appended at its end at the cost of what is added. Its lines are coloured by what they are
// (errors, warnings, the steps' end lines), the message chosen last stands out, a double-click
// tells the frame where in the text it was, and its context menu copies, selects all or
// clears.
#pragma once

#include "build/BuildSession.h"
#include "framework/CWnd.h"
#include "text/LineMarks.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CTextControl;

class COutputWindow : public CWnd {
public:
    // Creates the window, empty, as a child of parent with the given id.
    bool Create(CWnd& parent, UINT id);

    void Clear();
    // Appends the text at the end. While the caret is at the end (as it is unless the user
    // put it elsewhere) and the user has not scrolled away, the view follows the end.
    void Append(std::wstring_view text);
    std::wstring GetText() const;
    // Selects the characters from offset on and scrolls them into view.
    void SelectRange(size_t offset, size_t length);
    // The line that shows the message chosen last; kNoLine for none.
    static constexpr size_t kNoLine = static_cast<size_t>(-1);
    void HighlightLine(size_t line);

    // Marks in the gutter beside the output's lines (its column shows only while there are
    // some); a click on one hands its id to the handler.
    void SetMarks(std::vector<LineMark> marks, std::function<void(size_t id)> onClick);

    // What each line is, asked as lines are painted.
    void SetLineKinds(std::function<OutputLineKind(size_t line)> kinds);
    // Called with the offset of the character the user double-clicks.
    void SetDoubleClickHandler(std::function<void(size_t offset)> handler) { m_onDoubleClick = std::move(handler); }
    // Called when the user clears the window from its context menu.
    void SetClearHandler(std::function<void()> handler) { m_onClear = std::move(handler); }

protected:
    void OnLButtonDblClk(UINT flags, POINT point) override;
    void OnContextMenu(HWND wnd, POINT point) override;

private:
    CTextControl& Control() const;

    std::function<void(size_t)> m_onDoubleClick;
    std::function<void()> m_onClear;
    std::function<OutputLineKind(size_t)> m_kinds;
    size_t m_nHighlighted = kNoLine;
};
