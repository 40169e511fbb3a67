// The program's own window: its size for each mode's picture, and the window itself as another
// program finds it by its class: its title, its picture printed through WM_PRINTCLIENT (a
// drawing program's frame beside the adapter's own picture of it), the keys and the pointer it
// hands the machine, hiding for text mode and closing; beside the lab box's window.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"
#include "dosrun/RunWindows.h"
#include "dosrun/ScreenWindow.h"
#include "support/PrintedPicture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace dos;

namespace {

bool WaitUntil(const std::function<bool()>& condition)
{
    for (int tries = 0; tries < 500; ++tries) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(ScreenWindow, AWholeNumberScaleOfTheWidthInTheScreensShape)
{
    using Shape = CScreenWindow::Shape;
    const struct {
        int width;
        int height;
        RECT work;
        SIZE shown;
        Shape shape;
    } kCases[] = {
        {320, 200, {0, 0, 1280, 800}, {960, 720}, Shape::Screen},    // mode 13h: three times
        {640, 480, {0, 0, 1280, 800}, {640, 480}, Shape::Screen},    // mode 12h: as it is
        {640, 350, {0, 0, 1280, 800}, {640, 480}, Shape::Screen},    // mode 10h: lines taller than wide
        {640, 200, {0, 0, 1920, 1080}, {1280, 960}, Shape::Screen},  // mode 0Eh: twice
        {320, 200, {0, 0, 1920, 1080}, {1280, 960}, Shape::Screen},
        {320, 200, {0, 0, 300, 200}, {320, 240}, Shape::Screen},     // never smaller than the picture
        {300, 200, {0, 0, 1280, 800}, {900, 600}, Shape::Picture},   // a device's picture keeps its shape
    };
    for (const auto& c : kCases) {
        const SIZE shown = CScreenWindow::ShownSize(c.width, c.height, c.work, c.shape);
        EXPECT_EQ(shown.cx, c.shown.cx) << c.width << "x" << c.height << " in " << c.work.right;
        EXPECT_EQ(shown.cy, c.shown.cy) << c.width << "x" << c.height << " in " << c.work.right;
    }
}

TEST(ScreenWindow, ShowsThePictureAndHandsOnKeysAndThePointer)
{
    machine::ScreenImage picture = machine::ScreenImage::Pixels(320, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            picture.Pixel(x, y) = x < 160 ? (y < 100 ? 0xFF0000u : 0x00FF00u) : 0x0000FFu;
    CScreenWindow window(L"DRAW.COM");
    HWND found = ::FindWindowW(CScreenWindow::kClassName, L"DRAW.COM");
    ASSERT_NE(found, nullptr);
    EXPECT_FALSE(::IsWindowVisible(found)) << "hidden until the first picture";
    window.Present(picture);
    ASSERT_TRUE(WaitUntil([&] {
        found = ::FindWindowW(CScreenWindow::kClassName, L"DRAW.COM");
        return found && ::IsWindowVisible(found);
    }));
    RECT client;
    ::GetClientRect(found, &client);
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const SIZE shown = CScreenWindow::ShownSize(320, 200, work);
    EXPECT_EQ(client.right, shown.cx);
    EXPECT_EQ(client.bottom, shown.cy);

    // Printed, the picture fills the client area: each quarter keeps its colour.
    const PrintedPicture::Surface surface(SIZE{client.right, client.bottom});
    ::SendMessageW(found, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Dc()), PRF_CLIENT);
    const std::vector<uint32_t> pixels = surface.Pixels();
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * client.right + x)]; };
    EXPECT_EQ(at(client.right / 4, client.bottom / 4), 0xFF0000u);
    EXPECT_EQ(at(client.right / 4, client.bottom * 3 / 4), 0x00FF00u);
    EXPECT_EQ(at(client.right * 3 / 4, client.bottom / 2), 0x0000FFu);

    // 'a' typed (A's key, scan code 1Eh), Enter, F1: the BIOS's keys in order.
    const struct {
        UINT message;
        WPARAM key;
        UINT scan;
    } kTyped[] = {{WM_KEYDOWN, 'A', 0x1E}, {WM_CHAR, 'a', 0x1E}, {WM_KEYDOWN, VK_RETURN, 0x1C}, {WM_CHAR, '\r', 0x1C}, {WM_KEYDOWN, VK_F1, 0x3B}};
    for (const auto& typed : kTyped)
        ::SendMessageW(found, typed.message, typed.key, static_cast<LPARAM>(typed.scan) << 16 | 1);
    EXPECT_EQ(window.TakeKeys(), (std::vector<uint16_t>{0x1E61, 0x1C0D, 0x3B00}));
    EXPECT_TRUE(window.TakeKeys().empty());

    // The pointer in the picture's pixels, with the buttons held.
    ::SendMessageW(found, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(client.right / 2, client.bottom / 4));
    EXPECT_EQ(window.PointerState().x, 160);
    EXPECT_EQ(window.PointerState().y, 50);
    EXPECT_EQ(window.PointerState().buttons, 3u);

    window.Hide();
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(found); })) << "text mode again";
    window.Present(picture);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(found); }));
    EXPECT_FALSE(window.Closed());
    ::SendMessageW(found, WM_CLOSE, 0, 0);
    EXPECT_TRUE(window.Closed());
    EXPECT_FALSE(::IsWindowVisible(found));
}

// A device's picture in a window of its own: a left click is held while the button is down, a
// right click toggles, a character typed is the device's key.
TEST(ScreenWindow, ADevicesWindowHandsOnClicksAndKeys)
{
    CScreenWindow window(L"LIGHTS.EXE", CScreenWindow::Shape::Picture, CScreenWindow::kLabBoxClassName);
    window.Present(machine::ScreenImage::Pixels(300, 200));
    HWND found = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        found = ::FindWindowW(CScreenWindow::kLabBoxClassName, L"LIGHTS.EXE");
        return found && ::IsWindowVisible(found);
    }));
    RECT client;
    ::GetClientRect(found, &client);
    EXPECT_EQ(client.right * 2, client.bottom * 3) << "its own shape";
    const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 4);
    ::SendMessageW(found, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(found, WM_LBUTTONUP, 0, at);
    ::SendMessageW(found, WM_RBUTTONDOWN, MK_RBUTTON, at);
    ::SendMessageW(found, WM_CHAR, '3', 0x40001);
    using Action = machine::DeviceInput::Action;
    const std::vector<machine::DeviceInput> inputs = window.TakeInputs();
    ASSERT_EQ(inputs.size(), 4u);
    const Action actions[] = {Action::Press, Action::Release, Action::Toggle};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(inputs[i].action, actions[i]) << i;
        EXPECT_TRUE(inputs[i].pointer);
        EXPECT_EQ(inputs[i].x, 150);
        EXPECT_EQ(inputs[i].y, 50);
    }
    EXPECT_FALSE(inputs[3].pointer);
    EXPECT_EQ(inputs[3].key, '3');
}

// DRAW in each mode, stopped at its key: printed, the window shows each of the adapter's
// pixels stretched to its share of the window (mode 13h's lines 3.6 pixels high in 4:3).
TEST(ScreenWindow, PrintsTheAdaptersPictureOfTheFrame)
{
    const struct {
        const char* tail;
        int width, height;
    } kModes[] = {{" 12", 640, 480}, {" 13", 320, 200}, {" 10", 640, 350}, {" D", 320, 200}};
    for (const auto& mode : kModes) {
        DosTest::CRecordingHost host;
        host.pending = true;
        DosMachineSettings settings;
        settings.output = ConsoleOutput::Screen;
        CDosMachine machine(host, std::make_unique<CHostDrive>(), settings);
        ASSERT_EQ(machine.Load(DosTest::Program(L"DRAW.COM"), mode.tail), LoadError::None);
        ASSERT_EQ(machine.Run(100000000), StopReason::WaitingForInput) << mode.tail;
        const machine::ScreenImage picture = machine.Screen();
        ASSERT_EQ(picture.kind, machine::ScreenImage::Kind::Pixels) << mode.tail;
        ASSERT_EQ(picture.width, mode.width) << mode.tail;
        ASSERT_EQ(picture.height, mode.height) << mode.tail;
        const auto at = [&](int x, int y) { return picture.pixels[static_cast<size_t>(y * picture.width + x)]; };
        EXPECT_EQ(at(0, 0), 0xFFFFFFu) << mode.tail << ": the frame";
        EXPECT_EQ(at(mode.width * 5 / 32, mode.height / 2), 0x00AA00u) << mode.tail << ": bar 2";
        EXPECT_EQ(at(mode.height / 2, mode.height / 2), 0xFFFF55u) << mode.tail << ": the diagonal";

        CScreenWindow window(L"DRAW.COM");
        window.Present(picture);
        const HWND found = window.Handle();
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(found); })) << mode.tail;
        RECT client;
        ::GetClientRect(found, &client);
        const SIZE size{client.right, client.bottom};
        RECT work;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const SIZE shown = CScreenWindow::ShownSize(mode.width, mode.height, work);
        EXPECT_EQ(size.cx, shown.cx) << mode.tail;
        EXPECT_EQ(size.cy, shown.cy) << mode.tail;
        const std::vector<uint32_t> printed = PrintedPicture::PrintClient(found, size);
        EXPECT_EQ(PrintedPicture::FirstDifference(printed, size, client, picture), "") << mode.tail;
    }
}

// A run with the lab box and a picture: the program's window and the box's stand side by side
// in the work area, neither over the other, the box's painted anew at its new size although
// its picture stayed the same.
TEST(ScreenWindow, TheProgramsWindowAndTheBoxsStandSideBySide)
{
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const CRunWindows::Rooms rooms = CRunWindows::Split(work);
    CScreenWindow box(L"LIGHTS.COM", CScreenWindow::Shape::Picture, CScreenWindow::kLabBoxClassName);
    box.Present(machine::ScreenImage::Pixels(320, 232));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(box.Handle()) && box.PaintCount().painted > 0; }));
    const uint64_t paintedBefore = box.PaintCount().painted;
    RECT alone;
    ::GetClientRect(box.Handle(), &alone);
    CScreenWindow screen(L"LIGHTS.COM");
    screen.SetRoom(rooms.screen);
    box.SetRoom(rooms.box);
    screen.Present(machine::ScreenImage::Pixels(320, 200));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(screen.Handle()); }));
    RECT screenFrame, boxFrame, both;
    ASSERT_TRUE(WaitUntil([&] {
        ::GetWindowRect(screen.Handle(), &screenFrame);
        ::GetWindowRect(box.Handle(), &boxFrame);
        return !::IntersectRect(&both, &screenFrame, &boxFrame);
    })) << "the box at " << boxFrame.left << "," << boxFrame.top << ", the screen up to " << screenFrame.right;
    EXPECT_GE(screenFrame.left, work.left);
    EXPECT_LE(boxFrame.right, work.right);
    RECT client;
    ::GetClientRect(box.Handle(), &client);
    EXPECT_EQ(client.right * 232, client.bottom * 320) << "the box keeps its shape";
    ASSERT_LT(client.right, alone.right) << "smaller in its part of the work area";
    EXPECT_TRUE(WaitUntil([&] { return box.PaintCount().painted > paintedBefore; })) << "painted at its new size";
}

}  // namespace
