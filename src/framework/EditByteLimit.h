// Length limits of edit controls counted in bytes of a code page (GBK unless told otherwise),
// while the system's Unicode edit control counts its own limit in UTF-16 units.
#pragma once

#include "framework/Unicode.h"

#include <windows.h>

// The most bytes typing, pasting and EM_REPLACESEL may leave in the edit control, counted in
// the code page given. Calling it again changes the limit or the code page.
void LimitEditBytes(HWND edit, int maxBytes, unsigned codePage = kGbkCodePage);
