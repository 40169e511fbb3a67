// A self-drawn tab control: an ordered list of pages, one tab per page in a strip along the
// bottom edge, and the active page's window in the rest of the control.
#pragma once

#include "framework/CWnd.h"
#include "framework/Handles.h"
#include "panels/TabEntry.h"

#include <memory>
#include <string>
#include <vector>

// Tab style flags, kept in the low four bits of the creation style.
const UINT PTCS_BOTTOM = 2;

class CPageTabCtrl : public CWnd {
public:
    CPageTabCtrl() = default;

    // style: window style whose low four bits are tab style flags; the titles are drawn in
    // a 12-pixel font of the given face.
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, const std::string& fontFace);
    // Appends a page; icon is an icon resource id or 0. Call Refresh once the pages are added.
    void AddPage(CWnd* window, const std::string& title, UINT icon);
    void Refresh();
    void SetActivePage(int index);
    int GetActivePage() const { return m_nActivePage; }
    int GetPageCount() const { return static_cast<int>(m_pageList.size()); }
    CTabEntry* GetPageItem(int index) const;
    // The area of the pages and their frame, in client coordinates.
    RECT GetPageRect() const;
    void RecalcLayout();
    // Paints frame and tabs into any DC whose origin is the control's client origin.
    void Paint(HDC dc) const;

protected:
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnPrintClient(HDC dc, UINT flags) override;
    void OnLButtonDown(UINT flags, POINT pt) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSysColorChange() override;

private:
    RECT GetOuterRect() const;
    void DrawBorder(HDC dc) const;

    // Destroyed in reverse order: the pages, then the font, then (in CWnd) the window.
    GdiObject<HFONT> m_font;
    int m_nActivePage = -1;
    UINT m_nTabStyle = PTCS_BOTTOM;
    int m_nBorder = 1;
    std::vector<std::unique_ptr<CTabEntry>> m_pageList;
};
