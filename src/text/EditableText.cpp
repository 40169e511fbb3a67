// The text being edited.
#include "text/EditableText.h"

#include "framework/Unicode.h"

#include <algorithm>

namespace {
bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The first count units of text, one fewer when the last would split a surrogate pair.
std::wstring_view WholeCharacters(std::wstring_view text, size_t count)
{
    if (count < text.size() && count > 0 && IsLowSurrogate(text[count]))
        --count;
    return text.substr(0, count);
}
}

void CEditableText::AddObserver(ITextObserver& observer)
{
    m_observers.push_back(&observer);
}

void CEditableText::RemoveObserver(ITextObserver& observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), &observer), m_observers.end());
}

void CEditableText::Select(size_t anchor, size_t caret)
{
    const TextSelection selection{std::min(anchor, Length()), std::min(caret, Length())};
    if (selection == m_selection)
        return;
    m_selection = selection;
    m_history.CloseRun();
}

size_t CEditableText::BytesOf(std::wstring_view text) const
{
    return m_nByteLimit ? EncodeCodePage(text, m_nCodePage).size() : 0;
}

void CEditableText::SetByteLimit(size_t maxBytes, unsigned codePage)
{
    m_nBytes.reset();
    m_nByteLimit = maxBytes;
    m_nCodePage = codePage;
}

size_t CEditableText::Bytes() const
{
    if (!m_nBytes)
        m_nBytes = BytesOf(m_buffer.Text(0, m_buffer.Length()));
    return *m_nBytes;
}

bool CEditableText::FitsByteLimit(std::wstring_view text) const
{
    return !m_nByteLimit || BytesOf(text) <= m_nByteLimit;
}

std::wstring_view CEditableText::Fitting(size_t start, size_t end, std::wstring_view text, OverLimit overLimit) const
{
    const size_t kept = Length() - (end - start);
    size_t units = std::min(text.size(), m_nUnitLimit > kept ? m_nUnitLimit - kept : 0);
    std::wstring_view fitting = WholeCharacters(text, units);
    if (m_nByteLimit && !fitting.empty()) {
        const size_t keptBytes = Bytes() - BytesOf(m_buffer.Text(start, end));
        const size_t room = m_nByteLimit > keptBytes ? m_nByteLimit - keptBytes : 0;
        // Every unit takes a byte at least, so the longest prefix that fits is found by halving.
        if (BytesOf(fitting) > room) {
            size_t low = 0, high = std::min(fitting.size(), room);
            while (low < high) {
                const size_t middle = (low + high + 1) / 2;
                if (BytesOf(WholeCharacters(fitting, middle)) <= room)
                    low = middle;
                else
                    high = middle - 1;
            }
            fitting = WholeCharacters(fitting, low);
        }
    }
    if (overLimit == OverLimit::Refuse && fitting.size() < text.size())
        return {};
    return fitting;
}

bool CEditableText::Replace(size_t start, size_t end, std::wstring_view text, EditKind kind, OverLimit overLimit,
                            bool* overLimitMet)
{
    end = std::min(end, Length());
    start = std::min(start, end);
    const std::wstring_view inserted = Fitting(start, end, text, overLimit);
    if (overLimitMet)
        *overLimitMet = inserted.size() < text.size();
    if (inserted.size() < text.size() && overLimit == OverLimit::Refuse)
        return false;
    if (inserted.empty() && start == end)
        return false;
    const size_t caret = start + inserted.size();
    const TextSelection after{caret, caret};
    // The history first, so that whoever hears of the change finds the text modified.
    m_history.Record(UndoStep{start, m_buffer.Text(start, end), std::wstring(inserted), m_selection, after}, kind);
    Apply(start, end, inserted, after);
    return true;
}

void CEditableText::SetText(std::wstring_view text)
{
    m_history.Clear();
    m_history.MarkSaved();
    Apply(0, Length(), text, TextSelection{}, true);
}

void CEditableText::Append(std::wstring_view text, bool moveCaret)
{
    const size_t end = Length() + text.size();
    Apply(Length(), Length(), text, moveCaret ? TextSelection{end, end} : m_selection);
}

void CEditableText::Apply(size_t start, size_t end, std::wstring_view text, const TextSelection& after, bool newText)
{
    const size_t linesBefore = m_buffer.LineCount();
    if (newText)
        m_nBytes.reset();
    else if (m_nByteLimit && m_nBytes)
        m_nBytes = *m_nBytes - BytesOf(m_buffer.Text(start, end)) + BytesOf(text);
    if (newText)
        m_buffer.Assign(text);
    else
        m_buffer.Replace(start, end, text);
    m_selection = after;
    const TextChange change{start, end - start, text.size(),
                            newText || linesBefore != m_buffer.LineCount() || text.find(L'\n') != std::wstring_view::npos,
                            newText};
    // An observer may take another off while it hears of the change.
    const std::vector<ITextObserver*> observers = m_observers;
    for (ITextObserver* observer : observers) {
        if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
            observer->OnTextChanged(change);
    }
}

bool CEditableText::Undo()
{
    return Walk(true);
}

bool CEditableText::Redo()
{
    return Walk(false);
}

bool CEditableText::Walk(bool back)
{
    if (back ? !m_history.CanUndo() : !m_history.CanRedo())
        return false;
    const UndoStep& step = back ? m_history.Undo() : m_history.Redo();
    const std::wstring& now = back ? step.strInserted : step.strRemoved;
    Apply(step.nPos, step.nPos + now.size(), back ? step.strRemoved : step.strInserted, back ? step.before : step.after);
    return true;
}

void CEditableText::SetModified(bool modified)
{
    if (modified)
        m_history.ForgetSaved();
    else
        m_history.MarkSaved();
}
