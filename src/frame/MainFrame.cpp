// The main frame.
#include "frame/MainFrame.h"

#include "build/BatchFile.h"
#include "build/ConsolePath.h"
#include "build/StepCommand.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/CompilerSetupDlg.h"
#include "framework/CCmdUI.h"
#include "framework/IconImages.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "resource.h"

namespace {
// Both panels: a visible child aligned to the top with a bottom border, before docking.
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
// A visible child with its tab strip along the bottom (tab style 2); 0x200 has no effect.
constexpr DWORD kTabCtrlStyle = 0x50000202;

// The launcher's worker thread tells the frame of a program that did not start.
constexpr UINT WM_LAUNCH_FAILED = WM_APP + 1;
// The build runner's worker has output or the end of a step for the frame.
constexpr UINT WM_BUILD_REPORT = WM_APP + 2;

const UINT kIndicators[] = {ID_SEPARATOR,      ID_INDICATOR_LINE_COLUMN, ID_INDICATOR_ENCODING, ID_INDICATOR_OVR,
                            ID_INDICATOR_CAPS, ID_INDICATOR_NUM,         ID_INDICATOR_SCRL};

// Toolbar images in button order.
const UINT kToolBarIcons[] = {IDI_TB_NEW,     IDI_TB_OPEN,    IDI_TB_SAVE,  IDI_TB_UTILITY, IDI_TB_OUTPUT,
                              IDI_TB_COMPILE, IDI_TB_LINK,    IDI_TB_BUILD, IDI_TB_RUN,     IDI_TB_ABOUT};
}

CMainFrame::CMainFrame()
{
    LoadCompilerSettings();
}

bool CMainFrame::LoadCompilerSettings()
{
    const bool loaded = ::LoadCompilerSettings(m_compilerSettings);
    ShowToolchainInEditor();
    return loaded;
}

void CMainFrame::SetCompilerSettings(const CompilerSettings& settings)
{
    m_compilerSettings = settings;
    ShowToolchainInEditor();
}

void CMainFrame::ShowToolchainInEditor() const
{
    if (auto* view = dynamic_cast<CKorvaneView*>(GetActiveView()))
        view->SetToolchain(m_compilerSettings.m_compilerType);
}

void CMainFrame::SaveCompilerSettings()
{
    ::SaveCompilerSettings(m_compilerSettings);
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

bool CMainFrame::CreateToolBar()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    return m_wndToolBar.Create(this, TBSTYLE_FLAT, style, AFX_IDW_TOOLBAR) && m_wndToolBar.LoadToolBar(IDR_MAINFRAME);
}

bool CMainFrame::CreateStatusBar()
{
    return m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) &&
           m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)));
}

void CMainFrame::CreateToolBarImages()
{
    m_imageList.reset(ImageList_Create(32, 32, ILC_COLOR8 | ILC_MASK, 4, 4));
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (UINT id : kToolBarIcons)
        AddIconImage(m_imageList.get(), instance, id);
    m_wndToolBar.SetImageList(m_imageList.get());
}

bool CMainFrame::CreatePanelBars()
{
    if (!m_wndUtilityBar.Create(LoadResString(IDS_UTILITY_BAR).c_str(), this, IDW_UTILITY_BAR, kPanelStyle))
        return false;
    if (!m_wndOutputBar.Create(LoadResString(IDS_OUTPUT_BAR).c_str(), this, SIZE{100, 100}, true, IDW_OUTPUT_BAR,
                               kPanelStyle))
        return false;
    for (CControlBar* bar : {static_cast<CControlBar*>(&m_wndUtilityBar), static_cast<CControlBar*>(&m_wndOutputBar)})
        bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    return true;
}

void CMainFrame::CreateOutputWindow()
{
    m_wndOutput.Create(m_wndOutputBar, IDC_OUTPUT);
    m_wndOutput.SetMessageHandler([this](const IndexedMessage& message) { m_messages.GoTo(message); });
}

void CMainFrame::CreateUtilityPage()
{
    m_wndTabCtrl.Create(kTabCtrlStyle, RECT{0, 0, 100, 100}, &m_wndUtilityBar, IDW_TAB_CTRL,
                        LoadResString(IDS_TAB_FONT_FACE));
    if (m_wndToolDia.Create(&m_wndTabCtrl))
        m_wndToolDia.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    m_wndTabCtrl.AddPage(&m_wndToolDia, LoadResString(IDS_UTILITY_PAGE), IDI_UTILITY_PAGE);
    m_wndTabCtrl.Refresh();
}

void CMainFrame::DockBars()
{
    m_wndUtilityBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndOutputBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndUtilityBar, AFX_IDW_DOCKBAR_LEFT);
    DockControlBar(&m_wndOutputBar, AFX_IDW_DOCKBAR_BOTTOM);
}

int CMainFrame::OnCreate(CREATESTRUCTW* cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!CreateToolBar())
        return -1;
    StartupTrace::Mark("frame: toolbar");
    if (!CreateStatusBar())
        return -1;
    StartupTrace::Mark("frame: status bar");
    CreateToolBarImages();
    StartupTrace::Mark("frame: toolbar images");
    if (!CreatePanelBars())
        return -1;
    StartupTrace::Mark("frame: panel bars");
    CreateOutputWindow();
    StartupTrace::Mark("frame: output window");
    CreateUtilityPage();
    StartupTrace::Mark("frame: utility page");
    DockBars();
    StartupTrace::Mark("frame: docking");
    ShowToolchainInEditor();
    return 0;
}

void CMainFrame::TogglePanel(CControlBar& bar)
{
    ShowControlBar(&bar, !bar.IsVisible(), false);
}

bool CMainFrame::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    using Handler = void (CMainFrame::*)();
    Handler handler = nullptr;
    switch (nID) {
    case ID_VIEW_OUTPUT: handler = &CMainFrame::OnViewOutput; break;
    case ID_VIEW_UTILITY: handler = &CMainFrame::OnViewUtility; break;
    case ID_COMPILE: handler = &CMainFrame::OnCompile; break;
    case ID_LINK: handler = &CMainFrame::OnLink; break;
    case ID_BUILD: handler = &CMainFrame::OnBuild; break;
    case ID_STOP_BUILD: handler = &CMainFrame::OnStopBuild; break;
    case ID_RUN: handler = &CMainFrame::OnRun; break;
    case ID_DEBUG: handler = &CMainFrame::OnDebug; break;
    case ID_SET_COMPILER: handler = &CMainFrame::OnSetCompiler; break;
    case ID_NEXT_MESSAGE: handler = &CMainFrame::OnNextMessage; break;
    case ID_PREV_MESSAGE: handler = &CMainFrame::OnPrevMessage; break;
    }
    if (!handler)
        return CFrameWnd::OnCmdMsg(nID, pCmdUI);
    // None of the program's own commands is ever checked; a disabled one sent anyway is ignored.
    const bool enabled = IsCommandEnabled(nID);
    if (pCmdUI)
        pCmdUI->Enable(enabled);
    else if (enabled)
        (this->*handler)();
    return true;
}

bool CMainFrame::IsCommandEnabled(UINT id) const
{
    switch (id) {
    case ID_COMPILE:
    case ID_LINK:
    case ID_BUILD:
        return !m_build.IsRunning();
    case ID_STOP_BUILD:
        return m_build.IsRunning();
    }
    return true;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LAUNCH_FAILED:
        ShowSystemError(SystemError::Of(static_cast<DWORD>(wParam)));
        return 0;
    case WM_BUILD_REPORT:
        OnBuildReport();
        return 0;
    case WM_DESTROY:
        // Nothing of a step may outlive the window it reports to.
        m_build.Shutdown();
        break;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnClose()
{
    if (m_build.IsRunning() && AfxMessageBox(IDS_STOP_TOOL_AND_EXIT, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    // The step goes with the window, once the document is saved or dropped.
    CFrameWnd::OnClose();
}

std::string CMainFrame::GetIdleMessage() const
{
    return m_build.IsRunning() ? LoadResString(m_build.StatusTextId()) : CFrameWnd::GetIdleMessage();
}

void CMainFrame::ShowSystemError(const SystemError& error)
{
    AfxMessageBox(error.text, MB_OK | MB_ICONEXCLAMATION);
}

CKorvaneDoc* CMainFrame::GetSourceDocument() const
{
    return dynamic_cast<CKorvaneDoc*>(GetActiveDocument());
}

std::string CMainFrame::GetSourceName() const
{
    CKorvaneDoc* document = GetSourceDocument();
    return document ? SplitPath(document->GetSourcePath()).name : std::string();
}

std::string CMainFrame::GetSourceDir() const
{
    CKorvaneDoc* document = GetSourceDocument();
    return document ? SplitPath(document->GetSourcePath()).folder : std::string();
}

void CMainFrame::OnViewOutput()
{
    TogglePanel(m_wndOutputBar);
}

void CMainFrame::OnViewUtility()
{
    TogglePanel(m_wndUtilityBar);
}

bool CMainFrame::RunBuildAction(BuildAction action)
{
    ShowControlBar(&m_wndOutputBar, true, false);
    CKorvaneDoc* document = GetSourceDocument();
    if (!document || document->GetSourcePath().empty()) {
        AfxMessageBox(IDS_SAVE_FIRST);
        return false;
    }
    if (document->IsModified())
        document->OnSaveDocument(document->GetSourcePath());
    const std::string& sourcePath = document->GetSourcePath();
    const std::string sourceDir = SplitPath(sourcePath).folder;
    const std::optional<std::string> consoleDir = ConsoleFormOf(sourceDir);
    if (!consoleDir)
        return ReportProblem({CommandProblem::Kind::PathNotInConsole, sourceDir});

    auto batch = std::make_unique<CBatchFile>();
    if (!batch->Create()) {
        AfxMessageBox(IDS_BATCH_FILE_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    batch->WriteLine(DriveLine(*consoleDir));
    batch->WriteLine(ChangeDirectoryLine(*consoleDir));
    const std::string& tool = action == BuildAction::Compile ? m_compilerSettings.m_strCompilerPath
                                                             : m_compilerSettings.m_strLinkerPath;
    if (tool.empty()) {
        AfxMessageBox(action == BuildAction::Compile ? IDS_NO_COMPILER_PATH : IDS_NO_LINKER_PATH);
        return false;
    }
    const StepCommand command = MakeStepCommand(action, sourcePath, tool, m_compilerSettings.m_strDosEmulatorPath);
    if (command.problem) {
        batch->Delete();
        return ReportProblem(*command.problem);
    }
    batch->WriteLine(command.toolLine);
    batch->SetCompanionFile(command.configFile);
    batch->Close();

    m_build.Start(action, sourcePath, std::move(batch), command.capturedFile, m_hWnd, WM_BUILD_REPORT);
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return true;
}

bool CMainFrame::ReportProblem(const CommandProblem& problem)
{
    using Kind = CommandProblem::Kind;
    struct Message {
        Kind kind;
        UINT id;
        UINT icon;
    };
    // The program's own checks show no icon; paths the system does not let through do.
    static const Message kMessages[] = {
        {Kind::PathNotInConsole, IDS_PATH_NOT_IN_CONSOLE, MB_ICONEXCLAMATION},
        {Kind::NoEmulator, IDS_DOS_NEEDS_EMULATOR, 0},
        {Kind::UnknownEmulator, IDS_UNKNOWN_EMULATOR, 0},
        {Kind::NotEightDotThree, IDS_DOSBOX_NOT_8_3, 0},
        {Kind::PathNotForDosBox, IDS_PATH_NOT_FOR_DOSBOX, MB_ICONEXCLAMATION},
        {Kind::NoDebugger, IDS_NO_DEBUG_EXE, 0},
        {Kind::ConfigNotWritten, IDS_DOSBOX_CONFIG_FAILED, MB_ICONEXCLAMATION},
    };
    for (const Message& message : kMessages) {
        if (message.kind == problem.kind)
            AfxMessageBox(FormatResString(message.id, {problem.path}), MB_OK | message.icon);
    }
    return false;
}

void CMainFrame::OnBuildReport()
{
    CKorvaneDoc* document = GetSourceDocument();
    StepOutcome outcome = m_build.OnReport(document ? document->GetSourcePath() : std::string());
    if (!outcome.bEnded)
        return;
    // What the tools said, counted; a step that never started said nothing.
    SetMessageText(outcome.failure ? GetIdleMessage() : m_messages.Summary());
    if (outcome.failure)
        ShowSystemError(*outcome.failure);
    if (outcome.bLinkNext)
        RunBuildAction(BuildAction::Link);
}

void CMainFrame::BeginBuildCommand(BuildAction first, bool linkAfterCompile)
{
    if (m_build.IsRunning())
        return;
    m_build.BeginCommand(linkAfterCompile);
    RunBuildAction(first);
}

void CMainFrame::OnCompile()
{
    BeginBuildCommand(BuildAction::Compile, false);
}

void CMainFrame::OnLink()
{
    BeginBuildCommand(BuildAction::Link, false);
}

void CMainFrame::OnBuild()
{
    BeginBuildCommand(BuildAction::Compile, true);
}

void CMainFrame::OnStopBuild()
{
    m_build.Stop();
}

void CMainFrame::Launch(const LaunchCommand& command)
{
    if (command.problem)
        ReportProblem(*command.problem);
    else if (!LaunchProgramAsync(command, m_hWnd, WM_LAUNCH_FAILED))
        ShowSystemError(SystemError::Last());
}

void CMainFrame::OnRun()
{
    Launch(MakeRunCommand(GetSourceDir(), GetSourceName(), m_compilerSettings.m_strDosEmulatorPath));
}

void CMainFrame::OnDebug()
{
    Launch(MakeDebugCommand(GetSourceDir(), GetSourceName(), m_compilerSettings.m_strCompilerPath,
                            m_compilerSettings.m_strDosEmulatorPath));
}

void CMainFrame::OnSetCompiler()
{
    LoadCompilerSettings();
    CCompilerSetupDlg dialog(m_compilerSettings.m_strCompilerPath, m_compilerSettings.m_strLinkerPath,
                             m_compilerSettings.m_strDosEmulatorPath);
    if (dialog.DoModal(this) != IDOK)
        return;
    if (dialog.GetCompilerType() == CompilerType::None)
        AfxMessageBox(IDS_NO_COMPILER_TYPE);
    SetCompilerSettings(CompilerSettings{dialog.GetCompilerType(), dialog.GetCompiler(), dialog.GetLinker(),
                                         dialog.GetDosEmulator()});
    SaveCompilerSettings();
}

void CMainFrame::OnNextMessage()
{
    m_messages.Next();
}

void CMainFrame::OnPrevMessage()
{
    m_messages.Previous();
}
