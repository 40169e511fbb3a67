// The screen pane's mouse: a point over the pane as the pixel of the picture under it (a cell
// counting 8 by 8 in a text screen), kept inside the picture while a drag leaves the pane, with
// the buttons the mouse message says are held.
#include "debugui/ScreenView.h"
#include "framework/CWnd.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct Pointed {
    int x = -1;
    int y = -1;
    unsigned buttons = 99;
};

TEST(ScreenViewPointer, GivesThePictureUnderTheMouseWithTheButtonsHeld)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 800, 600}, nullptr, 0));
    CScreenView view;
    ASSERT_TRUE(view.Create(host, 1, L"Courier New"));
    Pointed last;
    view.SetPointerHandler([&last](int x, int y, unsigned buttons) { last = {x, y, buttons}; });
    // The client edge takes two pixels each side: a client area of 640 x 400.
    ::MoveWindow(view.GetSafeHwnd(), 0, 0, 644, 404, TRUE);
    RECT client;
    ::GetClientRect(view.GetSafeHwnd(), &client);
    ASSERT_EQ(client.right, 640);
    ASSERT_EQ(client.bottom, 400);

    struct Case {
        const char* name;
        bool pixels;
        UINT message;
        WPARAM keys;
        int x, y;
        Pointed expected;
    };
    const Case cases[] = {
        {"a pixel of mode 13h at twice its size", true, WM_MOUSEMOVE, 0, 201, 101, {100, 50, 0}},
        {"the picture's last pixel", true, WM_MOUSEMOVE, 0, 639, 399, {319, 199, 0}},
        {"the left button pressed", true, WM_LBUTTONDOWN, MK_LBUTTON, 20, 40, {10, 20, 1}},
        {"a drag out of the pane, kept inside", true, WM_MOUSEMOVE, MK_LBUTTON, -30, 900, {0, 199, 1}},
        {"the right button with the left", true, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 2, 2, {1, 1, 3}},
        {"the middle button alone", true, WM_MBUTTONDOWN, MK_MBUTTON, 2, 2, {1, 1, 4}},
        {"every button let go", true, WM_MBUTTONUP, 0, 2, 2, {1, 1, 0}},
        {"a text cell of 8 by 16 counting 8 by 8", false, WM_MOUSEMOVE, 0, 100, 50, {100, 25, 0}},
        {"the last cell", false, WM_RBUTTONDOWN, MK_RBUTTON, 639, 399, {639, 199, 2}},
    };
    for (const Case& c : cases) {
        view.Show(c.pixels ? machine::ScreenImage::Pixels(320, 200) : machine::ScreenImage::Cells(80, 25));
        last = {};
        ::SendMessageW(view.GetSafeHwnd(), c.message, c.keys, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(last.x, c.expected.x) << c.name;
        EXPECT_EQ(last.y, c.expected.y) << c.name;
        EXPECT_EQ(last.buttons, c.expected.buttons) << c.name;
    }
    EXPECT_EQ(::GetCapture(), view.GetSafeHwnd()) << "held by the right button";
    ::SendMessageW(view.GetSafeHwnd(), WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(::GetCapture(), nullptr);
}

}  // namespace
