// The running program as its lowest parts see it (message boxes, file dialogs, the build
// engine), without knowing the windows that make it: the services a test replaces, and the
// window that owns message boxes and dialogs. The program's thread object keeps both.
#pragma once

#include "framework/Services.h"

#include <windows.h>

// The running program's services, or the system's own while there is no program object.
const Services& AfxGetServices();
// The window message boxes and dialogs belong to: the main window, or none.
HWND AfxGetOwnerWindow();

// For the thread object alone, as it begins and ends and as its main window changes.
void AfxSetServices(const Services* services);
void AfxSetOwnerWindow(HWND wnd);
