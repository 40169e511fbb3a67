// The 说明 pane: a captioned bar beside the output panel holding the explanation as text (its
// window, control 216, gives it with WM_GETTEXT). Made the first time there is something to
// explain, so that the start makes no window more.
#pragma once

#include "framework/CWnd.h"
#include "panels/CaptionBar.h"

#include <string>

class CFrameWnd;

class CExplanationPane {
public:
    // Shows the text, docked after the bar the first time.
    void Show(CFrameWnd& frame, CControlBar& beside, const std::wstring& text);
    HWND Text() const { return m_text.GetSafeHwnd(); }

private:
    bool Create(CFrameWnd& frame, CControlBar& beside);

    CCaptionBar m_bar;
    CWnd m_text;
};
