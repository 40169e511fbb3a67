// Views.
#include "framework/docview/CView.h"

#include "framework/Handles.h"
#include "framework/docview/CDocument.h"

const char* CView::GetWindowClassName()
{
    return RegisterWndClass(CS_DBLCLKS, ArrowCursor(), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

bool CView::Create(CWnd* parent, UINT id)
{
    return CreateEx(WS_EX_CLIENTEDGE, GetWindowClassName(), "", WS_CHILD | WS_VISIBLE, RECT{}, parent->GetSafeHwnd(),
                    id);
}

void CView::OnDraw(HDC) {}

void CView::OnInitialUpdate() {}

bool CView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    if (CWnd::OnCmdMsg(nID, pCmdUI))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, pCmdUI);
}

// A view over a system control (the edit view) leaves the painting to the control.
void CView::OnPaint()
{
    if (m_pfnSuper) {
        CWnd::OnPaint();
        return;
    }
    PaintDc dc(m_hWnd);
    OnDraw(dc.get());
}

void CView::PostNcDestroy()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    delete this;
}
