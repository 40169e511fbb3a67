// The edit view: a native multi-line EDIT control as the document's view, with raw text
// transfer to and from the file, Undo/Cut/Copy/Paste and printing.
#pragma once

#include "framework/CView.h"
#include "framework/TextEncoding.h"

#include <string>

class CArchive;

class CEditView : public CView {
public:
    // The editor's capacity in bytes of the file's encoding; longer files are refused.
    static constexpr UINT kMaxText = 1024 * 1024 - 1;

    bool Create(CWnd* parent, UINT id, CCreateContext* context) override;
    bool PreCreateWindow(CREATESTRUCTW& cs) override;

    // Loads the file's bytes as text of the encoding they are found in, or stores the text
    // in the encoding the view has (the one it was loaded in, unless changed since).
    void SerializeRaw(CArchive& ar);
    std::string GetText() const { return GetWindowText(); }
    std::wstring GetWideText() const;
    // Replace the whole text without marking the document modified.
    void SetText(const std::string& text);
    void SetWideText(const std::wstring& text);
    // Whether the last load can be saved back to the same bytes: the edit control ends its
    // text at a zero byte, and bytes that are no text of the encoding do not come back.
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
    bool HasSelection() const;

    bool m_bSettingText = false;
    bool m_bLoadedTextIntact = true;
    TextEncoding m_encoding;

};
