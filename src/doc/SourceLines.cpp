// The source lines of the editor's text.
#include "doc/SourceLines.h"

#include <algorithm>

void CSourceLines::Refresh()
{
    // A change that no notification told of still changes the length, nearly always.
    const int length = ::GetWindowTextLengthW(m_hEdit);
    if (!m_bStale && static_cast<size_t>(length) == m_strText.size())
        return;
    m_strText.assign(static_cast<size_t>(length) + 1, L'\0');
    m_strText.resize(static_cast<size_t>(std::max(0, ::GetWindowTextW(m_hEdit, m_strText.data(), length + 1))));
    m_starts.assign(1, 0);
    for (size_t at = m_strText.find(L"\r\n"); at != std::wstring::npos; at = m_strText.find(L"\r\n", at + 2))
        m_starts.push_back(at + 2);
    m_bStale = false;
}

const std::wstring& CSourceLines::Text()
{
    Refresh();
    return m_strText;
}

int CSourceLines::Count()
{
    Refresh();
    return static_cast<int>(m_starts.size());
}

int CSourceLines::CountIn(std::wstring_view text)
{
    int count = 1;
    for (size_t at = text.find(L"\r\n"); at != std::wstring_view::npos; at = text.find(L"\r\n", at + 2))
        ++count;
    return count;
}

int CSourceLines::LineOf(size_t offset)

{
    Refresh();
    return static_cast<int>(std::upper_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin()) - 1;
}

size_t CSourceLines::Clamp(int line)
{
    Refresh();
    return static_cast<size_t>(std::clamp(line, 0, static_cast<int>(m_starts.size()) - 1));
}

size_t CSourceLines::StartOf(int line)
{
    return m_starts[Clamp(line)];
}

size_t CSourceLines::NextStartOf(int line)
{
    const size_t index = Clamp(line) + 1;
    return index < m_starts.size() ? m_starts[index] : m_strText.size();
}

size_t CSourceLines::EndOf(int line)
{
    const size_t index = Clamp(line) + 1;
    return index < m_starts.size() ? m_starts[index] - 2 : m_strText.size();
}
