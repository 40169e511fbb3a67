// The messages of a growing text.
#include "build/MessageIndex.h"

#include <algorithm>

FilePath MessageFile(const ToolMessage& message, const FilePath& toolSource)
{
    const std::wstring& named = message.strFile;
    if (!message.HasLocation() || toolSource.empty())
        return {};
    if (named.empty())
        return toolSource;
    const bool absolute = named.size() >= 2 && (named[1] == L':' || named[0] == L'\\' || named[0] == L'/');
    const FilePath folder = toolSource.Folder();
    return absolute || folder.empty() ? FilePath(named) : folder.Child(named);
}

void CMessageIndex::Reset()
{
    m_messages.clear();
    m_counts = MessageCounts{};
    m_strLine.clear();
    m_nLineStart = 0;
    m_nSearched = 0;
    m_nLines = 0;
    m_nVisited = kNone;
}

void CMessageIndex::Append(std::wstring_view text)
{
    m_strLine += text;
    size_t start = 0;
    // A CR at the end of what was searched may begin a break that the new text ends.
    for (size_t end = m_strLine.find(L"\r\n", m_nSearched > 0 ? m_nSearched - 1 : 0); end != std::wstring::npos;
         end = m_strLine.find(L"\r\n", start)) {
        AddLine(m_nLineStart + start, std::wstring_view(m_strLine).substr(start, end - start));
        start = end + 2;
    }
    m_strLine.erase(0, start);
    m_nLineStart += start;
    m_nSearched = m_strLine.size();
}

void CMessageIndex::AddLine(size_t offset, std::wstring_view line)
{
    const size_t number = m_nLines++;
    std::optional<ToolMessage> message = RecogniseToolMessage(line);
    if (!message)
        return;
    if (message->severity == ToolMessage::Severity::Error)
        ++m_counts.nErrors;
    else if (message->severity == ToolMessage::Severity::Warning)
        ++m_counts.nWarnings;
    m_messages.push_back(IndexedMessage{offset, number, std::wstring(line), std::move(*message), m_toolSource});
}

const IndexedMessage* CMessageIndex::MessageAt(size_t offset) const
{
    // The last message that starts at or before the offset.
    auto after = std::upper_bound(m_messages.begin(), m_messages.end(), offset,
                                  [](size_t at, const IndexedMessage& m) { return at < m.nOffset; });
    if (after == m_messages.begin())
        return nullptr;
    const IndexedMessage& candidate = *(after - 1);
    return offset < candidate.nOffset + candidate.strLine.size() + 2 ? &candidate : nullptr;
}

const IndexedMessage* CMessageIndex::MessageOnLine(size_t line) const
{
    auto found = std::lower_bound(m_messages.begin(), m_messages.end(), line,
                                  [](const IndexedMessage& m, size_t l) { return m.nLine < l; });
    return found != m_messages.end() && found->nLine == line ? &*found : nullptr;
}

const IndexedMessage* CMessageIndex::Next()
{
    const size_t next = m_nVisited == kNone ? 0 : m_nVisited + 1;
    if (next >= m_messages.size())
        return nullptr;
    m_nVisited = next;
    return &m_messages[next];
}

const IndexedMessage* CMessageIndex::Previous()
{
    if (m_nVisited == kNone || m_nVisited == 0)
        return nullptr;
    --m_nVisited;
    return &m_messages[m_nVisited];
}

void CMessageIndex::Visit(const IndexedMessage& message)
{
    m_nVisited = static_cast<size_t>(&message - m_messages.data());
}
