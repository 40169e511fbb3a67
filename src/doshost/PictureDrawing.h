// A machine's picture (pixels, 0x00RRGGBB, top row first) drawn into a rectangle of a DC, each
// pixel stretched to its share (or, where the rectangle is smaller, averaged with its
// neighbours): the debugger's panes and the program's own window draw so.
#pragma once

#include "machine/ScreenImage.h"

#include <windows.h>

namespace dos {

void DrawPicture(HDC dc, const RECT& to, const machine::ScreenImage& picture);
// The header of a 32-bit DIB with its top row first, as pictures keep their pixels.
BITMAPINFO TopDownBitmapInfo(int width, int height);

}  // namespace dos
