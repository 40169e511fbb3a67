// The main frame.
#include "frame/MainFrame.h"

#include "build/ToolFinder.h"
#include "build/ToolchainChoice.h"
#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/CompilerSetupDlg.h"
#include "frame/Explanations.h"
#include "frame/ProblemMessage.h"
#include "framework/AppContext.h"
#include "framework/CCmdUI.h"
#include "framework/IconImages.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CMiniDockFrameWnd.h"
#include "framework/docview/CSingleDocTemplate.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "text/TextControl.h"

namespace {
// Both panels: a visible child aligned to the top with a bottom border, before docking.
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
// A visible child with its tab strip along the bottom.
constexpr DWORD kTabCtrlStyle = WS_CHILD | WS_VISIBLE | TCS_BOTTOM;

// How often the document's file is looked at while the program is the active one.
constexpr UINT kDiskCheckMs = 2000;

const UINT kIndicators[] = {ID_SEPARATOR,      ID_INDICATOR_LINE_COLUMN, ID_INDICATOR_ENCODING, ID_INDICATOR_OVR,
                            ID_INDICATOR_CAPS, ID_INDICATOR_NUM,         ID_INDICATOR_SCRL,     ID_INDICATOR_TOOLCHAIN};

// Toolbar images in button order, then the pause image the start button takes while a program runs.
const UINT kToolBarIcons[] = {IDI_TB_NEW,          IDI_TB_OPEN,        IDI_TB_SAVE,      IDI_TB_UTILITY,
                              IDI_TB_OUTPUT,       IDI_TB_COMPILE,     IDI_TB_LINK,      IDI_TB_BUILD,
                              IDI_TB_RUN,          IDI_TB_DEBUG_START, IDI_TB_DEBUG_STOP, IDI_TB_STEP_INTO,
                              IDI_TB_STEP_OVER,    IDI_TB_STEP_OUT,    IDI_TB_STEP_BACK, IDI_TB_BREAKPOINT,
                              IDI_TB_ABOUT,        IDI_TB_DEBUG_PAUSE};
constexpr int kStartImage = 9;
constexpr int kPauseImage = 17;

std::wstring WideResString(UINT id)
{
    return Widen(LoadResString(id));
}

StepTexts LoadStepTexts()
{
    return StepTexts{WideResString(IDS_COMPILE_ENDED),   WideResString(IDS_LINK_ENDED),
                     WideResString(IDS_COMPILE_STOPPED), WideResString(IDS_LINK_STOPPED),
                     WideResString(IDS_COMPILE_FAILED_NO_LINK), WideResString(IDS_SOURCE_CHANGED_NO_LINK)};
}
}

CMainFrame::CMainFrame() : m_build(*this, AfxGetServices(), LoadStepTexts())
{
    LoadCompilerSettings();
}

void CMainFrame::LoadCompilerSettings()
{
    // A failure is not told here: saving tells it, once the user has set something to keep.
    [[maybe_unused]] const Result<void> loaded = ::LoadCompilerSettings(m_compilerSettings, AfxGetServices());
    const FilePath file = FilePath::FromUtf8(EditedFile());
    m_compilerSettings = SettingsOfToolchain(
        m_compilerSettings,
        m_bPickedForNewDocument ? m_compilerSettings.m_compilerType
                                : ToolchainOfFile(file, m_compilerSettings, AfxGetServices()),
        AfxGetServices());
    ShowToolchain();
}

void CMainFrame::SetCompilerSettings(const CompilerSettings& settings)
{
    m_compilerSettings = settings;
    ShowToolchain();
}

void CMainFrame::PickToolchain(CompilerType type)
{
    if (type == CompilerType::None)
        return;
    m_compilerSettings = SettingsOfToolchain(m_compilerSettings, type, AfxGetServices());
    const FilePath file = FilePath::FromUtf8(EditedFile());
    m_bPickedForNewDocument = file.empty();
    RememberToolchainOf(file, type, m_compilerSettings, AfxGetServices());
    ShowToolchain();
}

void CMainFrame::UpdateFrameTitle(const std::string& documentTitle)
{
    CFrameWnd::UpdateFrameTitle(documentTitle);
    FollowDocumentToolchain();
}

void CMainFrame::FollowDocumentToolchain()
{
    const std::string file = EditedFile();
    if (m_bToolchainFollowed && file == m_strToolchainFile)
        return;
    const bool named = m_strToolchainFile.empty() && !file.empty();
    m_bToolchainFollowed = true;
    m_strToolchainFile = file;
    if (named && m_bPickedForNewDocument) {
        RememberToolchainOf(FilePath::FromUtf8(file), m_compilerSettings.m_compilerType, m_compilerSettings,
                            AfxGetServices());
    }
    m_bPickedForNewDocument = false;
    const CompilerType type = ToolchainOfFile(FilePath::FromUtf8(file), m_compilerSettings, AfxGetServices());
    if (type != m_compilerSettings.m_compilerType)
        m_compilerSettings = SettingsOfToolchain(m_compilerSettings, type, AfxGetServices());
    ShowToolchain();
}

void CMainFrame::ShowToolchain()
{
    if (CKorvaneView* view = SourceView())
        view->SetToolchain(m_compilerSettings.m_compilerType);
    if (m_wndToolchainBox.GetSafeHwnd())
        m_wndToolchainBox.Show(m_compilerSettings.m_compilerType);
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

bool CMainFrame::CreateToolBar()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_wndToolBar.Create(this, TBSTYLE_FLAT, style, AFX_IDW_TOOLBAR) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return false;
    if (m_wndToolchainBox.Create(m_wndToolBar, IDC_TOOLCHAIN_BOX)) {
        m_wndToolBar.AddControl(m_wndToolchainBox.GetSafeHwnd(), CToolchainBox::kWidth + 4);
        m_wndToolchainBox.SetChoiceHandler([this](CompilerType type) { PickToolchain(type); });
    }
    return true;
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
    m_wndOutput.SetDoubleClickHandler([this](size_t offset) { m_messages.GoToMessageAt(offset); });
    m_wndOutput.SetLineKinds([this](size_t line) { return m_build.KindOfLine(line); });
    m_wndOutput.SetClearHandler([this] { m_build.OnOutputCleared(); });
}

CKorvaneView* CMainFrame::SourceView() const
{
    return dynamic_cast<CKorvaneView*>(GetActiveView());
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
    EnableDocking(CBRS_ALIGN_ANY, CMiniDockFrameWnd::FloatBar);
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
    CreateFileTabs();
    StartupTrace::Mark("frame: file tabs");
    ShowToolchain();
    ConnectEditorToDebugger();
    return 0;
}

void CMainFrame::ConnectEditorToDebugger()
{
    CKorvaneView* view = SourceView();
    if (!view)
        return;
    CTextControl& control = view->Control();
    control.ShowMarkColumn(true);
    control.SetGutterClickHandler([this](size_t line) { m_debugger.ToggleLineBreakpoint(line); });
    control.SetEditGuard([this] { return m_debugger.AllowSourceEdit(); });
}

void CMainFrame::CreateFileTabs()
{
    // Made after the dock bars, so that it is laid out below the toolbar and above the editor.
    if (!m_wndFileTabs.Create(this, IDW_FILE_TABS))
        return;
    m_wndFileTabs.SetChoiceHandler([](size_t tab) {
        CSingleDocTemplate* docs = AfxGetApp()->GetDocTemplate();
        const std::vector<CDocument*> documents = docs->Documents();
        if (tab >= documents.size())
            return;
        docs->Activate(documents[tab]);
        // Coming to a file is a time to look whether another program changed it.
        if (auto* document = dynamic_cast<CKorvaneDoc*>(documents[tab]))
            document->CheckFileOnDisk();
    });
    m_wndFileTabs.SetMenuHandler([this](size_t tab, POINT screen) { ShowTabMenu(tab, screen); });
}

void CMainFrame::OnDocumentsChanged()
{
    const CSingleDocTemplate* docs = AfxGetApp() ? AfxGetApp()->GetDocTemplate() : nullptr;
    if (!docs || !m_wndFileTabs.GetSafeHwnd())
        return;
    std::vector<std::string> titles;
    size_t current = 0;
    for (const CDocument* document : docs->Documents()) {
        if (document == docs->GetDocument())
            current = titles.size();
        titles.push_back(document->GetTitle());
    }
    m_wndFileTabs.SetTabs(titles, current);
    ConnectEditorToDebugger();
}

CKorvaneView* CMainFrame::OpenInTab(const std::string& path)
{
    CSingleDocTemplate* docs = AfxGetApp()->GetDocTemplate();
    const CKorvaneView* model = SourceView();
    const std::string fullPath = FullPathOf(path);
    const bool wasOpen = docs->FindDocument(fullPath) != nullptr;
    if (!docs->OpenInNewTab(&fullPath))
        return nullptr;
    CKorvaneView* view = SourceView();
    if (view && !wasOpen)
        PrepareEditor(*view, model);
    return view;
}

void CMainFrame::PrepareEditor(CKorvaneView& view, const CKorvaneView* model)
{
    CTextControl& control = view.Control();
    if (model && model != &view) {
        control.ShowLineNumbers(model->Control().LineNumbersShown());
        control.ShowSyntaxColors(model->Control().SyntaxColorsShown());
    }
    control.SetMarks(m_messages.MarksIn(view.SourcePath()));
    control.SetMarkClickHandler([this](size_t id) { m_messages.GoToMessage(id); });
}

void CMainFrame::OnOpenInTab()
{
    std::string fileName;
    if (AfxGetApp()->DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, true))
        OpenInTab(fileName);
}

void CMainFrame::OnCloseTab()
{
    CSingleDocTemplate* docs = AfxGetApp()->GetDocTemplate();
    if (CDocument* document = docs->GetDocument())
        docs->CloseDocument(document);
}

void CMainFrame::OnNextTab(bool forward)
{
    CSingleDocTemplate* docs = AfxGetApp()->GetDocTemplate();
    const std::vector<CDocument*> documents = docs->Documents();
    const auto current = std::find(documents.begin(), documents.end(), docs->GetDocument());
    if (documents.size() < 2 || current == documents.end())
        return;
    const size_t index = static_cast<size_t>(current - documents.begin());
    docs->Activate(documents[(index + (forward ? 1 : documents.size() - 1)) % documents.size()]);
}

void CMainFrame::ShowTabMenu(size_t tab, POINT screen)
{
    CSingleDocTemplate* docs = AfxGetApp()->GetDocTemplate();
    const std::vector<CDocument*> documents = docs->Documents();
    if (tab >= documents.size())
        return;
    // The menu acts on the tab it was asked for: that tab is the current one first.
    docs->Activate(documents[tab]);
    UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TAB_MENU)));
    if (menu)
        ::TrackPopupMenu(::GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd,
                         nullptr);
}

void CMainFrame::OnOpenInclude()
{
    const CKorvaneView* view = SourceView();
    if (!view)
        return;
    const std::optional<std::string> included = view->CaretLineInclude();
    if (!included)
        return;
    // A name without a folder is the including file's neighbour, as the assembler finds it.
    const FilePath file = FilePath::FromUtf8(view->SourcePath()).Folder().Child(Widen(*included));
    if (!file.IsFile()) {
        AfxMessageBox(FormatResString(IDS_INCLUDE_NOT_FOUND, {file.Utf8()}), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    OpenInTab(file.Utf8());
}

std::vector<CKorvaneView*> CMainFrame::SourceEditors() const
{
    std::vector<CKorvaneView*> views;
    for (const CDocument* document : AfxGetApp()->GetDocTemplate()->Documents()) {
        if (auto* view = dynamic_cast<CKorvaneView*>(document->GetFirstView()))
            views.push_back(view);
    }
    return views;
}

CKorvaneView* CMainFrame::ShowSourceFile(const FilePath& file)
{
    CKorvaneView* current = SourceView();
    if (current && IsSameFile(current->SourcePath(), file.Utf8()))
        return current;
    return file.IsFile() ? OpenInTab(file.Utf8()) : nullptr;
}

void CMainFrame::TogglePanel(CControlBar& bar)
{
    ShowControlBar(&bar, !bar.IsVisible(), false);
}

bool CMainFrame::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    // The panels' entries are checked while their panel shows; a disabled command sent anyway
    // is ignored.
    static const CommandEntry<CMainFrame> kCommands[] = {
        {ID_VIEW_OUTPUT, [](CMainFrame& frame, UINT) { frame.OnViewOutput(); }, nullptr,
         [](const CMainFrame& frame, UINT) { return frame.m_wndOutputBar.IsVisible(); }},
        {ID_VIEW_UTILITY, [](CMainFrame& frame, UINT) { frame.OnViewUtility(); }, nullptr,
         [](const CMainFrame& frame, UINT) { return frame.m_wndUtilityBar.IsVisible(); }},
        {.id = ID_INDICATOR_TOOLCHAIN,
         .update = [](CMainFrame& frame, UINT, CCmdUI& ui) {
             ui.SetText(ToolchainDisplayName(frame.m_compilerSettings.m_compilerType));
         }},
        {ID_COMPILE, [](CMainFrame& frame, UINT) { frame.OnCompile(); }, IsIdle},
        {ID_LINK, [](CMainFrame& frame, UINT) { frame.OnLink(); }, IsIdle},
        {ID_BUILD, [](CMainFrame& frame, UINT) { frame.OnBuild(); }, IsIdle},
        {ID_STOP_BUILD, [](CMainFrame& frame, UINT) { frame.OnStopBuild(); },
         [](const CMainFrame& frame, UINT) { return frame.IsBuildRunning(); }},
        {ID_RUN, [](CMainFrame& frame, UINT) { frame.OnRun(); }},
        {ID_DEBUG, [](CMainFrame& frame, UINT) { frame.OnDebug(); }},
        {ID_SET_COMPILER, [](CMainFrame& frame, UINT) { frame.OnSetCompiler(); }},
        {ID_NEXT_MESSAGE, [](CMainFrame& frame, UINT) { frame.OnNextMessage(); }},
        {ID_EXPLAIN_WORD, [](CMainFrame& frame, UINT) { frame.OnExplainWord(); }},
        {ID_PREV_MESSAGE, [](CMainFrame& frame, UINT) { frame.OnPrevMessage(); }},
        {ID_FILE_OPEN_IN_TAB, [](CMainFrame& frame, UINT) { frame.OnOpenInTab(); }},
        {ID_FILE_CLOSE_TAB, [](CMainFrame& frame, UINT) { frame.OnCloseTab(); }},
        {ID_NEXT_TAB, [](CMainFrame& frame, UINT) { frame.OnNextTab(true); }},
        {ID_PREV_TAB, [](CMainFrame& frame, UINT) { frame.OnNextTab(false); }},
        {ID_OPEN_INCLUDE, [](CMainFrame& frame, UINT) { frame.OnOpenInclude(); },
         [](const CMainFrame& frame, UINT) { return frame.SourceView() && frame.SourceView()->CaretLineInclude(); }},
    };
    return m_debugger.OnCmdMsg(nID, pCmdUI) || RouteCommand(*this, kCommands, nID, pCmdUI) ||
           CFrameWnd::OnCmdMsg(nID, pCmdUI);
}

bool CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (const UINT command = m_debugger.CommandForKey(*msg)) {
        SendMessage(WM_COMMAND, command);
        return true;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

bool CMainFrame::IsIdle(const CMainFrame& frame, UINT)
{
    return !frame.IsBuildRunning();
}

void CMainFrame::OnActivateApp(bool active, DWORD otherThread)
{
    // Coming back from another program, and every little while as long as the user stays, the
    // document's file is compared with what was read or saved.
    if (active) {
        CheckFileOnDisk(m_hWnd, WM_TIMER, reinterpret_cast<UINT_PTR>(this), 0);
        ::SetTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this), kDiskCheckMs, CheckFileOnDisk);
    } else {
        ::KillTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this));
    }
    CFrameWnd::OnActivateApp(active, otherThread);
}

void CALLBACK CMainFrame::CheckFileOnDisk(HWND wnd, UINT, UINT_PTR, DWORD)
{
    auto* frame = static_cast<CMainFrame*>(FromHandle(wnd));
    if (CKorvaneDoc* document = frame ? frame->GetSourceDocument() : nullptr)
        document->CheckFileOnDisk();
}

void CMainFrame::OnDestroy()
{
    // Nothing of a step or of the debugged program may outlive the window it reports to.
    m_debugger.Shutdown();
    m_build.Shutdown();
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnClose()
{
    if (m_build.IsRunning() && AfxMessageBox(IDS_STOP_TOOL_AND_EXIT, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    if (m_debugger.State() == DebugState::Running &&
        AfxMessageBox(IDS_DEBUG_STOP_AND_EXIT, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    // The step goes with the window, once the document is saved or dropped.
    CFrameWnd::OnClose();
}

std::string CMainFrame::GetIdleMessage() const
{
    if (!m_build.IsRunning())
        return m_strDebugStatus.empty() ? CFrameWnd::GetIdleMessage() : m_strDebugStatus;
    return LoadResString(m_build.RunningAction() == BuildAction::Compile ? IDS_COMPILING : IDS_LINKING);
}

CKorvaneDoc* CMainFrame::GetSourceDocument() const
{
    CKorvaneView* view = SourceView();
    return view ? dynamic_cast<CKorvaneDoc*>(view->GetDocument()) : nullptr;
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

void CMainFrame::OnStepBegins(BuildAction)
{
    ShowControlBar(&m_wndOutputBar, true, false);
}

FilePath CMainFrame::CurrentSource() const
{
    CKorvaneDoc* document = GetSourceDocument();
    return document ? FilePath::FromUtf8(document->GetSourcePath()) : FilePath();
}

bool CMainFrame::SaveSource()
{
    // The build reads the other tabs' files too (the includes, the modules): the modified ones
    // that have a file are saved with the current one.
    CKorvaneDoc* current = GetSourceDocument();
    for (CDocument* tab : AfxGetApp()->GetDocTemplate()->Documents()) {
        auto* document = dynamic_cast<CKorvaneDoc*>(tab);
        if (document && document != current && document->IsModified() && !document->GetSourcePath().empty() &&
            !document->OnSaveDocument(document->GetSourcePath()))
            return false;
    }
    return !current->IsModified() || current->OnSaveDocument(current->GetSourcePath());
}

void CMainFrame::OnStepStarted(BuildAction, bool bFirstOfCommand)
{
    if (bFirstOfCommand)
        m_wndOutput.Clear();
    // The marks of the step before go as this one starts.
    for (CKorvaneView* view : SourceEditors())
        view->Control().SetMarks({});
    SetMessageText(AFX_IDS_IDLEMESSAGE);
}

void CMainFrame::OnOutput(std::wstring_view text)
{
    m_wndOutput.Append(text);
}

void CMainFrame::OnStepEnded(const StepEnd& end)
{
    // What the tools said, counted; a step that never started said nothing.
    SetMessageText(end.exitCode ? m_messages.Summary(*end.exitCode) : GetIdleMessage());
    for (CKorvaneView* view : SourceEditors()) {
        view->Control().SetMarks(m_messages.MarksIn(view->SourcePath()));
        view->Control().SetMarkClickHandler([this](size_t id) { m_messages.GoToMessage(id); });
    }
    m_wndOutput.SetMarks(m_messages.ExplainedMarks(), [this](size_t id) { m_messages.GoToMessage(id); });
    if (m_build.Command() == BuildCommand::Debug && end.bCommandOver)
        m_debugger.OnBuildEnded(!end.bStopped && end.exitCode == 0u);
}

void CMainFrame::OnProblem(const Problem& problem)
{
    // A debugger's build that met a problem ends there.
    if (m_build.Command() == BuildCommand::Debug)
        m_debugger.OnBuildEnded(false);
    if (problem.kind == Problem::Kind::NoCompilerPath && OfferFoundCompiler())
        return;
    ShowProblem(problem);
}

bool CMainFrame::OfferFoundCompiler()
{
    const std::vector<FilePath> folders = ToolFolders();
    const CompilerType type = m_compilerSettings.m_compilerType;
    const FoundTools found = type == CompilerType::None ? FindAnyTools(folders) : FindTools(type, folders);
    if (!found.HasCompiler())
        return false;
    if (AfxMessageBox(FormatResString(IDS_TOOLS_FOUND_OPEN_SETUP, {found.compiler.Utf8()}), MB_YESNO) == IDYES)
        OnSetCompiler();
    return true;
}

void CMainFrame::OnCompile()
{
    m_build.Start(BuildCommand::Compile, m_compilerSettings);
}

void CMainFrame::OnLink()
{
    m_build.Start(BuildCommand::Link, m_compilerSettings);
}

void CMainFrame::OnBuild()
{
    m_build.Start(BuildCommand::Build, m_compilerSettings);
}

void CMainFrame::OnStopBuild()
{
    m_build.Stop();
}

void CMainFrame::Launch(const Result<LaunchCommand>& command)
{
    if (!command) {
        ShowProblem(command.Error());
        return;
    }
    // A program in a console of its own gives the focus back to Korvane when it ends.
    LaunchCommand launch = *command;
    launch.bWaitForEnd = launch.bThroughEmulator;
    UniqueHandle worker = RunOffThread<Result<void>>(
        m_launches, [launch] { return LaunchProgram(launch); },
        [this, waited = launch.bWaitForEnd](const Result<void>& launched) {
            if (!launched)
                ShowProblem(launched.Error());
            else if (waited)
                ::SetForegroundWindow(m_hWnd);
        });
    if (!worker)
        ShowProblem(Problem{Problem::Kind::NotStarted, command->program.Wide(), ::GetLastError()});
}

void CMainFrame::OnRun()
{
    // The 8051's program runs in the window's simulator.
    if (IsMcs51()) {
        m_debugger.RunInWindow();
        return;
    }
    const BuiltInRun builtIn{m_compilerSettings.m_nDosPace, WritableFolders(m_compilerSettings),
                             FilePath::FromUtf8(m_compilerSettings.m_strFloppyImage), m_compilerSettings.m_strLabBox,
                             LabWiringOf(m_compilerSettings)};
    Launch(MakeRunCommand(CurrentSource(), FilePath::FromUtf8(m_compilerSettings.m_strDosEmulatorPath), AfxGetServices(), builtIn));
}

void CMainFrame::OnDebug()
{
    // There is no DEBUG for the 8051: its debugger is the window's.
    if (IsMcs51()) {
        m_debugger.OnStart();
        return;
    }
    Launch(MakeDebugCommand(CurrentSource(), Widen(m_compilerSettings.m_strDebuggerPath),
                            SplitToolSetting(Widen(m_compilerSettings.m_strCompilerPath)).program,
                            FilePath::FromUtf8(m_compilerSettings.m_strDosEmulatorPath), AfxGetServices()));
}

void CMainFrame::OnInitMenuPopup(HMENU menu, UINT index, bool systemMenu)
{
    if (!systemMenu && CDebugController::IsPaneMenu(menu))
        m_debugger.FillPaneMenu(menu);
    CFrameWnd::OnInitMenuPopup(menu, index, systemMenu);
    if (!systemMenu)
        ShowKeysInForce(menu);
}

void CMainFrame::ShowKeysInForce(HMENU menu) const
{
    for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        bool known = false;
        const std::string key = KeyOfCommand(id, m_debugger.Keys(), &known);
        if (!known)
            continue;
        wchar_t text[256] = L"";
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        std::wstring label(text);
        label = label.substr(0, label.find(L'\t'));
        if (!key.empty())
            label += L"\t" + Widen(key);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = label.data();
        ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    }
}

std::string CMainFrame::GetTipText(UINT id) const
{
    bool known = false;
    const std::string key = KeyOfCommand(id, m_debugger.Keys(), &known);
    // The start button's tip is what it does now; a button whose key changes and that has no
    // tip of its own takes its prompt.
    std::string tip = id == ID_DEBUG_START ? m_debugger.StartLabel() : CFrameWnd::GetTipText(id);
    if (tip.empty() && known)
        tip = GetMessageString(id);
    return key.empty() ? tip : tip + " (" + key + ")";
}

std::string CMainFrame::GetMessageString(UINT id) const
{
    if (id >= ID_VIEW_DEBUG_PANE_FIRST && id <= ID_VIEW_DEBUG_PANE_LAST)
        return m_debugger.PanePrompt(id);
    return CFrameWnd::GetMessageString(id);
}

void CMainFrame::OnSetCompiler()
{
    LoadCompilerSettings();
    CCompilerSetupDlg dialog(m_compilerSettings);
    if (dialog.DoModal(this) != IDOK)
        return;
    if (dialog.GetCompilerType() == CompilerType::None)
        AfxMessageBox(IDS_NO_COMPILER_TYPE);
    SetCompilerSettings(dialog.GetSettings());
    if (const Result<void> saved = ::SaveCompilerSettings(m_compilerSettings, AfxGetServices()); !saved)
        ShowProblem(saved.Error());
    // The toolchain checked is the edited file's from now on; a 16-bit one is also what the
    // next files that are no 8051 sources take.
    const CompilerType chosen = m_compilerSettings.m_compilerType;
    if (chosen == CompilerType::Masm || chosen == CompilerType::Tasm)
        m_compilerSettings.m_asmType = chosen;
    if (chosen != CompilerType::None)
        PickToolchain(chosen);
}

void CMainFrame::OnNextMessage()
{
    m_messages.Next();
}

void CMainFrame::OnPrevMessage()
{
    m_messages.Previous();
}

std::string CMainFrame::EditedFile() const
{
    CKorvaneDoc* document = GetSourceDocument();
    return document ? document->GetSourcePath() : std::string();
}

void CMainFrame::ShowSourceLine(const std::string& path, int line, size_t messageId)
{
    const std::string edited = EditedFile();
    // Another file opens in a tab of its own; the others stay as they are.
    if ((edited.empty() || !IsSameFile(path, edited)) && !OpenInTab(path))
        return;
    CKorvaneView* view = SourceView();
    if (!view)
        return;
    size_t shown = static_cast<size_t>(line - 1);
    for (const LineMark& mark : view->Control().Marks()) {
        if (mark.nId == messageId)
            shown = mark.nLine;
    }
    view->SelectSourceLine(static_cast<int>(shown));
    ::SetFocus(view->GetSafeHwnd());
}

void CMainFrame::ShowStatus(const std::string& text)
{
    SetMessageText(text);
}

void CMainFrame::ShowExplanation(const std::wstring& text)
{
    m_explanation.Show(*this, m_wndOutputBar, text);
}

void CMainFrame::OnExplainWord()
{
    const CKorvaneView* view = SourceView();
    const std::optional<ShownExplanation> explained =
        view ? ExplainWordAt(view->Control().Buffer(), view->Control().Caret(), m_compilerSettings.m_compilerType)
             : std::nullopt;
    if (!explained) {
        SetMessageText(LoadResString(IDS_NOTHING_TO_EXPLAIN));
        return;
    }
    SetMessageText(explained->strStatus);
    ShowExplanation(explained->strFull);
}

void CMainFrame::ChangeSettings(const CompilerSettings& settings)
{
    SetCompilerSettings(settings);
    if (const Result<void> saved = ::SaveCompilerSettings(m_compilerSettings, AfxGetServices()); !saved)
        ShowProblem(saved.Error());
}

bool CMainFrame::BuildForDebugger()
{
    m_build.Start(BuildCommand::Debug, m_compilerSettings);
    return m_build.IsRunning();
}

void CMainFrame::ShowDebugStatus(const std::string& text)
{
    m_strDebugStatus = text;
    SetMessageText(GetIdleMessage());
}

// The output and the utility panels make room for the debugger's panes while a session lasts.
void CMainFrame::OnSessionChanged(bool active)
{
    if (active == m_bSessionLayout)
        return;
    m_bSessionLayout = active;
    if (active) {
        m_bOutputHidden = m_wndOutputBar.IsVisible();
        m_bUtilityHidden = m_wndUtilityBar.IsVisible();
    }
    if (m_bOutputHidden)
        ShowControlBar(&m_wndOutputBar, !active, false);
    if (m_bUtilityHidden)
        ShowControlBar(&m_wndUtilityBar, !active, false);
}

void CMainFrame::OnProgramRunning(bool running)
{
    m_wndToolBar.SendMessage(TB_CHANGEBITMAP, ID_DEBUG_START, MAKELPARAM(running ? kPauseImage : kStartImage, 0));
}
