// A small floating frame with a tool-window caption, owned by the main frame.
#pragma once

#include "framework/CFrameWnd.h"

// The frame can be sized from its four sides only, not from its corners.
constexpr DWORD MFS_4THICKFRAME = 0x0200;

class CMiniFrameWnd : public CFrameWnd {
public:
    bool Create(const char* title, DWORD style, const RECT& rect, CWnd* owner);

    // The window styles of every mini frame; MFS_4THICKFRAME lives in the style's low word.
    static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

protected:
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    LRESULT OnNcHitTest(POINT screenPoint) override;
};
