// Pixels to a DC through a 32-bit top-down DIB.
#include "doshost/PictureDrawing.h"

namespace dos {

BITMAPINFO TopDownBitmapInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void DrawPicture(HDC dc, const RECT& to, const machine::ScreenImage& picture)
{
    if (picture.kind != machine::ScreenImage::Kind::Pixels || picture.width <= 0 || picture.height <= 0)
        return;
    const BITMAPINFO info = TopDownBitmapInfo(picture.width, picture.height);
    // Stretched, each pixel keeps its colour; shrunk, the pixels dropped would take thin lines
    // and small letters with them, so they are averaged.
    const bool shrunk = to.right - to.left < picture.width || to.bottom - to.top < picture.height;
    ::SetStretchBltMode(dc, shrunk ? HALFTONE : COLORONCOLOR);
    if (shrunk)
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, picture.width, picture.height,
                    picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace dos
