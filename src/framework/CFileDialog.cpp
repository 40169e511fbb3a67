// The system's open and save dialogs.
#include "framework/CFileDialog.h"

#include "framework/CWinApp.h"

namespace {
CFileDialog::Hook& FileDialogHook()
{
    static CFileDialog::Hook hook;
    return hook;
}
}

void CFileDialog::SetHook(Hook hook)
{
    FileDialogHook() = std::move(hook);
}

CFileDialog::CFileDialog(bool openFileDialog, const std::string& defaultExt, const std::string& fileName,
                         DWORD flags, const std::string& filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog), m_strDefExt(defaultExt), m_strInitialName(fileName), m_dwFlags(flags),
      m_strFilter(filter)
{
    if (!parent)
        parent = AfxGetMainWnd();
    m_hWndOwner = parent ? parent->GetSafeHwnd() : nullptr;
}

INT_PTR CFileDialog::DoModal()
{
    if (FileDialogHook())
        return FileDialogHook()(*this, m_strPathName);

    std::string filter = m_strFilter;
    for (char& c : filter) {
        if (c == '|')
            c = '\0';
    }
    filter.append(2, '\0');
    char file[MAX_PATH * 4] = "";
    lstrcpynA(file, m_strInitialName.c_str(), sizeof file);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWndOwner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    ofn.lpstrTitle = m_strTitle.empty() ? nullptr : m_strTitle.c_str();
    ofn.Flags = m_dwFlags | OFN_EXPLORER;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (!ok)
        return IDCANCEL;
    m_strPathName = file;
    return IDOK;
}
