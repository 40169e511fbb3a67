// The undo history.
#include "text/UndoHistory.h"

bool CUndoHistory::JoinsLastStep(const UndoStep& step, EditKind kind) const
{
    if (kind == EditKind::Other || kind != m_lastKind || m_nDone == 0 || m_nDone != m_steps.size() ||
        m_nSaved == m_nDone)
        return false;
    const UndoStep& last = m_steps.back();
    switch (kind) {
    case EditKind::Typing:
        // A line break typed ends the run; the keys after it start the next one.
        return step.nPos == last.nPos + last.strInserted.size() && last.strInserted.find(L'\n') == std::wstring::npos;
    case EditKind::Backspace:
        return last.strInserted.empty() && step.nPos + step.strRemoved.size() == last.nPos;
    case EditKind::Delete:
        return last.strInserted.empty() && step.nPos == last.nPos;
    case EditKind::Other:
        break;
    }
    return false;
}

void CUndoHistory::Record(const UndoStep& step, EditKind kind)
{
    if (JoinsLastStep(step, kind)) {
        UndoStep& last = m_steps.back();
        if (kind == EditKind::Backspace) {
            last.nPos = step.nPos;
            last.strRemoved.insert(0, step.strRemoved);
        } else {
            last.strRemoved += step.strRemoved;
            last.strInserted += step.strInserted;
        }
        last.after = step.after;
        return;
    }
    m_steps.resize(m_nDone);
    // A saved state among the steps just cut off can never come back.
    if (m_nSaved && *m_nSaved > m_nDone)
        m_nSaved.reset();
    m_steps.push_back(step);
    m_nDone = m_steps.size();
    m_lastKind = kind;
}

void CUndoHistory::Clear()
{
    const bool saved = IsAtSaved();
    m_steps.clear();
    m_nDone = 0;
    m_nSaved = saved ? std::optional<size_t>(0) : std::nullopt;
    m_lastKind = EditKind::Other;
}

const UndoStep& CUndoHistory::Undo()
{
    m_lastKind = EditKind::Other;
    return m_steps[--m_nDone];
}

const UndoStep& CUndoHistory::Redo()
{
    m_lastKind = EditKind::Other;
    return m_steps[m_nDone++];
}

void CUndoHistory::MarkSaved()
{
    m_nSaved = m_nDone;
    m_lastKind = EditKind::Other;
}
