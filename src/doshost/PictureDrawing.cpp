// Pixels to a DC through a 32-bit top-down DIB.
#include "doshost/PictureDrawing.h"

namespace dos {

void DrawPicture(HDC dc, const RECT& to, const machine::ScreenImage& picture)
{
    if (picture.kind != machine::ScreenImage::Kind::Pixels || picture.width <= 0 || picture.height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, picture.width, picture.height,
                    picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace dos
