// A dock bar: one side of the frame (or the inside of a floating frame) holding control
// bars in rows. The rows are one ordered list in which a row-end entry closes each row and
// a placeholder keeps the place of a bar that floated away.
#pragma once

#include "framework/CControlBar.h"

#include <vector>

// One entry of a dock bar's list.
struct DockEntry {
    CControlBar* pBar = nullptr;
    UINT nPlaceholderId = 0;

    static DockEntry RowEnd() { return {}; }
    bool IsRowEnd() const { return !pBar && nPlaceholderId == 0; }
    bool IsPlaceholder() const { return !pBar && nPlaceholderId != 0; }
};

class CDockBar : public CControlBar {
public:
    explicit CDockBar(bool floating = false);

    bool Create(CWnd* parent, DWORD style, UINT id);
    bool IsFloatingDockBar() const { return m_bFloating; }
    bool IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

    // Takes the bar into this dock bar: into its placeholder when it has one here and no
    // drop rectangle is given, at the row under the drop rectangle (screen coordinates)
    // when one is, otherwise into a new last row.
    void DockControlBar(CControlBar* bar, const RECT* dropRect = nullptr);
    // Takes the bar out; a placeholder keeps its place when asked.
    void RemoveControlBar(CControlBar* bar, bool leavePlaceholder);
    void RemovePlaceholder(UINT barId);
    bool HasPlaceholder(UINT barId) const;

    // Index of the bar in the list, or -1.
    int FindBar(const CControlBar* bar) const;
    // Breaks the row before index (a row-end entry is inserted there).
    void InsertRowEnd(int index);
    int GetVisibleBarCount() const;

    SIZE CalcFixedLayout(bool stretch, bool horz) override;
    void LayOutIn(AFX_SIZEPARENTPARAMS& layout) override;

    std::vector<DockEntry> m_arrBars;
    bool m_bLayoutQuery = false;
    RECT m_rectLayout{};

protected:
    void OnSetText(const wchar_t* text) override;

private:
    SIZE LayoutFloating();
    // Measures and places one row starting at index first; returns the index of its row end.
    size_t LayoutRow(size_t first, int rowStart, int& rowDepth, int& rowLength, HDWP& batch);
    void InsertAtDropPoint(CControlBar* bar, POINT dockPoint);
    void RemoveEmptyRows();

    bool m_bFloating;
    // RecalcDelayShow applies at once through an empty batch.
    HDWP m_hDeferNone = nullptr;
};
