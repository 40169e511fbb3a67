// The docking panel of the main frame: a sizing bar that, while docked, shows a caption
// strip with two ridges and a close button that hides the panel.
#pragma once

#include "panels/CaptionButton.h"
#include "panels/ResizableBar.h"

class CCaptionBar : public CResizableBar {
public:
    CCaptionBar();

    void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) override;
    void PaintCaptionArea(HDC dc, const RECT& clientRect) override;
    void CalcClientArea(RECT& rect, UINT dockBarId) override;
    virtual bool HasCaption() const;

    int m_nCaptionSize = 12;
    CCaptionButton m_closeButton;

protected:
    LRESULT OnNcHitTest(POINT screenPoint) override;
    void OnNcLButtonUp(UINT hitTest, POINT screenPoint) override;
    void OnSetText(const wchar_t* text) override;
};
