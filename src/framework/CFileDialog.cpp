// The system's open and save dialogs.
#include "framework/CFileDialog.h"

#include "framework/AppContext.h"
#include "framework/CWnd.h"
#include "framework/Unicode.h"

#include <algorithm>

CFileDialog::CFileDialog(bool openFileDialog, const std::string& defaultExt, const std::string& fileName,
                         DWORD flags, const std::string& filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog), m_strDefExt(defaultExt), m_strInitialName(fileName), m_dwFlags(flags),
      m_strFilter(filter)
{
    m_hWndOwner = parent ? parent->GetSafeHwnd() : AfxGetOwnerWindow();
}

INT_PTR CFileDialog::DoModal()
{
    if (const FileDialogFunction& answer = AfxGetServices().fileDialog)
        return answer(*this, m_strPathName);

    std::wstring filter = Widen(m_strFilter);
    for (wchar_t& c : filter) {
        if (c == L'|')
            c = L'\0';
    }
    filter.append(2, L'\0');
    // Room for long paths; the dialog never writes past nMaxFile.
    std::wstring file = Widen(m_strInitialName);
    file.resize(std::max<size_t>(file.size(), 32768), L'\0');
    const std::wstring defaultExt = Widen(m_strDefExt);
    const std::wstring title = Widen(m_strTitle);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWndOwner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = m_dwFlags | OFN_EXPLORER;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    if (!ok)
        return IDCANCEL;
    m_strPathName = Narrow(file.c_str());
    return IDOK;
}
