// Row layout of sizing bars: lengths shared pixel by pixel, row breaks, equal depth,
// the keep-length rule and the edge zones that follow from a bar's place in its row.
#include "docking/DockingFixture.h"

#include "framework/docking/CDockBar.h"

TEST_F(DockingTest, LoneHorizontalBarSpansTheLayoutWidthPlusFour)
{
    SetClientSize(500, 400);
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    Settle();
    EXPECT_EQ(bar.GetHorzSize().cx, 504);
    RECT rc = RectInDockBar(bar);
    EXPECT_EQ(rc.left, -2);
    EXPECT_EQ(rc.right, 502);
    EXPECT_EQ(rc.bottom - rc.top, 200);
}

TEST_F(DockingTest, LoneVerticalBarSpansTheLayoutHeight)
{
    SetClientSize(500, 400);
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_LEFT);
    Settle();
    EXPECT_EQ(bar.GetVertSize().cy, 400);
    RECT rc = RectInDockBar(bar);
    EXPECT_EQ(rc.bottom - rc.top, 400);
    EXPECT_EQ(rc.right - rc.left, 200);
    RECT view = ViewRect();
    EXPECT_EQ(view.left, 200);
}

TEST_F(DockingTest, GrowthIsHandedOutPixelByPixelFromTheStartOfTheRow)
{
    SetClientSize(500, 400);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first);
    Settle();
    ASSERT_EQ(DockBarOf(first)->FindBar(&second), DockBarOf(first)->FindBar(&first) + 1);
    // The row now fills the width; 5 more pixels go 3 to the first bar and 2 to the second.
    LONG a = first.GetHorzSize().cx, b = second.GetHorzSize().cx;
    EXPECT_EQ(a + b - 2, 504);
    SetClientSize(505, 400);
    EXPECT_EQ(first.GetHorzSize().cx, a + 3);
    EXPECT_EQ(second.GetHorzSize().cx, b + 2);
}

TEST_F(DockingTest, ShrinkingSkipsABarAtItsMinimum)
{
    SetClientSize(500, 400);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first);
    Settle();
    LONG total = first.GetHorzSize().cx + second.GetHorzSize().cx;
    first.SetHorzSize(SIZE{first.GetMinHorzSize().cx, first.GetHorzSize().cy});
    second.SetHorzSize(SIZE{total - first.GetMinHorzSize().cx, second.GetHorzSize().cy});
    Settle();
    LONG before = second.GetHorzSize().cx;
    SetClientSize(495, 400);
    EXPECT_EQ(first.GetHorzSize().cx, first.GetMinHorzSize().cx);
    EXPECT_EQ(second.GetHorzSize().cx, before - 5);
}

TEST_F(DockingTest, ABarShownAgainKeepsItsLengthWhileItsNeighbourCanGive)
{
    SetClientSize(500, 400);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first);
    Settle();
    LONG secondLength = second.GetHorzSize().cx;
    m_pFrame->ShowControlBar(&second, false, false);
    Settle();
    EXPECT_FALSE(second.IsVisible());
    EXPECT_EQ(first.GetHorzSize().cx, 504);

    m_pFrame->ShowControlBar(&second, true, false);
    Settle();
    EXPECT_TRUE(second.IsVisible());
    EXPECT_EQ(second.GetHorzSize().cx, secondLength);
    EXPECT_EQ(first.GetHorzSize().cx + second.GetHorzSize().cx - 2, 504);
    // The difference was distributed, so no bar of the row keeps the flag.
    EXPECT_FALSE(first.KeepsLength());
    EXPECT_FALSE(second.KeepsLength());
}

TEST_F(DockingTest, AShownBarTakesPartOnceItsNeighbourIsAtItsMinimum)
{
    SetClientSize(500, 400);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first);
    Settle();
    m_pFrame->ShowControlBar(&second, false, false);
    Settle();
    second.SetHorzSize(SIZE{490, second.GetHorzSize().cy});
    m_pFrame->ShowControlBar(&second, true, false);
    Settle();
    EXPECT_EQ(first.GetHorzSize().cx, first.GetMinHorzSize().cx);
    EXPECT_EQ(first.GetHorzSize().cx + second.GetHorzSize().cx - 2, 504);
}

TEST_F(DockingTest, BarsThatDoNotFitAtTheirMinimumStartANewRow)
{
    SetClientSize(60, 300);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first);
    Settle();
    CDockBar* dock = DockBarOf(first);
    int firstRowStart = 0, firstRowEnd = 0, secondRowStart = 0, secondRowEnd = 0;
    ASSERT_TRUE(dock->GetRowBounds(&first, firstRowStart, firstRowEnd));
    ASSERT_TRUE(dock->GetRowBounds(&second, secondRowStart, secondRowEnd));
    EXPECT_LT(firstRowEnd, secondRowStart);
    EXPECT_NE(RectInDockBar(first).top, RectInDockBar(second).top);
    EXPECT_EQ(dock->GetVisibleBarCount(), 2);
}

TEST_F(DockingTest, SizingBarsOfARowShareTheDeepestDepth)
{
    SetClientSize(500, 400);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{200, 80});
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first, SIZE{200, 130});
    Settle();
    EXPECT_EQ(first.GetHorzSize().cy, 130);
    EXPECT_EQ(second.GetHorzSize().cy, 130);
    RECT view = ViewRect();
    EXPECT_EQ(view.bottom, 400 - 130);
}

TEST_F(DockingTest, EdgeZonesFollowThePlaceInTheRow)
{
    SetClientSize(500, 400);
    CResizableBar& lone = AddBar(AFX_IDW_DOCKBAR_LEFT);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first);
    Settle();
    // Alone: only the depth edge (right, for the left side).
    EXPECT_EQ(lone.GetSizingEdges(), SZBS_EDGE_RIGHT);
    // First of the row: no leading edge; last: no trailing edge; both have the depth edge (top).
    EXPECT_EQ(first.GetSizingEdges(), SZBS_EDGE_RIGHT | SZBS_EDGE_TOP);
    EXPECT_EQ(second.GetSizingEdges(), SZBS_EDGE_LEFT | SZBS_EDGE_TOP);

    RECT w = first.GetWindowRect();
    EXPECT_EQ(HitTest(first, POINT{w.right - 2, (w.top + w.bottom) / 2}), HTRIGHT);
    // A side edge zone stops 5 pixels short of both ends; the depth zone runs the full length.
    EXPECT_EQ(HitTest(first, POINT{w.right - 2, w.bottom - 3}), HTCLIENT);
    EXPECT_EQ(HitTest(first, POINT{w.right - 2, w.top + 5}), HTRIGHT);
    EXPECT_EQ(HitTest(first, POINT{w.right - 2, w.top + 2}), HTTOP);
    EXPECT_EQ(HitTest(first, POINT{w.left, w.top + 1}), HTTOP);
    EXPECT_EQ(HitTest(first, POINT{w.left + 1, (w.top + w.bottom) / 2}), HTCLIENT);
    EXPECT_EQ(HitTest(first, POINT{(w.left + w.right) / 2, (w.top + w.bottom) / 2}), HTCLIENT);
}

TEST_F(DockingTest, StretchedLayoutRunsTheWholeRowAxis)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP, nullptr, SIZE{150, 90});
    SIZE horz = bar.CalcFixedLayout(true, true);
    SIZE vert = bar.CalcFixedLayout(true, false);
    EXPECT_EQ(horz.cx, 32767);
    EXPECT_EQ(horz.cy, 90);
    EXPECT_EQ(vert.cx, 150);
    EXPECT_EQ(vert.cy, 32767);
}

TEST_F(DockingTest, CloseRequestLeavesTheBarAlone)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP);
    Settle();
    bar.SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(bar.GetSafeHwnd()));
    EXPECT_TRUE(bar.IsVisible());
}

namespace {
int g_nMoves = 0;

LRESULT CALLBACK CountMoves(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(lParam)->message == WM_WINDOWPOSCHANGING)
        ++g_nMoves;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
}

// Under Wine a window moved, even onto its own place, costs round trips to the server: a
// layout that changes nothing moves nothing.
TEST_F(DockingTest, ALayoutThatChangesNothingMovesNoWindow)
{
    CResizableBar& left = AddBar(AFX_IDW_DOCKBAR_LEFT);
    AddBar(AFX_IDW_DOCKBAR_LEFT, &left);
    AddBar(AFX_IDW_DOCKBAR_BOTTOM);
    Settle();
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountMoves, nullptr, ::GetCurrentThreadId());
    g_nMoves = 0;
    m_pFrame->RecalcLayout();
    EXPECT_EQ(g_nMoves, 0);
    ::UnhookWindowsHookEx(hook);
}
