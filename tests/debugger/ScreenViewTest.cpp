// The screen pane's mouse: a point over the pane as the pixel of the picture under it (a cell
// counting 8 by 8 in a text screen), kept inside the picture while a drag leaves the pane, with
// the buttons the mouse message says are held; and the pane printed beside the adapter's own
// picture of a drawing program's frame.
#include "DebuggerTestSupport.h"

#include "debug/DebugResources.h"
#include "debug/DosTarget.h"
#include "debugui/ScreenView.h"
#include "framework/CWnd.h"
#include "support/PrintedPicture.h"

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

// DRAW13 stopped at its key: 16 bars of the default colours, the 256 in diagonals, a white
// frame. Printed, the pane shows each of the adapter's pixels stretched to its share, the
// picture in the pane's middle and black round it.
TEST(ScreenViewPicture, PrintsTheAdaptersPictureScaledIntoThePane)
{
    using namespace DebuggerTest;
    CDebugSession session;
    ASSERT_EQ(session.Start(Launch(Built("DRAW13.COM"), Built("DRAW13.ASM"))).result, SessionResult::Started);
    ASSERT_EQ(session.RunToLine(LineOf(Built("DRAW13.ASM"), "DRAW13.ASM", "waitkey:")).reason, StopReason::Limit);
    const machine::ScreenImage adapter = DosTarget(session).Machine().Screen();
    ASSERT_EQ(adapter.kind, machine::ScreenImage::Kind::Pixels);
    ASSERT_EQ(adapter.width, 320);
    ASSERT_EQ(adapter.height, 200);
    EXPECT_EQ(adapter.pixels[0], 0xFFFFFFu) << "the frame";
    EXPECT_EQ(adapter.pixels[50 * 320 + 30], 0x0000AAu) << "bar 1";

    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 900, 600}, nullptr, 0));
    CScreenView view;
    ASSERT_TRUE(view.Create(host, 1, L"Courier New"));
    view.Show(session.Content(PaneOf(session, IDC_DEBUG_SCREEN), PaneQuery{}).image);
    struct Case {
        const char* name;
        SIZE client;
        RECT shown;
    };
    const Case cases[] = {
        {"twice its size", {640, 400}, {0, 0, 640, 400}},
        {"in a wider pane, in its middle", {800, 400}, {80, 0, 720, 400}},
        {"one and a half times, in a taller pane", {480, 400}, {0, 50, 480, 350}},
    };
    for (const Case& c : cases) {
        // The client edge takes two pixels each side.
        ::MoveWindow(view.GetSafeHwnd(), 0, 0, c.client.cx + 4, c.client.cy + 4, TRUE);
        const std::vector<uint32_t> printed = PrintedPicture::PrintClient(view.GetSafeHwnd(), c.client);
        EXPECT_EQ(PrintedPicture::FirstDifference(printed, c.client, c.shown, adapter), "") << c.name;
        if (c.shown.left > 0) {
            EXPECT_EQ(printed[static_cast<size_t>(c.client.cy / 2 * c.client.cx + c.shown.left / 2)], 0u) << c.name << ": black beside it";
        }
        if (c.shown.top > 0) {
            EXPECT_EQ(printed[static_cast<size_t>(c.shown.top / 2 * c.client.cx + c.client.cx / 2)], 0u) << c.name << ": black above it";
        }
    }
}

}  // namespace
