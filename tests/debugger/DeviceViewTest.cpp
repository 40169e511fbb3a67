// A device's pane: its picture above its text or beside it, whichever shows it larger, at a
// whole-number scale once the pane has room for its own size; and a click on the picture as
// the device's pixel under it, wherever the picture went.
#include "debugui/DeviceView.h"
#include "framework/CWnd.h"
#include "support/PrintedPicture.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Shown(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

TEST(DeviceViewLayout, PutsThePictureWhereItShowsLargest)
{
    // The lab box's picture, 320 x 232, and its seven lines of text.
    const SIZE box{320, 232};
    const SIZE lines{150, 112};
    struct Case {
        const char* name;
        SIZE client;
        SIZE picture;
        SIZE text;
        RECT picturePlace;
        RECT textPlace;
    };
    const Case cases[] = {
        {"a bottom row: beside its text, at its own size", {600, 250}, box, lines, {2, 2, 322, 234}, {328, 2, 598, 250}},
        {"a narrow column: above its text", {360, 500}, box, lines, {2, 2, 322, 234}, {4, 236, 358, 500}},
        {"room for twice its size, no more", {1000, 600}, box, lines, {2, 2, 642, 466}, {4, 468, 998, 600}},
        {"a small pane: beside, smaller than its size", {300, 150}, box, lines, {2, 2, 142, 103}, {148, 2, 298, 150}},
        {"no text: the whole pane", {700, 500}, box, {0, 0}, {2, 2, 642, 466}, {4, 468, 698, 500}},
        {"no picture: the text from the top", {300, 150}, {0, 0}, lines, {2, 2, 2, 2}, {4, 2, 298, 150}},
    };
    for (const Case& c : cases) {
        const CDeviceView::Layout layout = CDeviceView::Arrange(c.client, c.picture, c.text);
        EXPECT_TRUE(SameRect(layout.picture, c.picturePlace)) << c.name << ": the picture at " << Shown(layout.picture);
        EXPECT_TRUE(SameRect(layout.text, c.textPlace)) << c.name << ": the text at " << Shown(layout.text);
    }
}

// The picture beside the text at its own size: a click at its pixel (100, 50) is that pixel.
TEST(DeviceViewLayout, AClickIsThePicturesPixelUnderIt)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, CWnd::RegisterWndClass(0), "", WS_POPUP, RECT{0, 0, 800, 600}, nullptr, 0));
    CDeviceView view;
    ASSERT_TRUE(view.Create(host, 1, static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT))));
    machine::DeviceInput clicked{};
    view.SetInputHandler([&clicked](const machine::DeviceInput& input) { clicked = input; });
    PaneContent content;
    content.text.text = "LED: 00000000\r\nK: 00000000\r\n";
    content.image = machine::ScreenImage::Pixels(320, 232);
    view.Show(content);
    // The client edge takes two pixels each side: a client area of 600 x 250.
    ::MoveWindow(view.GetSafeHwnd(), 0, 0, 604, 254, TRUE);
    // Painted (here printed), it knows where the picture went.
    PrintedPicture::PrintClient(view.GetSafeHwnd(), SIZE{600, 250});
    ::SendMessageW(view.GetSafeHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(102, 52));
    EXPECT_EQ(clicked.action, machine::DeviceInput::Action::Toggle);
    EXPECT_TRUE(clicked.pointer);
    EXPECT_EQ(clicked.x, 100);
    EXPECT_EQ(clicked.y, 50);
}

}  // namespace
