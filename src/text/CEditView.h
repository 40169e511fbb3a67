// The edit view: Korvane's text control as the document's view, showing the text its document
// owns, with Undo/Redo/Cut/Copy/Paste and Select All with their enabling rules, and printing.
#pragma once

#include "framework/docview/CView.h"
#include "text/TextControl.h"

#include <string>

class CEditView : public CView {
public:
    bool Create(CWnd* parent, UINT id) override;
    bool PreCreateWindow(CREATESTRUCTW& cs) override;

    // The text control of the view's window, for what edit-control messages cannot say.
    CTextControl& Control() const { return *m_pControl; }

    // Shows and edits the document's text (nullptr: none); the view holds no copy of it.
    void ShowText(CEditableText* text) { m_pControl->ShowText(text); }

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    // Prints the text on the named printer (the default printer when printer is empty).
    bool PrintText(const std::string& printer, const std::string& driver, const std::string& port);

private:
    bool HasSelection() const { return !m_pControl->Selection().IsEmpty(); }

    CTextControl* m_pControl = nullptr;
};
