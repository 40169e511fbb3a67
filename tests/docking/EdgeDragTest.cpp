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
    ASSERT_EQ(row.first->GetHorzSize().cx, 100);
    ASSERT_EQ(row.second->GetHorzSize().cx, 100);
    DragEdge(*row.first, HTRIGHT, 80, 0);
    EXPECT_FALSE(row.first->IsTracking());
    EXPECT_EQ(row.first->GetHorzSize().cx, 167);
    EXPECT_EQ(row.second->GetHorzSize().cx, 33);
    Settle();
    EXPECT_EQ(row.first->GetHorzSize().cx, 167);
    EXPECT_EQ(row.second->GetHorzSize().cx, 33);
}

TEST_F(EdgeDragTest, MovingBackInsideTheLimitsMovesTheEdgeAgain)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    EXPECT_TRUE(row.first->IsTracking());
    MoveMouse(*row.first, POINT{start.x + 200, start.y});
    EXPECT_EQ(row.first->GetHorzSize().cx, 167);
    MoveMouse(*row.first, POINT{start.x + 10, start.y});
    EXPECT_EQ(row.first->GetHorzSize().cx, 110);
    ReleaseMouse(*row.first, POINT{start.x + 10, start.y});
    EXPECT_EQ(row.first->GetHorzSize().cx, 110);
    EXPECT_EQ(row.second->GetHorzSize().cx, 90);
}

TEST_F(EdgeDragTest, LeadingEdgeOfTheThirdBarTakesFromTheNearestBarFirst)
{
    SetClientSize(400, 300);
    CResizableBar& first = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{100, 100});
    CResizableBar& second = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &first, SIZE{100, 100});
    CResizableBar& third = AddBar(AFX_IDW_DOCKBAR_BOTTOM, &second, SIZE{100, 100});
    Settle();
    LONG a = first.GetHorzSize().cx, b = second.GetHorzSize().cx, c = third.GetHorzSize().cx;
    LONG secondRoom = b - second.GetMinHorzSize().cx;
    DragEdge(third, HTLEFT, -(secondRoom + 20), 0);
    EXPECT_EQ(second.GetHorzSize().cx, second.GetMinHorzSize().cx);
    EXPECT_EQ(first.GetHorzSize().cx, a - 20);
    EXPECT_EQ(third.GetHorzSize().cx, c + secondRoom + 20);
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
    EXPECT_EQ(first.GetHorzSize().cy, second.GetHorzSize().cy);

    DragEdge(first, HTTOP, 0, 1000);
    Settle();
    EXPECT_EQ(first.GetHorzSize().cy, 32);
    EXPECT_EQ(second.GetHorzSize().cy, 32);
    EXPECT_EQ(ViewRect().bottom, 300 - 32);
}

TEST_F(EdgeDragTest, WithoutFullWindowDragTheBarsChangeOnlyOnRelease)
{
    TwoBarRow row = MakeRowOf100And100();
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
    EXPECT_FALSE(row.first->IsTracking());
    EXPECT_NE(::GetCapture(), row.first->GetSafeHwnd());
    EXPECT_EQ(row.first->GetHorzSize().cx, 120);
    // Escape cancels nothing: there is no drag left to cancel, and the size stays.
    row.first->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    Settle();
    EXPECT_EQ(row.first->GetHorzSize().cx, 120);
}

TEST_F(EdgeDragTest, LosingTheCaptureEndsTheDragAndKeepsTheSize)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    MoveMouse(*row.first, POINT{start.x - 15, start.y});
    ::SetCapture(m_view.GetSafeHwnd());
    EXPECT_FALSE(row.first->IsTracking());
    ::ReleaseCapture();
    EXPECT_EQ(row.first->GetHorzSize().cx, 85);
    EXPECT_EQ(row.second->GetHorzSize().cx, 115);
}

TEST_F(EdgeDragTest, APressDuringADragOrOnAFloatingBarStartsNothing)
{
    TwoBarRow row = MakeRowOf100And100();
    POINT start = EdgeCentre(*row.first, HTRIGHT);
    PressEdge(*row.first, HTRIGHT, start);
    PressEdge(*row.first, HTTOP, EdgeCentre(*row.first, HTTOP));
    EXPECT_EQ(row.first->GetTrackedEdge(), HTRIGHT);
    // The first drag goes on within its own limits.
    MoveMouse(*row.first, POINT{start.x + 200, start.y});
    ReleaseMouse(*row.first, POINT{start.x + 200, start.y});
    EXPECT_EQ(row.first->GetHorzSize().cx, 167);

    m_pFrame->FloatControlBar(row.second, POINT{100, 100});
    ASSERT_TRUE(row.second->IsUndocked());
    RECT w = row.second->GetWindowRect();
    EXPECT_EQ(HitTest(*row.second, POINT{w.left + 1, w.top + 1}), HTCLIENT);
    PressEdge(*row.second, HTLEFT, POINT{w.left + 1, w.top + 10});
    EXPECT_FALSE(row.second->IsTracking());
}
