// The application object.
#include "app/KorvaneApp.h"

#include "app/AboutDlg.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/MainFrame.h"
#include "framework/MessageBox.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "resource.h"

CKorvaneApp& TheApp()
{
    static CKorvaneApp app;
    return app;
}

bool CKorvaneApp::InitInstance()
{
    SetAppName(LoadResString(AFX_IDS_APP_TITLE));
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);
    StartupTrace::Mark("profile and recent files");
    AddDocTemplate(CSingleDocTemplate::Make<CKorvaneDoc, CMainFrame, CKorvaneView>(IDR_MAINFRAME));
    StartupTrace::Mark("document template");
    EnableShellOpen();
    StartupTrace::Mark("shell open server");
    RegisterShellFileTypes(true);
    StartupTrace::Mark("shell registration");

    CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info))
        return false;
    StartupTrace::Mark("command line processed");

    CWnd* mainWnd = GetMainWnd();
    mainWnd->ShowWindow(GetCmdShow() == SW_HIDE ? SW_HIDE : SW_SHOW);
    StartupTrace::Mark("main window shown");
    mainWnd->UpdateWindow();
    StartupTrace::Mark("first paint");
    // What DragAcceptFiles does, without loading the shell's library before a file is dropped.
    mainWnd->ModifyStyleEx(0, WS_EX_ACCEPTFILES);
    StartupTrace::Mark("drop target");
    OfferRecovery();
    return true;
}

void CKorvaneApp::OfferRecovery()
{
    CSingleDocTemplate* docs = GetDocTemplate();
    // The newest first: the first restored takes the window's document, each further one a
    // tab of its own, as the run that left them had its tabs.
    bool first = true;
    for (const std::wstring& orphan : CRecoveryBackup::FindOrphans()) {
        const std::optional<BackupContent> backup = CRecoveryBackup::Read(orphan);
        if (backup && docs->GetDocument() && AfxMessageBox(IDS_RECOVER_BACKUP, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            auto* document = dynamic_cast<CKorvaneDoc*>(first ? docs->GetDocument() : docs->OpenInNewTab(nullptr));
            if (document) {
                document->RestoreBackup(*backup, orphan);
                first = false;
                continue;
            }
        }
        ::DeleteFileW(orphan.c_str());
    }
}

bool CKorvaneApp::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    static const CommandEntry<CKorvaneApp> kCommands[] = {
        {ID_APP_ABOUT, [](CKorvaneApp& app, UINT) { app.OnAppAbout(); }},
        {ID_FILE_NEW, [](CKorvaneApp& app, UINT) { app.OnFileNew(); }},
        {ID_FILE_OPEN, [](CKorvaneApp& app, UINT) { app.OnFileOpen(); }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI) || CWinApp::OnCmdMsg(nID, pCmdUI);
}

void CKorvaneApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
