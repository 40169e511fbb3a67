// Message boxes owned by the main window.
#include "framework/MessageBox.h"

#include "framework/AfxRes.h"
#include "framework/AppContext.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"

int AfxMessageBox(const std::string& text, UINT type)
{
    const HWND owner = AfxGetOwnerWindow();
    const std::string caption = LoadResString(AFX_IDS_APP_TITLE);
    if (const MessageBoxFunction& show = AfxGetServices().messageBox)
        return show(owner, text, caption, type);
    return ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

int AfxMessageBox(UINT promptId, UINT type)
{
    return AfxMessageBox(LoadResString(promptId), type);
}
