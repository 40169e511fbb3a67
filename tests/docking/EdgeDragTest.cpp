// Resizing docked bars by dragging their edges with real non-client and mouse messages.
#include "docking/DockingFixture.h"

#include "support/TestSupport.h"

namespace {
// Two bars of 100 and 100 in one bottom row: the row is 100 + 100 - 2 = layout width + 4.
struct TwoBarRow {
    CResizableBar* first;
    CResizableBar* second;
};
}

class EdgeDragTest : public DockingTest {
protected:
    TwoBarRow MakeRowOf100And100()
    {
        SetClientSize(194, 400);
        CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{100, 100});
        CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first, SIZE{100, 100});
        Settle();
        return {&first, &second};
    }
};

TEST_F(EdgeDragTest, SideEdgeStopsWhenTheNeighbourReachesItsMinimum)
{
    TwoBarRow row = MakeRowOf100And100();
    ASSERT_EQ(row.first->m_sizeHorz.cx, 100);
    ASSERT_EQ(row.second->m_sizeHorz.cx, 100);
    DragEdge(*row.first, HTRIGHT, 80, 0);
    EXPECT_FALSE(row.first->m_bTracking);
    EXPECT_EQ(row.first->m_sizeHorz.cx, 167);
    EXPECT_EQ(row.second->m_sizeHorz.cx, 33);
    Settle();
    EXPECT_EQ(row.first->m_sizeHorz.cx, 167);
    EXPECT_EQ(row.second->m_sizeHorz.cx, 33);
}

TEST_F(EdgeDragTest, MovingBackInsideTheLimitsMovesTheEdgeAgain)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    EXPECT_TRUE(row.first->m_bTracking);
    MoveMouse(*row.first, POINT{start.x + 200, start.y});
    EXPECT_EQ(row.first->m_nTrackPos, start.x + 67);
    MoveMouse(*row.first, POINT{start.x + 10, start.y});
    EXPECT_EQ(row.first->m_nTrackPos, start.x + 10);
    ReleaseMouse(*row.first, POINT{start.x + 10, start.y});
    EXPECT_EQ(row.first->m_sizeHorz.cx, 110);
    EXPECT_EQ(row.second->m_sizeHorz.cx, 90);
}

TEST_F(EdgeDragTest, LeadingEdgeOfTheThirdBarTakesFromTheNearestBarFirst)
{
    SetClientSize(400, 300);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{100, 100});
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first, SIZE{100, 100});
    CResizableBar& third = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &second, SIZE{100, 100});
    Settle();
    LONG a = first.m_sizeHorz.cx, b = second.m_sizeHorz.cx, c = third.m_sizeHorz.cx;
    LONG secondRoom = b - second.m_sizeMinHorz.cx;
    DragEdge(third, HTLEFT, -(secondRoom + 20), 0);
    EXPECT_EQ(second.m_sizeHorz.cx, second.m_sizeMinHorz.cx);
    EXPECT_EQ(first.m_sizeHorz.cx, a - 20);
    EXPECT_EQ(third.m_sizeHorz.cx, c + secondRoom + 20);
}

TEST_F(EdgeDragTest, DepthEdgeStopsAtATwoPixelViewAndAtTheMinimumDepth)
{
    SetClientSize(400, 300);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{100, 100});
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first, SIZE{100, 60});
    Settle();
    DragEdge(first, HTTOP, 0, -1000);
    Settle();
    RECT view = ViewRect();
    EXPECT_EQ(view.bottom - view.top, 2);
    EXPECT_EQ(first.m_sizeHorz.cy, second.m_sizeHorz.cy);

    DragEdge(first, HTTOP, 0, 1000);
    Settle();
    EXPECT_EQ(first.m_sizeHorz.cy, 32);
    EXPECT_EQ(second.m_sizeHorz.cy, 32);
    EXPECT_EQ(ViewRect().bottom, 300 - 32);
}

TEST_F(EdgeDragTest, WithoutFullWindowDragTheBarsChangeOnlyOnRelease)
{
    TwoBarRow row = MakeRowOf100And100();
    ASSERT_FALSE(row.first->m_bFullWindowDrag);
    RECT before = row.first->GetWindowRect();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    MoveMouse(*row.first, POINT{start.x + 30, start.y});
    PumpMessages();
    RECT during = row.first->GetWindowRect();
    EXPECT_EQ(during.right, before.right);
    ReleaseMouse(*row.first, POINT{start.x + 30, start.y});
    PumpMessages();
    EXPECT_EQ(row.first->GetWindowRect().right, before.right + 30);
}

TEST_F(EdgeDragTest, WithFullWindowDragTheBarsFollowTheMouse)
{
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    TwoBarRow row = MakeRowOf100And100();
    row.first->SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    ASSERT_TRUE(row.first->m_bFullWindowDrag);
    RECT before = row.first->GetWindowRect();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    MoveMouse(*row.first, POINT{start.x + 30, start.y});
    PumpMessages();
    EXPECT_EQ(row.first->GetWindowRect().right, before.right + 30);
    ReleaseMouse(*row.first, POINT{start.x + 30, start.y});
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
}

TEST_F(EdgeDragTest, RightButtonEndsTheDragAndKeepsTheSize)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    MoveMouse(*row.first, POINT{start.x + 20, start.y});
    row.first->SendMessage(WM_RBUTTONDOWN, 0, 0);
    EXPECT_FALSE(row.first->m_bTracking);
    EXPECT_NE(::GetCapture(), row.first->GetSafeHwnd());
    EXPECT_EQ(row.first->m_sizeHorz.cx, 120);
    // Escape cancels nothing: there is no drag left to cancel, and the size stays.
    row.first->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    Settle();
    EXPECT_EQ(row.first->m_sizeHorz.cx, 120);
}

TEST_F(EdgeDragTest, LosingTheCaptureEndsTheDragAndKeepsTheSize)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    MoveMouse(*row.first, POINT{start.x - 15, start.y});
    ::SetCapture(m_view.GetSafeHwnd());
    EXPECT_FALSE(row.first->m_bTracking);
    ::ReleaseCapture();
    EXPECT_EQ(row.first->m_sizeHorz.cx, 85);
    EXPECT_EQ(row.second->m_sizeHorz.cx, 115);
}

TEST_F(EdgeDragTest, APressDuringADragOrOnAFloatingBarStartsNothing)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    int min = row.first->m_nTrackMin, max = row.first->m_nTrackMax;
    PressEdge(*row.first, HTTOP, EdgeCentre(*row.first, HTTOP));
    EXPECT_EQ(row.first->m_nTrackedEdge, HTRIGHT);
    EXPECT_EQ(row.first->m_nTrackMin, min);
    EXPECT_EQ(row.first->m_nTrackMax, max);
    ReleaseMouse(*row.first, start);

    m_pFrame->FloatControlBar(row.second, POINT{100, 100});
    ASSERT_TRUE(row.second->IsUndocked());
    RECT w = row.second->GetWindowRect();
    EXPECT_EQ(HitTest(*row.second, POINT{w.left + 1, w.top + 1}), HTCLIENT);
    PressEdge(*row.second, HTLEFT, POINT{w.left + 1, w.top + 10});
    EXPECT_FALSE(row.second->m_bTracking);
}
