// From the tools' messages in the output panel to the source lines they name: a double-click
// or F4 / Shift+F4 selects the message's line in the panel, shows the message in the status
// bar and, for a message that names a line of an existing file, selects that line in the
// editor (opening the file first when it is another one).
#pragma once

#include "build/MessageIndex.h"

#include <string>

class CBuildController;
class CFrameWnd;
class COutputWindow;

class CMessageNavigator {
public:
    CMessageNavigator(CFrameWnd& frame, COutputWindow& output, const CBuildController& build)
        : m_frame(frame), m_output(output), m_build(build)
    {
    }

    void Next();
    void Previous();
    void GoTo(const IndexedMessage& message);
    // "N errors, M warnings" of what the panel holds.
    std::string Summary() const;

private:
    void Follow(const IndexedMessage* message);
    // The existing file a message names, as a full path; empty when there is none. Names
    // without a folder, or with a relative one, are taken from where the tools ran.
    std::string FileOf(const ToolMessage& message) const;
    void ShowLine(const std::string& path, int line);

    CFrameWnd& m_frame;
    COutputWindow& m_output;
    const CBuildController& m_build;
};
