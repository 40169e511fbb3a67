// The output panel's text window: a read-only multi-line edit control that keeps its text
// in UTF-16 and takes the tools' output appended at its end. A double-click tells the frame
// where in the text it was.
#pragma once

#include "framework/CWnd.h"

#include <functional>
#include <string>
#include <string_view>

class COutputWindow : public CWnd {
public:
    // Creates the window, empty, as a child of parent with the given id.
    bool Create(CWnd& parent, UINT id);

    void Clear();
    // Appends the text at the end. While the caret is at the end (as it is unless the user
    // put it elsewhere) the view follows the end; otherwise the user's selection and view stay.
    void Append(std::wstring_view text);
    std::wstring GetText() const;
    // Selects the characters from offset on and scrolls them into view.
    void SelectRange(size_t offset, size_t length);

    // Called with the offset of the character the user double-clicks.
    void SetDoubleClickHandler(std::function<void(size_t offset)> handler) { m_onDoubleClick = std::move(handler); }

protected:
    void OnLButtonDblClk(UINT flags, POINT point) override;

private:
    int TextLength() const;

    std::function<void(size_t)> m_onDoubleClick;
};
