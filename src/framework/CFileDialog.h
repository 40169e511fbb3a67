// The system's open and save dialogs, which the application's services may answer instead.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

class CWnd;

class CFileDialog {
public:
    // filter: "text|pattern|text|pattern" (a trailing bar is optional).
    CFileDialog(bool openFileDialog, const std::string& defaultExt, const std::string& fileName, DWORD flags,
                const std::string& filter, CWnd* parent = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    std::string GetPathName() const { return m_strPathName; }

    // What the dialog proposes and offers, for the services that answer in its place.
    const std::string& GetInitialFileName() const { return m_strInitialName; }
    const std::string& GetFilter() const { return m_strFilter; }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

private:
    bool m_bOpenFileDialog;
    std::string m_strDefExt;
    std::string m_strInitialName;
    DWORD m_dwFlags;
    std::string m_strFilter;
    std::string m_strTitle;
    HWND m_hWndOwner;
    std::string m_strPathName;
};
