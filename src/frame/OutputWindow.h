// The output panel's text window: a read-only multi-line edit control that keeps its text
// in UTF-16 and takes the tools' output appended at its end.
#pragma once

#include "framework/CWnd.h"

#include <string>
#include <vector>

class COutputWindow : public CWnd {
public:
    // Creates the window, empty, as a child of parent with the given id.
    bool Create(CWnd& parent, UINT id);

    void Clear();
    // Appends the text at the end, then each of the lines on a line of its own (a line
    // break first where the text does not end in one), all in one change: the control lays
    // out the line it changes anew, which for a long last line costs. While the caret is at
    // the end (as it is unless the user put it elsewhere) the view follows the end;
    // otherwise the user's selection and view stay.
    void Append(const std::wstring& text, const std::vector<std::wstring>& lines = {});
    std::wstring GetText() const;

private:
    int TextLength() const;
    bool EndsWithLineBreak() const;
    void ReplaceEnd(const std::wstring& text);
};
