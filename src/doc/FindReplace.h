// Find and Replace in the editor through the system's modeless dialogs, and F3 / Shift+F3,
// which repeat the last search without them. Searches wrap around the text's ends.
#pragma once

#include "doc/TextSearch.h"
#include "framework/CFindReplaceDialog.h"

#include <memory>
#include <string>

class CKorvaneView;

class CFindReplace {
public:
    explicit CFindReplace(CKorvaneView& view) : m_view(view) {}

    // Opens the Find or the Replace dialog, or brings the open one forward. A selection
    // within one line becomes the text to find.
    void OpenFind() { Open(true); }
    void OpenReplace() { Open(false); }
    // Searches again for the last text, down or up; with no last text, opens Find.
    void Repeat(bool down);
    // What the open dialog asks for (its notification's lParam).
    void OnDialogNotify(LPARAM lParam);
    // The open dialog, or nullptr.

private:
    void Open(bool findOnly);
    void TakeDialogChoices(const CFindReplaceDialog& dialog);
    // Selects the next match; false, with the status bar telling and a beep, when there is none.
    bool FindNext(bool down);
    void ReplaceCurrent();
    void ReplaceAll();
    TextRange Selection() const;
    void Select(TextRange range);
    // Puts text in place of the selection as one undoable step, unless the document would
    // then pass the editor's capacity (which would cut it).
    bool ReplaceSelection(const std::wstring& text, const std::wstring& wholeTextAfter);
    void ReportNotFound();

    CKorvaneView& m_view;
    std::unique_ptr<CFindReplaceDialog> m_pDialog;
    std::wstring m_strFind;
    std::wstring m_strReplace;
    SearchOptions m_options;
    bool m_bDown = true;
};
