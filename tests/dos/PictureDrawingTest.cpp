// A machine's picture drawn into a DC, stretched: each pixel keeps its colour over its share,
// with no blur from its neighbours. (Shrunk, the pixels are averaged where the display does it:
// Windows, and Wine's X11 driver; Wine's DIB sections only drop them, so no test here sees it.)
#include "doshost/PictureDrawing.h"
#include "support/PrintedPicture.h"

#include <gtest/gtest.h>

namespace {

// Black, with a white column every fourth pixel from the second.
machine::ScreenImage Lines()
{
    machine::ScreenImage lines = machine::ScreenImage::Pixels(64, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            lines.Pixel(x, y) = x % 4 == 1 ? 0xFFFFFFu : 0x000000u;
    return lines;
}

std::vector<uint32_t> Drawn(const machine::ScreenImage& picture, SIZE to)
{
    const PrintedPicture::Surface surface(to);
    dos::DrawPicture(surface.Dc(), RECT{0, 0, to.cx, to.cy}, picture);
    return surface.Pixels();
}

TEST(PictureDrawing, StretchesEachPixelWhole)
{
    const machine::ScreenImage lines = Lines();
    for (const SIZE to : {SIZE{192, 24}, SIZE{64, 8}, SIZE{128, 12}}) {
        const std::vector<uint32_t> pixels = Drawn(lines, to);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(to.cx * to.cy));
        for (int x = 0; x < to.cx; ++x)
            EXPECT_EQ(pixels[static_cast<size_t>(to.cy / 2 * to.cx + x)], lines.pixels[static_cast<size_t>(4 * 64 + x * 64 / to.cx)])
                << to.cx << " wide: column " << x;
    }
}

}  // namespace
