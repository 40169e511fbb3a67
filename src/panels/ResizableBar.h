// A control bar that docks on any side or floats, remembers a size per docking state,
// shares the length of its dock row with the other sizing bars there, and is resized by
// dragging its edges.
#pragma once

#include "framework/CControlBar.h"

#include <vector>

class CResizableBar;
using CResizableBarArray = std::vector<CResizableBar*>;

// Flags of m_dwSizingStyle.
constexpr DWORD SZBS_EDGE_LEFT = 0x01;
constexpr DWORD SZBS_EDGE_RIGHT = 0x02;
constexpr DWORD SZBS_EDGE_TOP = 0x04;
constexpr DWORD SZBS_EDGE_BOTTOM = 0x08;
constexpr DWORD SZBS_FILL_CHILD = 0x20;

class CResizableBar : public CControlBar {
public:
    CResizableBar();

    virtual bool Create(const char* title, CWnd* parent, UINT id, DWORD style);
    virtual bool Create(const char* title, CWnd* parent, SIZE defaultSize, bool gripper, UINT id, DWORD style);

    SIZE CalcFixedLayout(bool stretch, bool horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) override;
    SIZE GetDockedSize(bool horz) override;

    virtual void BeginEdgeTracking(int hitCode, POINT screenPoint);
    virtual void EndEdgeTracking();
    virtual void TrackEdgeTo(POINT screenPoint);
    virtual void InvertTrackerLine();
    // Draws the caption strip (nothing here) into the off-screen non-client image.
    virtual void PaintCaptionArea(HDC dc, const RECT& clientRect);
    // Turns the window rectangle into the client rectangle and activates the depth edge.
    virtual void CalcClientArea(RECT& rect, UINT dockBarId);
    virtual void AlignRowBars();

    bool IsDockedHorz() const;
    bool IsDockedVert() const;
    bool IsUndocked() const;
    bool IsTrackingSideEdge() const;
    static int GetEdgeHitCode(int edge);
    bool GetEdgeZone(const RECT& windowRect, int hitCode, RECT& zone) const;
    void GetRowBounds(int& first, int& last, int& self) const;
    void CollectRowBars(CResizableBarArray& bars, int& selfIndex) const;
    void CollectRowBars(CResizableBarArray& bars) const;
    bool ShareRowLength(int total, bool horz);

    // Draws the whole non-client image (borders, background, caption) into a DC of the window's size.
    void RenderNonClient(HDC dc);
    // The client area relative to the window's top-left corner.
    RECT ClientRectInWindow() const;

    DWORD m_dwSizingStyle = 0;
    int m_nTrackedEdge = 0;
    SIZE m_sizeHorz{200, 200};
    SIZE m_sizeVert{200, 200};
    SIZE m_sizeFloat{200, 200};
    SIZE m_sizeMinHorz{33, 32};
    SIZE m_sizeMinVert{33, 32};
    SIZE m_sizeMinFloat{37, 32};
    int m_nTrackMin = 0;
    int m_nTrackMax = 0;
    int m_nTrackPos = 0;
    int m_nTrackGrabOffset = 0;
    bool m_bTracking = false;
    bool m_bKeepLength = false;
    bool m_bRowLayoutPending = false;
    bool m_bFullWindowDrag = false;
    UINT m_nDockBarId = 0;
    int m_nEdgeWidth = 5;

protected:
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnPaint() override;
    void OnNcPaint() override;
    void OnNcCalcSize(bool calcValidRects, RECT& rect) override;
    LRESULT OnNcHitTest(POINT screenPoint) override;
    void OnWindowPosChanging(WINDOWPOS* pos) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetText(const wchar_t* text) override;
    void OnSettingChange(UINT action, const wchar_t* section) override;
    void OnClose() override;
    void OnNcLButtonDown(UINT hitTest, POINT screenPoint) override;
    void OnMouseMove(UINT flags, POINT pt) override;
    void OnLButtonDown(UINT flags, POINT pt) override;
    void OnLButtonUp(UINT flags, POINT pt) override;
    void OnLButtonDblClk(UINT flags, POINT pt) override;
    void OnRButtonDown(UINT flags, POINT pt) override;
    void OnCaptureChanged(HWND newCapture) override;
    void ReadDragSetting();
    void RefreshDockBarId();

private:
    // Length runs along the row, depth across it; both in the size of the row's orientation.
    LONG& LengthOf(bool horz) { return horz ? m_sizeHorz.cx : m_sizeVert.cy; }
    LONG MinLengthOf(bool horz) const { return horz ? m_sizeMinHorz.cx : m_sizeMinVert.cy; }
    LONG& DepthOf(bool horz) { return horz ? m_sizeHorz.cy : m_sizeVert.cx; }
    LONG MinDepthOf(bool horz) const { return horz ? m_sizeMinHorz.cy : m_sizeMinVert.cx; }
    void SetDepthLimits(bool horz, const CResizableBarArray& bars);
    void SetSideEdgeLimits(bool horz, const CResizableBarArray& bars, int index);
    void GiveSideEdgeRoom(bool horz, const CResizableBarArray& bars, int index, int delta);
};
