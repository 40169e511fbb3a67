// The output panel's text window: a read-only multi-line edit control that keeps its text
// in UTF-16 and takes the tools' output appended at its end. It knows which of its lines are
// the tools' messages: a double-click on one, or the walk through them, chooses it.
#pragma once

#include "build/MessageIndex.h"
#include "framework/CWnd.h"

#include <functional>
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

    // Called with the message line the user double-clicks.
    void SetMessageHandler(std::function<void(const IndexedMessage&)> handler) { m_onMessage = std::move(handler); }
    // The next or previous message line from the one chosen last (from the top after
    // RestartMessageWalk); nullptr past either end.
    const IndexedMessage* NextMessage();
    const IndexedMessage* PreviousMessage();
    void RestartMessageWalk() { m_index.RestartWalk(); }
    MessageCounts CountMessages();
    // Selects the message's line and scrolls it into view.
    void SelectMessage(const IndexedMessage& message);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Takes in the lines added since the index last looked; the text is read only when it grew.
    void RefreshIndex();
    void OnDoubleClick();

    int TextLength() const;
    bool EndsWithLineBreak() const;
    void ReplaceEnd(const std::wstring& text);

    CMessageIndex m_index;
    // The text length the index has seen.
    int m_nIndexedLength = 0;
    std::function<void(const IndexedMessage&)> m_onMessage;
};
