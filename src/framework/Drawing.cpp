// Small drawing routines shared by the self-drawn controls.
#include "framework/Drawing.h"

#include "framework/Handles.h"

void FillSolidRect(HDC dc, int x, int y, int cx, int cy, COLORREF color)
{
    BkColorGuard background(dc, color);
    RECT rc{x, y, x + cx, y + cy};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    FillSolidRect(dc, rect.left, rect.top, cx - 1, 1, topLeft);
    FillSolidRect(dc, rect.left, rect.top, 1, cy - 1, topLeft);
    FillSolidRect(dc, rect.right - 1, rect.top, 1, cy, bottomRight);
    FillSolidRect(dc, rect.left, rect.bottom - 1, cx, 1, bottomRight);
}
