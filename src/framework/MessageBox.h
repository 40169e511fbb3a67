// Message boxes owned by the main window with the application's title as caption, shown
// through the application's services, where tests record them instead of showing them.
#pragma once

#include <windows.h>

#include <string>

int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT promptId, UINT type = MB_OK);
