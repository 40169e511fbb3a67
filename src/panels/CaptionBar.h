// The docking panel of the main frame: a sizing bar that, while docked, shows a caption
// strip with two ridges and a close button that hides the panel; or, for a panel that shows
// its title, a strip along its top with the title and the close button, wherever it docks.
#pragma once

#include "panels/CaptionButton.h"
#include "panels/ResizableBar.h"

class CCaptionBar : public CResizableBar {
public:
    CCaptionBar();

    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) override;
    virtual bool HasCaption() const;
    // The caption strip runs along the top with the window's text in it (set before the
    // bar is first laid out).
    void ShowTitle(bool shown) { m_bTitled = shown; }
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
    static constexpr int kTitleSize = 18;

    void PaintTitle(HDC dc, const RECT& clientRect);

    CCaptionButton m_closeButton;
    bool m_bTitled = false;
};
