// From the tools' messages in the output panel to the source lines they name: a double-click
// or F4 / Shift+F4 selects the message's line in the panel, shows the message in the status
// bar and, for a message that names a line of an existing file, selects that line in the
// editor (opening the file first when it is another one).
#pragma once

#include "build/MessageIndex.h"
#include "text/LineMarks.h"

#include <map>
#include <string>
#include <vector>

class CBuildSession;
class COutputWindow;

// What the navigator needs of the editor and the frame around it.
class ISourceEditor {
public:
    // The file the editor holds; empty when it has none.
    virtual std::string EditedFile() const = 0;
    // Selects the line (1-based) of the file and gives the editor the focus, opening the file
    // the usual way first when it is another one (nothing happens when that is refused). Where
    // the editor has the message's mark (messageId), the line is where edits have moved it.
    virtual void ShowSourceLine(const std::string& path, int line, size_t messageId) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    // The 说明 pane's text: what the chosen message means.
    virtual void ShowExplanation(const std::wstring& text) = 0;

protected:
    ~ISourceEditor() = default;
};

class CMessageNavigator {
public:
    CMessageNavigator(ISourceEditor& editor, COutputWindow& output, CBuildSession& session)
        : m_editor(editor), m_output(output), m_session(session)
    {
    }

    void Next();
    void Previous();
    // The message whose line holds the character at offset of the output, if any.
    void GoToMessageAt(size_t offset);
    // The message of that number in the current command's output (a mark's id).
    void GoToMessage(size_t index);
    // Marks for the editor's gutter: the messages about lines of the file, each with its
    // message as the tip and its number as the id.
    std::vector<LineMark> MarksIn(const std::string& file) const;
    // Marks for the output's gutter: a "?" beside each message that has an explanation, with
    // the whole of it as the tip and the message's number as the id.
    std::vector<LineMark> ExplainedMarks() const;
    // "N errors, M warnings" of the current command's output; for a tool that cmd could not
    // run (exit code 9009) with no message of its own, that it did not run.
    std::string Summary(DWORD exitCode) const;

private:
    void Follow(const IndexedMessage* message);
    void GoTo(const IndexedMessage& message);
    // The existing file a message names (its tool's source when it names none), as a full
    // path; empty when there is none. Names without a folder, or with a relative one, are
    // taken from where its tool ran (a module's folder for a program of several).
    std::string FileOf(const IndexedMessage& message) const;

    ISourceEditor& m_editor;
    COutputWindow& m_output;
    CBuildSession& m_session;
    // The files found for the paths the tools' names stand for, looked up once for each step's
    // messages (each lookup asks the file system).
    mutable std::map<std::wstring, std::string> m_foundFiles;
};
