// The frame's layout of its bars.
#include "framework/docking/BarLayout.h"

#include "framework/CWnd.h"
#include "framework/docking/BarStyles.h"

BarLayout::BarLayout(const RECT& room, bool stretch, bool measuring) : m_room(room), m_bStretch(stretch)
{
    if (!measuring)
        m_hBatch = ::BeginDeferWindowPos(8);
}

BarLayout::~BarLayout()
{
    if (m_hBatch)
        ::EndDeferWindowPos(m_hBatch);
}

RECT BarLayout::TakeSide(DWORD align, LONG depth)
{
    // Each side: the edge a strip is taken from, the strip's inner edge, and the way in.
    static const struct {
        DWORD align;
        LONG RECT::*outer;
        LONG RECT::*inner;
        int inward;
    } kSides[] = {{CBRS_ALIGN_TOP, &RECT::top, &RECT::bottom, 1},
                  {CBRS_ALIGN_BOTTOM, &RECT::bottom, &RECT::top, -1},
                  {CBRS_ALIGN_LEFT, &RECT::left, &RECT::right, 1},
                  {CBRS_ALIGN_RIGHT, &RECT::right, &RECT::left, -1}};
    RECT strip = m_room;
    for (const auto& side : kSides) {
        // The room now starts where the strip ends.
        if (side.align == align)
            m_room.*side.outer = strip.*side.inner = strip.*side.outer + side.inward * depth;
    }
    return strip;
}

void BarLayout::Place(HWND wnd, const RECT& place)
{
    if (m_hBatch)
        m_hBatch = DeferPlacement(m_hBatch, wnd, place);
}
