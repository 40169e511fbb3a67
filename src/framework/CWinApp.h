// The application object: start-up, the message loop with idle work, the per-user profile,
// the recent-file list, the document template, the command line and shell registration.
#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CRecentFileList.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/CWnd.h"
#include "framework/Services.h"
#include "framework/ShellOpenServer.h"

#include <memory>
#include <string>

class CDocument;
class CRegistryKey;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual bool InitInstance();
    virtual int ExitInstance();
    // The message loop; returns the exit code when WM_QUIT arrives.
    virtual int Run();
    // Idle work after the queue has emptied; returns true while more idle work is wanted.
    virtual bool OnIdle(long count);
    virtual bool PreTranslateMessage(MSG* msg);
    bool PumpMessage();
    // Messages that do not restart idle processing (repeated mouse moves, paints, caret blinks).
    static bool IsIdleMessage(const MSG& msg);

    // Per-user profile below HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(const std::string& key);
    std::string GetProfileString(const std::string& section, const std::string& entry, const std::string& fallback);
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);
    UINT GetProfileInt(const std::string& section, const std::string& entry, UINT fallback);
    void DeleteProfileEntry(const std::string& section, const std::string& entry);
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

    CWnd* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(CWnd* wnd) { m_pMainWnd = wnd; }
    // How the main window is to be shown first (SW_...), from the entry point.
    int GetCmdShow() const { return m_nCmdShow; }
    void SetCmdShow(int cmdShow) { m_nCmdShow = cmdShow; }
    // The whole command line, the program's own name first.
    void SetCommandLine(const std::string& commandLine) { m_strCmdLine = commandLine; }
    const std::string& GetAppName() const { return m_strAppName; }
    // What the program takes from its surroundings; tests change it before they act.
    Services& GetServices() { return m_services; }
    const Services& GetServices() const { return m_services; }
    // Answers the shell's open and print requests once EnableShellOpen has been called.
    ShellOpenServer* GetShellOpenServer() const { return m_pShellOpenServer.get(); }

protected:
    void SetAppName(const std::string& name) { m_strAppName = name; }

private:
    CRegistryKey OpenSection(const std::string& section, bool create) const;
    void CompleteShellRegistration();

    CWnd* m_pMainWnd = nullptr;
    Services m_services;
    PrintTarget m_printTarget;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::string m_strAppName;
    std::string m_strCmdLine;
    std::string m_strRegistryKey;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    bool m_bShellOpenEnabled = false;
    bool m_bShellRegistrationDue = false;
    std::unique_ptr<ShellOpenServer> m_pShellOpenServer;
    int m_nExitCode = 0;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    MSG m_msgCur{};
};

CWinApp* AfxGetApp();
// The application's services, or the system's own where there is no application.
const Services& AfxGetServices();
CWnd* AfxGetMainWnd();

// The program's entry point calls this with its instance and show command.
int AfxWinMain(int cmdShow);
