// The frame's layout of its bars.
#include "framework/BarLayout.h"

#include "framework/CControlBar.h"
#include "framework/CWnd.h"

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
    RECT strip = m_room;
    switch (align) {
    case CBRS_ALIGN_TOP:
        strip.bottom = strip.top + depth;
        m_room.top += depth;
        break;
    case CBRS_ALIGN_BOTTOM:
        strip.top = strip.bottom - depth;
        m_room.bottom -= depth;
        break;
    case CBRS_ALIGN_LEFT:
        strip.right = strip.left + depth;
        m_room.left += depth;
        break;
    case CBRS_ALIGN_RIGHT:
        strip.left = strip.right - depth;
        m_room.right -= depth;
        break;
    }
    return strip;
}

void BarLayout::Place(HWND wnd, const RECT& place)
{
    if (m_hBatch)
        m_hBatch = DeferPlacement(m_hBatch, wnd, place);
}
