// A control bar that docks on any side or floats, remembers a size per docking state,
// shares the length of its dock row with the other sizing bars there, and is resized by
// dragging its edges.
#pragma once

#include "framework/docking/CControlBar.h"

#include <vector>

class CResizableBar;
using CResizableBarArray = std::vector<CResizableBar*>;

// Sizing style flags: the edges that can be dragged, and a bar whose one child fills it.
constexpr DWORD SZBS_EDGE_LEFT = 0x01;
constexpr DWORD SZBS_EDGE_RIGHT = 0x02;
constexpr DWORD SZBS_EDGE_TOP = 0x04;
constexpr DWORD SZBS_EDGE_BOTTOM = 0x08;
constexpr DWORD SZBS_EDGES = SZBS_EDGE_LEFT | SZBS_EDGE_RIGHT | SZBS_EDGE_TOP | SZBS_EDGE_BOTTOM;
constexpr DWORD SZBS_FILL_CHILD = 0x20;

class CResizableBar : public CControlBar {
public:
    // sizingStyle: SZBS_FILL_CHILD or nothing; the edges follow from where the bar is docked.
    explicit CResizableBar(DWORD sizingStyle = 0);

    virtual bool Create(const char* title, CWnd* parent, UINT id, DWORD style);
    virtual bool Create(const char* title, CWnd* parent, SIZE defaultSize, bool gripper, UINT id, DWORD style);

    SIZE CalcFixedLayout(bool stretch, bool horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) override;
    SIZE GetDockedSize(bool horz) override;

    // The sizes the bar keeps for each state: docked along a horizontal side, along a
    // vertical side, and floating (its frame's client area). The next layout takes a new one.
    SIZE GetHorzSize() const { return m_sizeHorz; }
    SIZE GetVertSize() const { return m_sizeVert; }
    SIZE GetFloatSize() const { return m_sizeFloat; }
    void SetHorzSize(SIZE size) { m_sizeHorz = size; }
    void SetVertSize(SIZE size) { m_sizeVert = size; }
    void SetFloatSize(SIZE size) { m_sizeFloat = size; }
    SIZE GetMinHorzSize() const { return m_sizeMinHorz; }

    // The edges that can be dragged now (SZBS_EDGE_*).
    DWORD GetSizingEdges() const { return m_dwSizingStyle & SZBS_EDGES; }
    // An edge drag: whether one is going on, and the hit-test code of its edge.
    bool IsTracking() const { return m_bTracking; }
    int GetTrackedEdge() const { return m_nTrackedEdge; }
    // A bar just shown keeps its length at the next sharing out of its row.
    bool KeepsLength() const { return m_bKeepLength; }

    bool IsDockedHorz() const;
    bool IsDockedVert() const;
    bool IsUndocked() const;
    static int GetEdgeHitCode(int edge);
    bool GetEdgeZone(const RECT& windowRect, int hitCode, RECT& zone) const;

    // Draws the whole non-client image (borders, background, caption) into a DC of the window's size.
    void RenderNonClient(HDC dc);
    // The client area relative to the window's top-left corner.
    RECT ClientRectInWindow() const;

protected:
    // Draws the caption strip (nothing here) into the off-screen non-client image.
    virtual void PaintCaptionArea(HDC dc, const RECT& clientRect);
    // Turns the window rectangle into the client rectangle and activates the depth edge.
    virtual void CalcClientArea(RECT& rect, UINT dockBarId);

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

private:
    static constexpr int kEdgeWidth = 5;

    void ReadDragSetting();
    void RefreshDockBarId();
    bool IsTrackingSideEdge() const;

    // The row of the bar in its dock bar: its first and last entries and the bar's own.
    void GetRowBounds(int& first, int& last, int& self) const;
    // The visible sizing bars of the row, and where this one is among them.
    void CollectRowBars(CResizableBarArray& bars, int& selfIndex) const;
    void CollectRowBars(CResizableBarArray& bars) const;
    bool ShareRowLength(int total, bool horz);
    void AlignRowBars();

    void BeginEdgeTracking(int hitCode, POINT screenPoint);
    void EndEdgeTracking();
    void TrackEdgeTo(POINT screenPoint);
    void InvertTrackerLine();

    // Length runs along the row, depth across it; both in the size of the row's orientation.
    LONG& LengthOf(bool horz) { return horz ? m_sizeHorz.cx : m_sizeVert.cy; }
    LONG MinLengthOf(bool horz) const { return horz ? m_sizeMinHorz.cx : m_sizeMinVert.cy; }
    LONG& DepthOf(bool horz) { return horz ? m_sizeHorz.cy : m_sizeVert.cx; }
    LONG MinDepthOf(bool horz) const { return horz ? m_sizeMinHorz.cy : m_sizeMinVert.cx; }
    void SetDepthLimits(bool horz, const CResizableBarArray& bars);
    void SetSideEdgeLimits(bool horz, const CResizableBarArray& bars, int index);
    void GiveSideEdgeRoom(bool horz, const CResizableBarArray& bars, int index, int delta);

    DWORD m_dwSizingStyle;
    SIZE m_sizeHorz{200, 200};
    SIZE m_sizeVert{200, 200};
    SIZE m_sizeFloat{200, 200};
    SIZE m_sizeMinHorz{33, 32};
    SIZE m_sizeMinVert{33, 32};
    SIZE m_sizeMinFloat{37, 32};
    // The edge drag: its edge, the range and place of the tracker line, where it was grabbed.
    int m_nTrackedEdge = 0;
    int m_nTrackMin = 0;
    int m_nTrackMax = 0;
    int m_nTrackPos = 0;
    int m_nTrackGrabOffset = 0;
    bool m_bTracking = false;
    bool m_bKeepLength = false;
    bool m_bRowLayoutPending = false;
    bool m_bFullWindowDrag = false;
    UINT m_nDockBarId = 0;
};
