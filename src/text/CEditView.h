// The edit view: Korvane's text control as the document's view, with raw text transfer to
// and from the file in the file's encoding, the editor's capacity counted in the file's
// bytes, Undo/Redo/Cut/Copy/Paste with their enabling rules, and printing.
#pragma once

#include "framework/CView.h"
#include "framework/TextEncoding.h"
#include "text/TextControl.h"

#include <string>
#include <string_view>

class CArchive;

class CEditView : public CView {
public:
    // The editor's capacity in bytes of the file's encoding; longer files are refused.
    static constexpr UINT kMaxText = 1024 * 1024 - 1;

    bool Create(CWnd* parent, UINT id, CCreateContext* context) override;
    bool PreCreateWindow(CREATESTRUCTW& cs) override;

    // The text control of the view's window, for what edit-control messages cannot say.
    CTextControl& Control() const { return *m_pControl; }

    // Loads the file's bytes as text of the encoding they are found in, or stores the text
    // in the encoding the view has (the one it was loaded in, unless changed since).
    void SerializeRaw(CArchive& ar);
    std::wstring GetWideText() const { return std::wstring(m_pControl->Text()); }
    // Replace the whole text without marking the document modified.
    void SetText(const std::string& text);
    void SetWideText(const std::wstring& text);
    // Whether the last load can be saved back to the same bytes: a zero byte ends the text
    // given to the control, and bytes that are no text of the encoding do not come back.
    bool IsLoadedTextIntact() const { return m_bLoadedTextIntact; }
    const TextEncoding& GetEncoding() const { return m_encoding; }
    // The encoding the next save writes; the capacity is counted in it from now on.
    void SetEncoding(const TextEncoding& encoding);
    // Whether the text, saved in the view's encoding, would be within the capacity.
    bool FitsCapacity(std::wstring_view text) const;

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Prints the text on the named printer (the default printer when printer is empty).
    bool PrintText(const std::string& printer, const std::string& driver, const std::string& port);

private:
    bool HasSelection() const { return !m_pControl->Selection().IsEmpty(); }

    CTextControl* m_pControl = nullptr;
    bool m_bLoadedTextIntact = true;
    TextEncoding m_encoding;
};
