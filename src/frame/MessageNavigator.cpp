// From the tools' messages to their source lines.
#include "frame/MessageNavigator.h"

#include "frame/Explanations.h"

#include "build/BuildSession.h"
#include "frame/OutputWindow.h"
#include "framework/PathName.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <windows.h>

#include <map>

namespace {
bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Trimmed(const std::wstring& line)
{
    const size_t first = line.find_first_not_of(L" \t");
    const size_t last = line.find_last_not_of(L" \t\r");
    return first == std::wstring::npos ? std::string() : Narrow(line.substr(first, last - first + 1));
}
}

void CMessageNavigator::Next()
{
    Follow(m_session.Messages().Next());
}

void CMessageNavigator::Previous()
{
    Follow(m_session.Messages().Previous());
}

void CMessageNavigator::GoToMessageAt(size_t offset)
{
    CMessageIndex& messages = m_session.Messages();
    if (const IndexedMessage* message = messages.MessageAt(offset)) {
        messages.Visit(*message);
        GoTo(*message);
    }
}

void CMessageNavigator::GoToMessage(size_t index)
{
    CMessageIndex& messages = m_session.Messages();
    if (index < messages.Messages().size()) {
        messages.Visit(messages.Messages()[index]);
        GoTo(messages.Messages()[index]);
    }
}

std::vector<LineMark> CMessageNavigator::MarksIn(const std::string& file) const
{
    std::vector<LineMark> marks;
    if (file.empty())
        return marks;
    const std::string target = LongPathOf(FullPathOf(file));
    // Asked for as a step ends: the names are looked up afresh for its messages.
    m_foundFiles.clear();
    // The tools name a file the same way in message after message: each name is looked up once.
    std::map<std::wstring, bool> isTarget;
    const std::vector<IndexedMessage>& messages = m_session.Messages().Messages();
    for (size_t i = 0; i < messages.size(); ++i) {
        const ToolMessage& message = messages[i].message;
        if (!message.HasLocation())
            continue;
        auto [known, added] = isTarget.emplace(message.strFile + L"|" + messages[i].toolSource.Wide(), false);
        if (added)
            known->second = EqualsIgnoringCase(FileOf(messages[i]), target);
        if (!known->second)
            continue;
        const MarkKind kind = message.severity == ToolMessage::Severity::Error ? MarkKind::Error : MarkKind::Warning;
        marks.push_back(LineMark{static_cast<size_t>(message.nLine - 1), kind, Widen(Trimmed(messages[i].strLine)), i});
    }
    return marks;
}

std::vector<LineMark> CMessageNavigator::ExplainedMarks() const
{
    std::vector<LineMark> marks;
    const std::vector<IndexedMessage>& messages = m_session.Messages().Messages();
    for (size_t i = 0; i < messages.size(); ++i)
        if (const auto explained = ExplainOutputLine(Widen(Trimmed(messages[i].strLine))))
            marks.push_back(LineMark{messages[i].nLine, MarkKind::Explained, explained->strFull, i});
    return marks;
}

void CMessageNavigator::Follow(const IndexedMessage* message)
{
    if (message)
        GoTo(*message);
    else
        m_editor.ShowStatus(LoadResString(IDS_NO_MORE_MESSAGES));
}

std::string CMessageNavigator::Summary(DWORD exitCode) const
{
    constexpr DWORD kCommandNotFound = 9009;
    const MessageCounts counts = m_session.Messages().Counts();
    if (counts.nErrors == 0 && counts.nWarnings == 0 && exitCode == kCommandNotFound)
        return LoadResString(IDS_TOOL_NOT_FOUND_9009);
    return FormatResString(IDS_MESSAGE_SUMMARY, {std::to_string(counts.nErrors), std::to_string(counts.nWarnings)});
}

std::string CMessageNavigator::FileOf(const IndexedMessage& message) const
{
    // Messages indexed without their tool's file are about the step's source.
    const FilePath stepSource =
        m_session.StepSource().empty() ? FilePath::FromUtf8(m_editor.EditedFile()) : m_session.StepSource();
    const FilePath named = MessageFile(message.message, message.toolSource.empty() ? stepSource : message.toolSource);
    if (named.empty())
        return {};
    if (auto found = m_foundFiles.find(named.Wide()); found != m_foundFiles.end())
        return found->second;
    const std::string path = FullPathOf(named.Utf8());
    if (!IsExistingFile(path))
        return {};
    // Only what was found is kept: a file that appears later is still found.
    return m_foundFiles[named.Wide()] = LongPathOf(path);
}

void CMessageNavigator::GoTo(const IndexedMessage& message)
{
    // A copy: opening a file may let the panel take in more output meanwhile.
    const IndexedMessage chosen = message;
    m_output.SelectRange(chosen.nOffset, chosen.strLine.size());
    m_output.HighlightLine(chosen.nLine);
    if (chosen.message.HasLocation()) {
        if (const std::string path = FileOf(chosen); !path.empty())
            m_editor.ShowSourceLine(path, chosen.message.nLine,
                                    static_cast<size_t>(&message - m_session.Messages().Messages().data()));
    }
    // The status line is the message, then what it means in a few words; the pane tells all.
    const std::string shown = Trimmed(chosen.strLine);
    const std::optional<ShownExplanation> explained = ExplainOutputLine(Widen(shown));
    m_editor.ShowStatus(explained ? shown + "  —  " + explained->strStatus : shown);
    if (explained)
        m_editor.ShowExplanation(explained->strFull);
}
