// The steps Undo and Redo walk: each step is one replacement of a piece of text, with the
// selection before and after it. Keys typed one after another make one step, and so do
// Backspaces and Deletes in a row; the step the file was saved at is marked, so that the
// text counts as unmodified whenever the history stands there again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What an edit was, for joining it to the step before.
enum class EditKind {
    Typing,     // a character typed at the caret, over nothing or over the character there
    Backspace,  // the character before the caret removed
    Delete,     // the character after the caret removed
    Other,      // everything else is a step of its own
};

struct TextSelection {
    size_t nAnchor = 0;
    size_t nCaret = 0;

    size_t Start() const { return nAnchor < nCaret ? nAnchor : nCaret; }
    size_t End() const { return nAnchor < nCaret ? nCaret : nAnchor; }
    bool IsEmpty() const { return nAnchor == nCaret; }
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};

struct UndoStep {
    size_t nPos = 0;
    std::wstring strRemoved;
    std::wstring strInserted;
    TextSelection before;
    TextSelection after;
};

class CUndoHistory {
public:
    // Records an edit done; a typing run joins the step before it while that step is the last
    // one, ends where this one begins and the file was not saved in between.
    void Record(const UndoStep& step, EditKind kind);
    // Ends the current run: the next edit starts a step of its own.
    void CloseRun() { m_lastKind = EditKind::Other; }
    // Forgets every step; the text stays modified or not, as it was.
    void Clear();

    bool CanUndo() const { return m_nDone > 0; }
    bool CanRedo() const { return m_nDone < m_steps.size(); }
    // The step to take back (or to do again) next, now counted as undone (or done).
    const UndoStep& Undo();
    const UndoStep& Redo();

    // The text as it stands now is the text of the file.
    void MarkSaved();
    // No state of the history is the file's any more.
    void ForgetSaved() { m_nSaved.reset(); }
    bool IsAtSaved() const { return m_nSaved == m_nDone; }

private:
    bool JoinsLastStep(const UndoStep& step, EditKind kind) const;

    std::vector<UndoStep> m_steps;
    // Steps below this count are done, those from it on are undone.
    size_t m_nDone = 0;
    std::optional<size_t> m_nSaved = 0;
    EditKind m_lastKind = EditKind::Other;
};
