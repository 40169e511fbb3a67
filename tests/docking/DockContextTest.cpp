// Moving bars between the sides of the frame and floating frames: drags with the mouse,
// double clicks, sizing a floating frame from its corner, and titles.
#include "docking/DockingFixture.h"

#include "framework/docking/CMiniDockFrameWnd.h"
#include "support/TestSupport.h"

namespace {
CMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar)
{
    return dynamic_cast<CMiniDockFrameWnd*>(ParentFrameOf(bar));
}

SIZE ClientSize(const CWnd& wnd)
{
    RECT rc = wnd.GetClientRect();
    return SIZE{rc.right, rc.bottom};
}
}

// Presses on the bar's frame, moves the mouse by way of a point off the bar, and releases
// it at a point of the frame's client area.
static void DragBarTo(CResizableBar& bar, CFrameWnd& frame, POINT clientDrop)
{
    RECT client = frame.GetClientRect();
    frame.ClientToScreen(&client);
    RECT w = bar.GetWindowRect();
    POINT drop{client.left + clientDrop.x, client.top + clientDrop.y};
    PostCursorAndMove(bar.GetSafeHwnd(), POINT{w.left + 40, w.top - 30});
    PostCursorAndMove(bar.GetSafeHwnd(), drop);
    PostRelease(bar.GetSafeHwnd(), drop);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
}

TEST_F(DockingTest, DraggingABarIntoTheMiddleFloatsItThere)
{
    SetClientSize(500, 400);
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{150, 100});
    Settle();
    DragBarTo(bar, *m_pFrame, POINT{200, 150});
    PumpMessages();

    ASSERT_TRUE(bar.IsFloating());
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    EXPECT_EQ(ClientSize(*floating).cx, bar.GetFloatSize().cx);
    EXPECT_EQ(ClientSize(*floating).cy, bar.GetFloatSize().cy);
    // The bottom side keeps a placeholder for the bar and takes no room any more.
    EXPECT_TRUE(m_pFrame->GetDockBar(AFX_IDW_DOCKBAR_BOTTOM)->HasPlaceholder(bar.GetDlgCtrlID()));
    EXPECT_EQ(ViewRect().bottom, 400);
}

TEST_F(DockingTest, DraggingABarToAnotherSideDocksItThere)
{
    SetClientSize(500, 400);
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{150, 100});
    Settle();
    DragBarTo(bar, *m_pFrame, POINT{3, 200});
    Settle();

    ASSERT_FALSE(bar.IsFloating());
    EXPECT_EQ(DockBarOf(bar)->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(bar.IsDockedVert());
    EXPECT_EQ(ViewRect().left, 150);
    EXPECT_EQ(ViewRect().bottom, 400);
}

TEST_F(DockingTest, AClickWithoutMovingLeavesTheBarWhereItIs)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP);
    Settle();
    RECT w = bar.GetWindowRect();
    PostRelease(bar.GetSafeHwnd(), POINT{w.left + 10, w.top + 2});
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
    EXPECT_EQ(DockBarOf(bar)->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(bar.IsFloating());
}

TEST_F(DockingTest, DoubleClicksFloatAndRedockWithEachStatesSize)
{
    SetClientSize(500, 400);
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{180, 120});
    bar.SetFloatSize(SIZE{240, 150});
    Settle();
    ASSERT_EQ(bar.GetHorzSize().cy, 120);

    bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 2));
    PumpMessages();
    ASSERT_TRUE(bar.IsFloating());
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(ClientSize(*floating).cx, 240);
    EXPECT_EQ(ClientSize(*floating).cy, 150);
    EXPECT_EQ(ViewRect().bottom, 400);

    floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Settle();
    ASSERT_FALSE(bar.IsFloating());
    EXPECT_EQ(DockBarOf(bar)->GetDlgCtrlID(), AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(bar.GetHorzSize().cy, 120);
    EXPECT_EQ(ViewRect().bottom, 400 - 120);
    // The floating frame goes once it is empty.
    EXPECT_FALSE(::IsWindow(floating->GetSafeHwnd()));

    bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 2));
    PumpMessages();
    ASSERT_TRUE(bar.IsFloating());
    EXPECT_EQ(ClientSize(*FloatingFrameOf(bar)).cx, 240);
}

TEST_F(DockingTest, FloatingCornerSizingStopsAtTheMinimumFloatingSize)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP);
    Settle();
    m_pFrame->FloatControlBar(&bar, POINT{200, 200});
    PumpMessages();
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    RECT before = floating->GetWindowRect();
    // Once floating, the bar lets its frame be sized from the corners too.
    EXPECT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(before.left + 1, before.top + 1)), HTTOPLEFT);
    HWND frame = floating->GetSafeHwnd();
    for (int step = 1; step <= 4; ++step)
        PostCursorAndMove(frame, POINT{before.left + 60 * step, before.top + 60 * step});
    PostRelease(frame, POINT{before.left + 240, before.top + 240});
    floating->SendMessage(WM_NCLBUTTONDOWN, HTTOPLEFT, MAKELPARAM(before.left, before.top));
    PumpMessages();

    EXPECT_EQ(bar.GetFloatSize().cx, 37);
    EXPECT_EQ(bar.GetFloatSize().cy, 32);
    RECT after = floating->GetWindowRect();
    // The frame's right and bottom stay; its left and top stop following the mouse.
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(ClientSize(*floating).cx, 37);
    EXPECT_EQ(ClientSize(*floating).cy, 32);
}

TEST_F(DockingTest, FloatingSideSizingChangesOneDimension)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP);
    bar.SetFloatSize(SIZE{200, 120});
    Settle();
    m_pFrame->FloatControlBar(&bar, POINT{150, 150});
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    RECT before = floating->GetWindowRect();
    HWND frame = floating->GetSafeHwnd();
    PostCursorAndMove(frame, POINT{before.right + 50, before.top + 40});
    PostRelease(frame, POINT{before.right + 50, before.top + 40});
    floating->SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(before.right, before.top + 40));
    EXPECT_EQ(bar.GetFloatSize().cx, 250);
    EXPECT_EQ(bar.GetFloatSize().cy, 120);
    EXPECT_EQ(floating->GetWindowRect().left, before.left);
}

TEST_F(DockingTest, AFloatingFrameTakesTheBarsTitle)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP);
    Settle();
    m_pFrame->FloatControlBar(&bar, POINT{150, 150});
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(floating->GetWindowText(), "bar");
    bar.SetWindowText("renamed");
    PumpMessages();
    EXPECT_EQ(floating->GetWindowText(), "renamed");
}

TEST_F(DockingTest, HidingAFloatingBarHidesItsFrame)
{
    CResizableBar& bar = AddBar(AFX_IDW_DOCKBAR_TOP);
    Settle();
    m_pFrame->FloatControlBar(&bar, POINT{150, 150});
    CMiniDockFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    floating->SendMessage(WM_CLOSE);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(floating->IsWindowVisible());
    m_pFrame->ShowControlBar(&bar, true, false);
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_TRUE(floating->IsWindowVisible());
}
