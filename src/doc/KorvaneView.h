// The editor: the framework's edit view with word wrap instead of horizontal scrolling.
#pragma once

#include "framework/CEditView.h"

class CKorvaneView : public CEditView {
public:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnDraw(HDC dc) override;
};
