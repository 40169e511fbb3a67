// The messages among the lines of a growing text (the output panel's), found once each as the
// text is appended: a line is looked at when it is complete, never again, so walking
// thousands of messages costs no rescans. Also the walk through them and their count.
#pragma once

#include "build/FilePath.h"
#include "build/ToolMessage.h"

#include <string>
#include <string_view>
#include <vector>

struct IndexedMessage {
    // Where the message's line starts in the text, its number there (0-based), and the line
    // without its line break.
    size_t nOffset = 0;
    size_t nLine = 0;
    std::wstring strLine;
    ToolMessage message;
    // The file the tool that printed it was given (a module of a program of several), empty
    // where the index was not told.
    FilePath toolSource;
};

// The file a message is about: a name without a folder, or with a relative one, taken from
// the folder of the file its tool was given (toolSource); that file itself for a message that
// names none. Empty where the message names no line, or no tool's file is known.
FilePath MessageFile(const ToolMessage& message, const FilePath& toolSource);

struct MessageCounts {
    int nErrors = 0;
    int nWarnings = 0;
};

class CMessageIndex {
public:
    // Forgets everything but the tool's source: the text starts anew.
    void Reset();
    // Takes in what the text gains at its end; lines end at CR LF.
    void Append(std::wstring_view text);
    // The file the tool whose output is appended from now on was given, for the messages' files.
    void SetToolSource(FilePath source) { m_toolSource = std::move(source); }
    // The length of the text appended since the last Reset, and its complete lines.
    size_t Length() const { return m_nLineStart + m_strLine.size(); }
    size_t LineCount() const { return m_nLines; }

    const std::vector<IndexedMessage>& Messages() const { return m_messages; }
    // The message whose line holds the character at offset (its line break included).
    const IndexedMessage* MessageAt(size_t offset) const;
    // The message on a line of the text, or nullptr.
    const IndexedMessage* MessageOnLine(size_t line) const;
    MessageCounts Counts() const { return m_counts; }

    // The walk: the message after or before the one visited last, which becomes the visited
    // one; nothing past either end. Before any visit, the walk starts at the top.
    const IndexedMessage* Next();
    const IndexedMessage* Previous();
    void Visit(const IndexedMessage& message);
    void RestartWalk() { m_nVisited = kNone; }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    void AddLine(size_t offset, std::wstring_view line);

    std::vector<IndexedMessage> m_messages;
    MessageCounts m_counts;
    // The line not yet complete, where it starts, and how much of it has been searched for
    // a line break (so that a long line arriving in pieces is searched once).
    std::wstring m_strLine;
    size_t m_nLineStart = 0;
    size_t m_nSearched = 0;
    size_t m_nLines = 0;
    size_t m_nVisited = kNone;
    FilePath m_toolSource;
};
