// The docking panel of the main frame: a sizing bar that, while docked, shows a caption
// strip with two ridges and a close button that hides the panel.
#pragma once

#include "panels/CaptionButton.h"
#include "panels/ResizableBar.h"

class CCaptionBar : public CResizableBar {
public:
    CCaptionBar();

    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) override;
    virtual bool HasCaption() const;
    // The close button, in coordinates of the window's top-left corner.
    const CCaptionButton& GetCloseButton() const { return m_closeButton; }

protected:
    void PaintCaptionArea(HDC dc, const RECT& clientRect) override;
    void CalcClientArea(RECT& rect, UINT dockBarId) override;
    LRESULT OnNcHitTest(POINT screenPoint) override;
    void OnNcLButtonUp(UINT hitTest, POINT screenPoint) override;
    void OnSetText(const wchar_t* text) override;

private:
    // The depth of the caption strip across the row.
    static constexpr int kCaptionSize = 12;

    CCaptionButton m_closeButton;
};
