// Control bars: windows that take part in the frame's layout (toolbar, status bar, dock
// bars, sizing bars), with delayed showing and hiding, borders and command-UI updates.
#pragma once

#include "framework/CWnd.h"
#include "framework/docking/BarStyles.h"

#include <memory>

class BarLayout;
class CCmdTarget;
class CDockBar;
class CDockContext;
class CFrameWnd;

class CControlBar : public CWnd {
public:
    CControlBar();
    ~CControlBar() override;

    virtual SIZE CalcFixedLayout(bool stretch, bool horz);
    virtual SIZE CalcDynamicLayout(int length, DWORD mode);
    // Takes the bar's place in the room the frame's layout has left, and the room shrinks by it.
    virtual void LayOutIn(BarLayout& layout);
    // The frame's idle work: the bar's command UI, while it is visible.
    void UpdateCmdUIAtIdle(bool disableIfNoHandler);
    // Updates what the bar shows of commands, routed through target (its frame).
    virtual void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler);

    // Visible, counting a pending delayed show as visible and a pending delayed hide as hidden.
    bool IsVisible() const;
    void DelayShow(bool show);
    // Applies a pending show or hide through the batch; with no batch (measuring) it only looks.
    void RecalcDelayShow(HDWP* batch);
    bool HasDelayedState() const { return m_nStateFlags & (kDelayShow | kDelayHide); }

    // Draws the borders that the bar style asks for and shrinks rect by them.
    void DrawBorders(HDC dc, RECT& rect) const;
    // Shrinks rect by the borders of the bar style.
    void CalcInsideRect(RECT& rect) const;

    // Lets the bar be dragged to the sides in dockStyle (CBRS_ALIGN_*) or floated.
    void EnableDocking(DWORD dockStyle);
    // Whether the bar may dock on the side of alignment align (one CBRS_ALIGN_* flag).
    bool CanDockOn(DWORD align) const { return (m_dwDockStyle & align) != 0; }
    bool IsFloating() const;
    // The size the bar takes when docked along a horizontal (top, bottom) or vertical side.
    virtual SIZE GetDockedSize(bool horz);

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }

    // The frame the bar belongs to (the main frame, also while the bar floats).
    CFrameWnd* GetDockSite() const { return m_pDockSite; }
    // The dock bar holding the bar (a side of the frame or a floating frame's), or nullptr.
    CDockBar* GetDockBar() const { return m_pDockBar; }
    // Moves the bar with the mouse once docking is enabled; nullptr before.
    CDockContext* GetDockContext() const { return m_pDockContext.get(); }

protected:
    // Registers the bar with its frame; the first step of every bar's creation.
    bool AttachToFrame(CWnd* parent);
    void DetachFromFrame();

    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    void OnDestroy() override;

private:
    // A dock bar takes bars in and lets them go, which alone sets their dock bar, and gives
    // a floating dock bar the frame it belongs to.
    friend class CDockBar;

    static constexpr UINT kDelayShow = 0x1;
    static constexpr UINT kDelayHide = 0x2;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    std::unique_ptr<CDockContext> m_pDockContext;
    UINT m_nStateFlags = 0;
};
