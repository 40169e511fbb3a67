// The captioned panel: caption geometry and pixels, the close button's states and hit
// test, edge zones over the button, and no caption while floating.
#include "docking/DockingFixture.h"

#include "framework/docking/CMiniDockFrameWnd.h"
#include "support/TestSupport.h"

namespace {
COLORREF Highlight()
{
    return ::GetSysColor(COLOR_BTNHIGHLIGHT);
}
COLORREF Shadow()
{
    return ::GetSysColor(COLOR_BTNSHADOW);
}
COLORREF Face()
{
    return ::GetSysColor(COLOR_BTNFACE);
}

RECT Rect(LONG l, LONG t, LONG r, LONG b)
{
    return RECT{l, t, r, b};
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected)
{
    if (::EqualRect(&actual, &expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", "
                                         << actual.bottom << ") instead of (" << expected.left << ", " << expected.top
                                         << ", " << expected.right << ", " << expected.bottom << ")";
}

// Checks the one-pixel raised frame of the rectangle [left, right] x [top, bottom] (inclusive).
void ExpectRidge(const DibSurface& dib, int left, int top, int right, int bottom)
{
    for (int x = left; x < right; ++x)
        EXPECT_EQ(dib.Pixel(x, top), Highlight()) << "top row at x " << x;
    for (int y = top; y < bottom; ++y)
        EXPECT_EQ(dib.Pixel(left, y), Highlight()) << "left column at y " << y;
    for (int y = top; y <= bottom; ++y)
        EXPECT_EQ(dib.Pixel(right, y), Shadow()) << "right column at y " << y;
    for (int x = left; x <= right; ++x)
        EXPECT_EQ(dib.Pixel(x, bottom), Shadow()) << "bottom row at x " << x;
    if (right - left > 1 && bottom - top > 1) {
        EXPECT_EQ(dib.Pixel(left + 1, top + 1), Face()) << "inside the ridge";
    }
}

POINT WindowPoint(CWnd& wnd, int x, int y)
{
    RECT w = wnd.GetWindowRect();
    return POINT{w.left + x, w.top + y};
}

void SetLeftButton(bool down)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_LBUTTON] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}
}

class CaptionBarTest : public DockingTest {
protected:
    CCaptionBar& BottomPanel300x100()
    {
        SetClientSize(296, 400);
        CCaptionBar& bar = AddBar<CCaptionBar>(AFX_IDW_DOCKBAR_BOTTOM, nullptr, SIZE{200, 100});
        Settle();
        return bar;
    }
    CCaptionBar& LeftPanel200x400()
    {
        SetClientSize(500, 400);
        CCaptionBar& bar = AddBar<CCaptionBar>(AFX_IDW_DOCKBAR_LEFT, nullptr, SIZE{200, 200});
        Settle();
        return bar;
    }
    void Poll(CCaptionBar& bar) { bar.OnUpdateCmdUI(m_pFrame, false); }
};

TEST_F(CaptionBarTest, BottomPanelHasItsCaptionStripAtTheLeft)
{
    CCaptionBar& bar = BottomPanel300x100();
    RECT w = bar.GetWindowRect();
    ASSERT_EQ(w.right - w.left, 300);
    ASSERT_EQ(w.bottom - w.top, 100);
    EXPECT_TRUE(SameRect(bar.ClientRectInWindow(), Rect(17, 5, 295, 95)));
    EXPECT_TRUE(SameRect(bar.GetCloseButton().GetRect(), Rect(3, 5, 16, 18)));

    DibSurface dib(300, 100);
    bar.RenderNonClient(dib.dc());
    ExpectRidge(dib, 6, 21, 8, 93);
    ExpectRidge(dib, 9, 21, 11, 93);
    EXPECT_EQ(dib.Pixel(6, 20), Face());
    EXPECT_EQ(dib.Pixel(12, 50), Face());
    // The button is flat: no frame around its square.
    EXPECT_EQ(dib.Pixel(3, 5), Face());
    EXPECT_EQ(dib.Pixel(15, 17), Face());
}

// The panel's window fills its client area; a panel too small for its own borders leaves it
// where it was rather than stretching it to the largest size a window can have.
TEST_F(CaptionBarTest, ThePanelsWindowFillsItsClientAreaWhileThereIsOne)
{
    CCaptionBar& bar = BottomPanel300x100();
    HWND child = ::GetWindow(bar.GetSafeHwnd(), GW_CHILD);
    RECT client = bar.GetClientRect();
    EXPECT_TRUE(SameRect(RectInParent(child), client));

    ::SetWindowPos(bar.GetSafeHwnd(), nullptr, 0, 0, 4, 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(RectInParent(child), client));

    ::SetWindowPos(bar.GetSafeHwnd(), nullptr, 0, 0, 250, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(RectInParent(child), bar.GetClientRect()));
}

TEST_F(CaptionBarTest, LeftPanelHasItsCaptionStripAtTheTop)

{
    CCaptionBar& bar = LeftPanel200x400();
    RECT w = bar.GetWindowRect();
    ASSERT_EQ(w.right - w.left, 200);
    ASSERT_EQ(w.bottom - w.top, 400);
    EXPECT_TRUE(SameRect(bar.ClientRectInWindow(), Rect(5, 17, 195, 395)));
    EXPECT_TRUE(SameRect(bar.GetCloseButton().GetRect(), Rect(183, 3, 196, 16)));

    DibSurface dib(200, 400);
    bar.RenderNonClient(dib.dc());
    ExpectRidge(dib, 6, 6, 179, 8);
    ExpectRidge(dib, 6, 9, 179, 11);
    EXPECT_EQ(dib.Pixel(180, 7), Face());
    // The close cross is drawn in the button text colour inside the square.
    int crossPixels = 0;
    for (int y = 3; y < 16; ++y) {
        for (int x = 183; x < 196; ++x)
            crossPixels += dib.Pixel(x, y) == ::GetSysColor(COLOR_BTNTEXT);
    }
    EXPECT_GT(crossPixels, 8);
}

TEST_F(CaptionBarTest, CloseButtonFollowsTheCursorAndTheLeftButton)
{
    CCaptionBar& bar = LeftPanel200x400();
    POINT over = WindowPoint(bar, 189, 9);
    ASSERT_EQ(HitTest(bar, over), HTCLOSE);

    SetLeftButton(false);
    ::SetCursorPos(over.x, over.y);
    Poll(bar);
    EXPECT_TRUE(bar.GetCloseButton().IsRaised());
    EXPECT_FALSE(bar.GetCloseButton().IsPushed());
    DibSurface raised(200, 400);
    bar.RenderNonClient(raised.dc());
    EXPECT_EQ(raised.Pixel(183, 3), Highlight());
    EXPECT_EQ(raised.Pixel(195, 15), Shadow());

    SetLeftButton(true);
    Poll(bar);
    EXPECT_TRUE(bar.GetCloseButton().IsPushed());
    EXPECT_FALSE(bar.GetCloseButton().IsRaised());
    DibSurface sunken(200, 400);
    bar.RenderNonClient(sunken.dc());
    EXPECT_EQ(sunken.Pixel(183, 3), Shadow());
    EXPECT_EQ(sunken.Pixel(195, 15), Highlight());

    POINT away = WindowPoint(bar, 100, 200);
    ::SetCursorPos(away.x, away.y);
    Poll(bar);
    EXPECT_FALSE(bar.GetCloseButton().IsPushed());
    EXPECT_FALSE(bar.GetCloseButton().IsRaised());
    SetLeftButton(false);
}

TEST_F(CaptionBarTest, EdgeZoneWinsOverTheCloseButton)
{
    CCaptionBar& bar = LeftPanel200x400();
    POINT both = WindowPoint(bar, 195, 10);
    LRESULT hit = HitTest(bar, both);
    EXPECT_EQ(hit, HTRIGHT);
    PressEdge(bar, static_cast<int>(hit), both);
    EXPECT_TRUE(bar.IsTracking());
    ReleaseMouse(bar, both);
    EXPECT_TRUE(bar.IsVisible());
}

TEST_F(CaptionBarTest, ReleaseOverTheCloseButtonHidesThePanel)
{
    CCaptionBar& bar = BottomPanel300x100();
    POINT over = WindowPoint(bar, 8, 10);
    ASSERT_EQ(HitTest(bar, over), HTCLOSE);
    // The press alone changes nothing.
    bar.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(over.x, over.y));
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_FALSE(bar.IsTracking());
    bar.SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(over.x, over.y));
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_EQ(ViewRect().bottom, 400);
}

TEST_F(CaptionBarTest, FloatingPanelHasNoCaption)
{
    CCaptionBar& bar = BottomPanel300x100();
    m_pFrame->FloatControlBar(&bar, POINT{100, 100});
    PumpMessages();
    ASSERT_TRUE(bar.IsUndocked());
    EXPECT_FALSE(bar.HasCaption());
    RECT w = bar.GetWindowRect();
    int width = w.right - w.left, height = w.bottom - w.top;
    // Floating insets: 3 left, 5 top, 3 right, 3 bottom.
    EXPECT_TRUE(SameRect(bar.ClientRectInWindow(), Rect(3, 5, width - 3, height - 3)));
    DibSurface dib(width, height);
    bar.RenderNonClient(dib.dc());
    // Where docked ridges would be there is only the background.
    for (int y = 6; y < height - 6; ++y) {
        for (int x = 3; x < 14; ++x)
            ASSERT_EQ(dib.Pixel(x, y), Face()) << x << ", " << y;
    }
    for (int y = 0; y < height; y += 3) {
        for (int x = 0; x < width; x += 3)
            ASSERT_NE(HitTest(bar, WindowPoint(bar, x, y)), HTCLOSE) << x << ", " << y;
    }
}
