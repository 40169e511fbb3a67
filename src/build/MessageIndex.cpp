// The messages of a growing text.
#include "build/MessageIndex.h"

#include <algorithm>

void CMessageIndex::Reset()
{
    m_messages.clear();
    m_counts = MessageCounts{};
    m_nScanned = 0;
    m_nVisited = kNone;
}

void CMessageIndex::Update(std::wstring_view text)
{
    // A line is complete at its CR LF, the edit control's line break.
    for (size_t end = text.find(L"\r\n", m_nScanned); end != std::wstring_view::npos;
         end = text.find(L"\r\n", m_nScanned)) {
        AddLine(text, m_nScanned, end - m_nScanned);
        m_nScanned = end + 2;
    }
}

void CMessageIndex::AddLine(std::wstring_view text, size_t offset, size_t length)
{
    std::optional<ToolMessage> message = RecogniseToolMessage(text.substr(offset, length));
    if (!message)
        return;
    if (message->severity == ToolMessage::Severity::Error)
        ++m_counts.nErrors;
    else if (message->severity == ToolMessage::Severity::Warning)
        ++m_counts.nWarnings;
    m_messages.push_back(IndexedMessage{offset, std::wstring(text.substr(offset, length)), std::move(*message)});
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
