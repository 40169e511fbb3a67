// The editor view.
#include "doc/KorvaneView.h"

bool CKorvaneView::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CEditView::PreCreateWindow(cs))
        return false;
    cs.style &= ~static_cast<LONG>(WS_HSCROLL | ES_AUTOHSCROLL);
    return true;
}

void CKorvaneView::OnDraw(HDC) {}
