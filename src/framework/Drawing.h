// Small drawing routines shared by the self-drawn controls.
#pragma once

#include <windows.h>

// A one-pixel 3-D frame inside rect: the top row (without its last pixel) and the left
// column (without its last pixel) in topLeft, then the right column and the bottom row in
// bottomRight.
void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
void FillSolidRect(HDC dc, int x, int y, int cx, int cy, COLORREF color);
