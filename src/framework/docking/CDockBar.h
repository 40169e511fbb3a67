// A dock bar: one side of the frame (or the inside of a floating frame) holding control
// bars in rows. The rows are one ordered list in which a row-end entry closes each row and
// a placeholder keeps the place of a bar that floated away.
#pragma once

#include "framework/docking/CControlBar.h"

#include <vector>

class CDockBar : public CControlBar {
public:
    explicit CDockBar(bool floating = false);

    // A side of the frame parent.
    bool Create(CWnd* parent, DWORD style, UINT id);
    // The dock bar inside a floating frame, whose bar belongs to the frame owner.
    bool CreateFloating(CWnd* floatingFrame, CFrameWnd* owner);
    bool IsFloatingDockBar() const { return m_bFloating; }
    bool IsHorizontal() const { return (GetBarStyle() & CBRS_ORIENT_HORZ) != 0; }

    // Takes the bar into this dock bar: into its placeholder when it has one here and no
    // drop rectangle is given, at the row under the drop rectangle (screen coordinates)
    // when one is, otherwise into a new last row.
    void DockControlBar(CControlBar* bar, const RECT* dropRect = nullptr);
    // Takes the bar into the row of a bar docked here, just after it (a new last row when the
    // neighbour is not here).
    void DockControlBarAfter(CControlBar* bar, const CControlBar* neighbour);
    // Takes the bar out; a placeholder keeps its place when asked.
    void RemoveControlBar(CControlBar* bar, bool leavePlaceholder);
    void RemovePlaceholder(UINT barId);
    bool HasPlaceholder(UINT barId) const;

    // Index of the bar in the list, or -1.
    int FindBar(const CControlBar* bar) const;
    // The bar at an index of the list; nullptr for a row end or a placeholder.
    CControlBar* GetBarAt(int index) const;
    CControlBar* GetFirstBar() const;
    // The indices of the first and the last entry of the bar's row; false when it is not here.
    bool GetRowBounds(const CControlBar* bar, int& first, int& last) const;
    // Breaks the row before index (a row-end entry is inserted there).
    void InsertRowEnd(int index);
    int GetVisibleBarCount() const;

    SIZE CalcFixedLayout(bool stretch, bool horz) override;
    void LayOutIn(BarLayout& layout) override;
    // The layout going on only measures: nothing may move.
    bool IsMeasuring() const { return m_bLayoutQuery; }
    // The room the frame's layout had left when it came to this dock bar.
    RECT GetLayoutRect() const { return m_rectLayout; }
    // Sizes the floating bar and returns the size of the floating frame's client area.
    SIZE PlaceFloatingBar();

protected:
    void OnSetText(const wchar_t* text) override;

private:
    // One entry of the list: a bar, a placeholder for one, or a row end.
    struct DockEntry {
        CControlBar* pBar = nullptr;
        UINT nPlaceholderId = 0;

        static DockEntry RowEnd() { return {}; }
        bool IsRowEnd() const { return !pBar && nPlaceholderId == 0; }
        bool IsPlaceholder() const { return !pBar && nPlaceholderId != 0; }
    };

    SIZE LayoutFloating();
    // Measures and places one row starting at index first; returns the index of its row end.
    size_t LayoutRow(size_t first, int rowStart, int& rowDepth, int& rowLength, HDWP& batch);
    void InsertAtDropPoint(CControlBar* bar, POINT dockPoint);
    // The bar, entered in the list, becomes one of this dock bar's: its alignment and parent.
    void Adopt(CControlBar* bar);
    void RemoveEmptyRows();

    std::vector<DockEntry> m_arrBars;
    bool m_bLayoutQuery = false;
    RECT m_rectLayout{};
    bool m_bFloating;
    // RecalcDelayShow applies at once through an empty batch.
    HDWP m_hDeferNone = nullptr;
};
