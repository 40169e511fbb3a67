// Message boxes owned by the main window, with a replaceable implementation for tests.
#include "framework/MessageBox.h"

#include "framework/AfxRes.h"
#include "framework/CWinApp.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"

#include <mutex>

namespace {
std::mutex g_hookMutex;
MessageBoxHook g_hook;
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_hook = std::move(hook);
}

int AfxMessageBox(const std::string& text, UINT type)
{
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd ? mainWnd->GetSafeHwnd() : nullptr;
    std::string caption = LoadResString(AFX_IDS_APP_TITLE);
    MessageBoxHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_hook;
    }
    if (hook)
        return hook(owner, text, caption, type);
    return ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

int AfxMessageBox(UINT promptId, UINT type)
{
    return AfxMessageBox(LoadResString(promptId), type);
}
