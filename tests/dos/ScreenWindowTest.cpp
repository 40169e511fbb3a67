// The program's own window: its size for each mode's picture, and the window itself as another
// program finds it by its class: its title, its picture printed through WM_PRINTCLIENT, the keys
// and the pointer it hands the machine, hiding for text mode and closing.
#include "dosrun/ScreenWindow.h"

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
    const struct {
        int width;
        int height;
        RECT work;
        SIZE shown;
    } kCases[] = {
        {320, 200, {0, 0, 1280, 800}, {960, 720}},   // mode 13h: three times
        {640, 480, {0, 0, 1280, 800}, {640, 480}},   // mode 12h: as it is
        {640, 350, {0, 0, 1280, 800}, {640, 480}},   // mode 10h: lines taller than wide
        {640, 200, {0, 0, 1920, 1080}, {1280, 960}},  // mode 0Eh: twice
        {320, 200, {0, 0, 1920, 1080}, {1280, 960}},
        {320, 200, {0, 0, 300, 200}, {320, 240}},    // never smaller than the picture
    };
    for (const auto& c : kCases) {
        const SIZE shown = CScreenWindow::ShownSize(c.width, c.height, c.work);
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
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(found, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const auto at = [&](int x, int y) { return pixels[y * client.right + x] & 0xFFFFFF; };
    EXPECT_EQ(at(client.right / 4, client.bottom / 4), 0xFF0000u);
    EXPECT_EQ(at(client.right / 4, client.bottom * 3 / 4), 0x00FF00u);
    EXPECT_EQ(at(client.right * 3 / 4, client.bottom / 2), 0x0000FFu);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

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

}  // namespace
