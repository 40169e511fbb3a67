// Control bars: windows that take part in the frame's layout (toolbar, status bar, dock
// bars, sizing bars), with delayed showing and hiding, borders and command-UI updates.
#pragma once

#include "framework/CWnd.h"

#include <memory>

class BarLayout;
class CDockBar;
class CDockContext;
class CFrameWnd;

// Bar styles (the low word of a bar's style) and alignment.
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Layout modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;
constexpr DWORD LM_HORZ = 0x02;
constexpr DWORD LM_MRUWIDTH = 0x04;
constexpr DWORD LM_HORZDOCK = 0x08;
constexpr DWORD LM_VERTDOCK = 0x10;
constexpr DWORD LM_LENGTHY = 0x20;
constexpr DWORD LM_COMMIT = 0x40;

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
    virtual void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler);

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

    bool IsDockedHorizontally() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
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
