// The edit view: a native multi-line EDIT control as the document's view, with raw text
// transfer to and from the file, Undo/Cut/Copy/Paste and printing.
#pragma once

#include "framework/CView.h"

#include <string>

class CArchive;

class CEditView : public CView {
public:
    // The editor's capacity in bytes; longer files are refused.
    static constexpr UINT kMaxText = 1024 * 1024 - 1;

    bool Create(CWnd* parent, UINT id, CCreateContext* context) override;
    bool PreCreateWindow(CREATESTRUCTA& cs) override;

    // Moves the file's bytes into the editor or the editor's bytes into the file, unchanged.
    void SerializeRaw(CArchive& ar);
    std::string GetText() const { return GetWindowText(); }
    // Replaces the whole text without marking the document modified.
    void SetText(const std::string& text);
    // Whether the last load gave the editor the file's bytes exactly: the edit control ends
    // its text at a zero byte and replaces bytes that are not text of the code page.
    bool IsLoadedTextIntact() const { return m_bLoadedTextIntact; }

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Prints the text on the named printer (the default printer when printer is empty).
    bool PrintText(const std::string& printer, const std::string& driver, const std::string& port);

private:
    bool HasSelection() const;

    bool m_bSettingText = false;
    bool m_bLoadedTextIntact = true;
};
