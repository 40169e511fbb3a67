// A small floating frame with a tool-window caption, owned by the main frame.
#pragma once

#include "framework/docking/CFrameWnd.h"
#include "framework/docking/MiniFrameStyle.h"

class CMiniFrameWnd : public CFrameWnd {
public:
    bool Create(const char* title, DWORD style, const RECT& rect, CWnd* owner);

protected:
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    LRESULT OnNcHitTest(POINT screenPoint) override;
};
