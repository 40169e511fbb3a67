// The text being edited: the buffer with its selection, the undo history, the limits on its
// length (in UTF-16 units, as the edit control counts, and in bytes of the file's code page)
// and whether it differs from the file. Every change is told to its observers: the windows that
// show it and whoever owns it.
#pragma once

#include "text/TextBuffer.h"
#include "text/UndoHistory.h"

#include <optional>
#include <string_view>
#include <vector>

struct TextChange {
    size_t nPos = 0;
    size_t nRemoved = 0;
    size_t nInserted = 0;
    // Whether lines came or went, so that everything below the change moved.
    bool bLinesMoved = false;
    // A new text, not an edit: no notification of a change goes out for it.
    bool bNewText = false;
};

// Hears of every change of a text.
class ITextObserver {
public:
    virtual void OnTextChanged(const TextChange& change) = 0;

protected:
    ~ITextObserver() = default;
};

// What an edit does with text that does not fit the limits.
enum class OverLimit {
    Refuse,  // typing and pasting: nothing is inserted
    Cut,     // EM_REPLACESEL: what fits is inserted, whole characters
};

class CEditableText {
public:
    CEditableText() = default;
    CEditableText(const CEditableText&) = delete;
    CEditableText& operator=(const CEditableText&) = delete;

    // Observers hear of changes in the order they came; one that goes must say so first.
    void AddObserver(ITextObserver& observer);
    void RemoveObserver(ITextObserver& observer);

    const CTextBuffer& Buffer() const { return m_buffer; }
    size_t Length() const { return m_buffer.Length(); }
    std::wstring_view Contiguous() { return m_buffer.Contiguous(); }
    // The whole text, copied.
    std::wstring Copy() const { return m_buffer.Text(0, m_buffer.Length()); }

    const TextSelection& Selection() const { return m_selection; }
    // Positions past the end are the end.
    void Select(size_t anchor, size_t caret);

    // Replaces start..end by text and puts the caret after it; false when nothing changed.
    // overLimit tells whether text had to be refused or cut.
    bool Replace(size_t start, size_t end, std::wstring_view text, EditKind kind, OverLimit overLimit,
                 bool* overLimitMet = nullptr);
    // A new text, unmodified, with no history.
    void SetText(std::wstring_view text);
    // Text the program adds at the end (tool output): no step of the history, no limit. The
    // caret moves to the new end when asked, else the selection stays.
    void Append(std::wstring_view text, bool moveCaret);

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    bool Undo();
    bool Redo();
    void ClearHistory() { m_history.Clear(); }

    bool IsModified() const { return !m_history.IsAtSaved(); }
    void SetModified(bool modified);

    size_t UnitLimit() const { return m_nUnitLimit; }
    void SetUnitLimit(size_t limit) { m_nUnitLimit = limit; }
    // A limit in bytes of the code page (0: none), besides the one in units.
    void SetByteLimit(size_t maxBytes, unsigned codePage);
    // Whether a whole text, in the code page of the byte limit, would be within it.
    bool FitsByteLimit(std::wstring_view text) const;

private:
    size_t BytesOf(std::wstring_view text) const;
    // The text's length in bytes of the limit's code page, counted when first asked for.
    size_t Bytes() const;
    // The part of text that fits in place of start..end; all of it or nothing when refusing.
    std::wstring_view Fitting(size_t start, size_t end, std::wstring_view text, OverLimit overLimit) const;
    void Apply(size_t start, size_t end, std::wstring_view text, const TextSelection& after, bool newText = false);
    // One step of the history taken back (or done again): what it put in goes, what it took comes.
    bool Walk(bool back);

    CTextBuffer m_buffer;
    CUndoHistory m_history;
    TextSelection m_selection;
    std::vector<ITextObserver*> m_observers;
    size_t m_nUnitLimit = 30000;
    size_t m_nByteLimit = 0;
    unsigned m_nCodePage = 0;
    // The text's length in bytes of that code page, once counted; kept up to date by every
    // edit from then on. A new text is only counted when an edit needs it, so that opening a
    // large file does not encode it once more.
    mutable std::optional<size_t> m_nBytes;
};
