// The application object: start-up, idle work of its frames, the per-user profile, the
// recent-file list, the document template, the command line and shell registration.
#pragma once

#include "framework/CWinThread.h"
#include "framework/docview/CCommandLineInfo.h"
#include "framework/docview/CRecentFileList.h"
#include "framework/docview/CSingleDocTemplate.h"
#include "framework/docview/ShellOpenServer.h"

#include <memory>
#include <string>

class CDocument;
class CRegistryKey;

class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;

    virtual bool InitInstance();
    int ExitInstance() override;
    // Delayed layout and command UI of the frames' bars, and the shell registration once the
    // program first waits for input.
    bool OnIdle(long count) override;
    bool SaveAllModified() override;
    bool OpenDroppedFile(const std::string& path) override;
    bool OnShellRequest(CWnd& mainWnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Per-user profile below HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(const std::string& key);
    std::string GetAppRegistryPath() const;

    void LoadStdProfileSettings(UINT maxMRU = 4);
    virtual void AddToRecentFileList(const std::string& path);

    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
    virtual CDocument* OpenDocumentFile(const std::string& path);
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    bool OnOpenRecentFile(UINT nID);

    void EnableShellOpen();
    // Registers the document type with the shell once the program first waits for input (its
    // main window painted), or as it ends if it never got that far. Nothing is written for a
    // registration that is already right.
    void RegisterShellFileTypes(bool compat);
    // Removes the registration, and a registration still to come with it.
    bool UnregisterShellFileTypes();
    void ParseCommandLine(CCommandLineInfo& info);
    bool ProcessShellCommand(CCommandLineInfo& info);

    // Shows the open or save dialog for documents; fileName is the proposal and the answer.
    bool DoPromptFileName(std::string& fileName, UINT titleId, DWORD flags, bool openFileDialog);

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    // The printer named by /pt (empty for the default printer).
    struct PrintTarget {
        std::string printer, driver, port;
    };
    const PrintTarget& GetPrintTarget() const { return m_printTarget; }
    void SetPrintTarget(const PrintTarget& target) { m_printTarget = target; }

    // How the main window is to be shown first (SW_...), from the entry point.
    int GetCmdShow() const { return m_nCmdShow; }
    void SetCmdShow(int cmdShow) { m_nCmdShow = cmdShow; }
    // The whole command line, the program's own name first.
    void SetCommandLine(const std::string& commandLine) { m_strCmdLine = commandLine; }

protected:
    void SetAppName(const std::string& name) { m_strAppName = name; }

private:
    CRegistryKey OpenSection(const std::string& section, bool create) const;
    void CompleteShellRegistration();
    // The shell's print request: the file opened and printed, and a program started for it alone ended.
    bool PrintFileForShell(const std::string& path);

    PrintTarget m_printTarget;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::string m_strAppName;
    std::string m_strCmdLine;
    std::string m_strRegistryKey;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    bool m_bShellOpenEnabled = false;
    bool m_bShellRegistrationDue = false;
    std::unique_ptr<ShellOpenServer> m_pShellOpenServer;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
};

CWinApp* AfxGetApp();

// The program's entry point calls this with its instance and show command.
int AfxWinMain(int cmdShow);
