// A view: the child window of the frame that shows the document.
#pragma once

#include "framework/CWnd.h"

class CDocument;

class CView : public CWnd {
public:
    // Creates the view's window as a child of parent (the frame's pane).
    virtual bool Create(CWnd* parent, UINT id);
    virtual void OnDraw(HDC dc);
    virtual void OnInitialUpdate();

    CDocument* GetDocument() const { return m_pDocument; }
    // Routes to the view, then to its document.
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

protected:
    virtual const char* GetWindowClassName();
    void OnPaint() override;
};
