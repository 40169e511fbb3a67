// The application object.
#include "framework/docview/CWinApp.h"

#include "framework/AfxRes.h"
#include "framework/CCmdUI.h"
#include "framework/CFileDialog.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/RegistryKey.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docview/CDocument.h"
#include "framework/docview/ShellRegistration.h"

#include <commctrl.h>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool CWinApp::InitInstance()
{
    return true;
}

int CWinApp::ExitInstance()
{
    CompleteShellRegistration();
    if (m_pRecentFileList) {
        // An empty list clears a section that is there and makes none.
        CRegistryKey section = OpenSection(m_pRecentFileList->GetSectionName(), m_pRecentFileList->GetSize() > 0);
        m_pRecentFileList->WriteList(section);
    }
    return CWinThread::ExitInstance();
}

bool CWinApp::OnIdle(long count)
{
    if (count > 0)
        return false;
    // Copy: idle work may create or destroy frames.
    std::vector<CFrameWnd*> frames = CFrameWnd::AllFrames();
    for (CFrameWnd* frame : frames) {
        if (frame->GetSafeHwnd())
            frame->OnIdleUpdateCmdUI();
    }
    CompleteShellRegistration();
    return false;
}

void CWinApp::SetRegistryKey(const std::string& key)
{
    m_strRegistryKey = key;
}

std::string CWinApp::GetAppRegistryPath() const
{
    return "Software\\" + m_strRegistryKey + "\\" + m_strAppName;
}

// The profile lives below HKEY_CURRENT_USER and lasts; reading never creates anything.
CRegistryKey CWinApp::OpenSection(const std::string& section, bool create) const
{
    CRegistryKey key(HKEY_CURRENT_USER, CRegistryKey::Lifetime::Lasting);
    std::string path = GetAppRegistryPath() + "\\" + section;
    bool opened = create ? key.Create(path) : key.Open(path, KEY_READ);
    if (!opened)
        key.Close();
    return key;
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    if (maxMRU > 0) {
        m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List", "File%d", maxMRU);
        m_pRecentFileList->ReadList(OpenSection(m_pRecentFileList->GetSectionName(), false));
    }
}

void CWinApp::AddToRecentFileList(const std::string& path)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate)
{
    m_pDocTemplate = std::move(docTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path)
{
    if (!m_pDocTemplate)
        return nullptr;
    // Documents always see full paths, also for a relative path on the command line.
    std::string fullPath = FullPathOf(path);
    // A file that is already open in a tab is only brought to the front.
    if (CDocument* open = m_pDocTemplate->FindDocument(fullPath)) {
        m_pDocTemplate->Activate(open);
        if (CFrameWnd* frame = open->GetFrame())
            ::SetActiveWindow(frame->GetSafeHwnd());
        return open;
    }
    return m_pDocTemplate->OpenDocumentFile(&fullPath);
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate)
        m_pDocTemplate->OpenDocumentFile(nullptr);
}

bool CWinApp::DoPromptFileName(std::string& fileName, UINT titleId, DWORD flags, bool openFileDialog)
{
    std::string extension = m_pDocTemplate ? m_pDocTemplate->GetDocString(CSingleDocTemplate::filterExt) : "";
    std::string filter;
    if (m_pDocTemplate && !extension.empty())
        filter = m_pDocTemplate->GetDocString(CSingleDocTemplate::filterName) + "|*" + extension + "|";
    filter += LoadResString(AFX_IDS_ALLFILTER) + "|*.*|";
    CFileDialog dialog(openFileDialog, extension.empty() ? "" : extension.substr(1), fileName, flags, filter);
    dialog.SetTitle(LoadResString(titleId));
    if (dialog.DoModal() != IDOK)
        return false;
    fileName = dialog.GetPathName();
    return true;
}

void CWinApp::OnFileOpen()
{
    std::string fileName;
    if (DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, true))
        OpenDocumentFile(fileName);
}

void CWinApp::OnAppExit()
{
    if (GetMainWnd())
        GetMainWnd()->SendMessage(WM_CLOSE);
}

bool CWinApp::OnOpenRecentFile(UINT nID)
{
    size_t index = nID - ID_FILE_MRU_FILE1;
    if (!m_pRecentFileList || index >= m_pRecentFileList->GetSize())
        return false;
    std::string path = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(path))
        m_pRecentFileList->Remove(index);
    return true;
}

bool CWinApp::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    static const CommandEntry<CWinApp> kCommands[] = {
        {ID_APP_EXIT, [](CWinApp& app, UINT) { app.OnAppExit(); }},
        // The recent files' menu entries are made in the place of the first one.
        {.id = ID_FILE_MRU_FILE1,
         .run = [](CWinApp& app, UINT id) { app.OnOpenRecentFile(id); },
         .enabled = [](const CWinApp& app, UINT) { return app.m_pRecentFileList != nullptr; },
         .update =
             [](CWinApp& app, UINT id, CCmdUI& ui) {
                 if (id == ID_FILE_MRU_FILE1 && app.m_pRecentFileList)
                     app.m_pRecentFileList->UpdateMenu(&ui);
             },
         .lastId = ID_FILE_MRU_LAST},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI);
}

void CWinApp::EnableShellOpen()
{
    m_bShellOpenEnabled = true;
    // The shell asks for the application by the program's name, on the "system" topic.
    m_pShellOpenServer = std::make_unique<ShellOpenServer>(
        m_strAppName, "system", [this](const std::string& path) { return OpenDocumentFile(path) != nullptr; },
        [this](const std::string& path) { return PrintFileForShell(path); });
}

bool CWinApp::PrintFileForShell(const std::string& path)
{
    CWnd* mainWnd = GetMainWnd();
    if (!mainWnd || !OpenDocumentFile(path))
        return false;
    m_printTarget = PrintTarget{};
    mainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
    // A program that the shell started only for this print has nothing left to show.
    if (!mainWnd->IsWindowVisible())
        mainWnd->PostMessage(WM_CLOSE);
    return true;
}

bool CWinApp::OnShellRequest(CWnd& mainWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_pShellOpenServer && GetMainWnd() == &mainWnd &&
           m_pShellOpenServer->OnMessage(mainWnd.GetSafeHwnd(), message, wParam, lParam);
}

bool CWinApp::SaveAllModified()
{
    if (!m_pDocTemplate)
        return true;
    // Each modified tab is asked about in turn, shown while it is asked about.
    for (CDocument* document : m_pDocTemplate->Documents()) {
        if (!document->IsModified())
            continue;
        m_pDocTemplate->Activate(document);
        if (!document->SaveModified())
            return false;
    }
    return true;
}

bool CWinApp::OpenDroppedFile(const std::string& path)
{
    return OpenDocumentFile(path) != nullptr;
}

// Nothing the first paint shows depends on the registration, so start-up does not wait for it.
void CWinApp::RegisterShellFileTypes(bool)
{
    m_bShellRegistrationDue = true;
}

void CWinApp::CompleteShellRegistration()
{
    if (!m_bShellRegistrationDue)
        return;
    m_bShellRegistrationDue = false;
    if (m_pDocTemplate)
        ::RegisterShellFileTypes(m_pDocTemplate->GetShellFileType(), m_bShellOpenEnabled);
}

bool CWinApp::UnregisterShellFileTypes()
{
    m_bShellRegistrationDue = false;
    bool done = m_pDocTemplate && ::UnregisterShellFileTypes(m_pDocTemplate->GetShellFileType());
    if (!m_strRegistryKey.empty())
        CRegistryKey::DeleteTree(HKEY_CURRENT_USER, GetAppRegistryPath());
    return done;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    std::vector<std::string> words = SplitCommandLine(m_strCmdLine);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        bool flag = !word.empty() && (word[0] == '/' || word[0] == '-');
        info.ParseParam(flag ? word.substr(1) : word, flag, i + 1 == words.size());
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return GetMainWnd() != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        m_nCmdShow = SW_HIDE;
        if (OpenDocumentFile(info.m_strFileName)) {
            m_printTarget = PrintTarget{info.m_strPrinterName, info.m_strDriverName, info.m_strPortName};
            GetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
        }
        // Printing from the command line ends the program.
        return false;
    case CCommandLineInfo::FileDDE:
        // The shell sends what to open; until then the program waits with a hidden window,
        // which the first opened file shows as the program was asked to show it.
        if (m_pShellOpenServer)
            m_pShellOpenServer->SetShowCommand(m_nCmdShow);
        m_nCmdShow = SW_HIDE;
        OnFileNew();
        return GetMainWnd() != nullptr;
    case CCommandLineInfo::AppUnregister: {
        bool done = UnregisterShellFileTypes();
        AfxMessageBox(done ? AFX_IDP_UNREG_DONE : AFX_IDP_UNREG_FAILURE, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    case CCommandLineInfo::FileNothing:
        return true;
    }
    return false;
}

int AfxWinMain(int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    StartupTrace::Mark("common controls");
    app->SetCmdShow(cmdShow);
    app->SetCommandLine(Narrow(::GetCommandLineW()));
    if (!app->InitInstance()) {
        if (CWnd* mainWnd = app->GetMainWnd())
            mainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
