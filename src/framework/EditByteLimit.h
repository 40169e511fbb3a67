// Length limits in bytes of the user-interface code page for edit controls, whichever unit
// the system's own edit control counts its limit in.
#pragma once

#include <windows.h>

// The most bytes typing, pasting and EM_REPLACESEL may leave in the edit control.
void LimitEditBytes(HWND edit, int maxBytes);
