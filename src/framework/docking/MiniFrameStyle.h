// The look of a mini frame (a bar's floating frame): its window styles, and the frame rectangle
// they make around a client rectangle, for the frame itself and for the outline a drag draws.
#pragma once

#include <windows.h>

// The frame can be sized from its four sides only, not from its corners.
constexpr DWORD MFS_4THICKFRAME = 0x0200;

// The window styles of every mini frame; MFS_4THICKFRAME lives in the style's low word.
constexpr DWORD kMiniFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kMiniFrameExStyle = WS_EX_TOOLWINDOW;

// Grows a client rectangle to the window rectangle of a mini frame.
inline void AdjustMiniFrameRect(RECT& rect)
{
    ::AdjustWindowRectEx(&rect, kMiniFrameStyle, FALSE, kMiniFrameExStyle);
}
