// Message boxes owned by the main window with the application's title as caption, and the
// seam through which tests record them instead of showing them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

using MessageBoxHook = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;

// Replaces the system's message box (an empty hook restores it). The hook may be called
// from any thread.
void SetMessageBoxHook(MessageBoxHook hook);

int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT promptId, UINT type = MB_OK);
