// The debugger in the main window.
#include "debugui/DebugController.h"

#include "build/BuildAction.h"
#include "build/ProgramLauncher.h"
#include "build/ProgramModules.h"
#include "debug/ListingText.h"
#include "debug/SourceMapLoader.h"
#include "doc/KorvaneView.h"
#include "framework/CCmdUI.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "mcs51/Board51.h"
#include "resource.h"
#include "text/TextControl.h"

#include <algorithm>

namespace {
// How often the screen, the serial line and the ports are shown while the program runs.
constexpr UINT kLiveMs = 50;
// The line the program stands at, in the editor.
const COLORREF kCurrentLineGround = RGB(255, 236, 120);

bool Held(int key)
{
    return ::GetKeyState(key) < 0;
}

// The pace each of the 调试 menu's speeds stands for.
struct PaceCommand {
    UINT id;
    uint32_t instructionsPerMs;
};
constexpr PaceCommand kPaces[] = {{ID_DEBUG_PACE_MAX, 0}, {ID_DEBUG_PACE_LAB, 3000}, {ID_DEBUG_PACE_FAST, 30000}};

// The board a menu command chooses, and the one a setting names (plain where it names none).
mcs51::BoardKind51 BoardOf(UINT id)
{
    return static_cast<mcs51::BoardKind51>(id - ID_DEBUG_BOARD_PLAIN);
}

mcs51::BoardKind51 BoardOf(const std::string& name)
{
    return mcs51::CBoard51::KindOf(name).value_or(mcs51::BoardKind51::kPlain);
}

uint32_t PaceOf(UINT id)
{
    for (const PaceCommand& pace : kPaces)
        if (pace.id == id)
            return pace.instructionsPerMs;
    return 0;
}

std::string SentenceText(const Sentence& sentence)
{
    return FormatPlaceholders(LoadResString(sentence.textId), sentence.inserts);
}
}

CDebugController::CDebugController(IDebugHost& host)
    : m_host(host), m_panels(host.HostFrame()), m_editing(m_session, [this] { return IsStill(); }, [this] { OnEdited(); })
{
    m_panels.SetHostMade([this](CPaneHost& made) { AttachHost(made); });
}

CDebugController::~CDebugController()
{
    Shutdown();
}

bool CDebugController::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    using C = CDebugController;
    static const CommandEntry<C> kCommands[] = {
        {.id = ID_DEBUG_START,
         .run = [](C& c, UINT) { c.OnStart(); },
         .enabled = [](const C& c, UINT) { return c.m_state != DebugState::Building && (c.IsActive() || !c.m_host.IsBuildRunning()); },
         .update =
             [](C& c, UINT, CCmdUI& ui) { ui.SetText(c.StartLabel()); }},
        {ID_DEBUG_STEP_INTO, [](C& c, UINT) { c.OnStepInto(); }, [](const C& c, UINT) { return c.m_state == DebugState::Stopped; }},
        {ID_DEBUG_STEP_OVER, [](C& c, UINT) { c.OnStepOver(); }, [](const C& c, UINT) { return c.m_state == DebugState::Stopped; }},
        {ID_DEBUG_STEP_OUT, [](C& c, UINT) { c.OnStepOut(); }, [](const C& c, UINT) { return c.m_state == DebugState::Stopped; }},
        {ID_DEBUG_RUN_TO_CURSOR, [](C& c, UINT) { c.OnRunToCursor(); },
         [](const C& c, UINT) { return c.m_state == DebugState::Stopped; }},
        {ID_DEBUG_STEP_BACK, [](C& c, UINT) { c.OnStepBack(); }, [](const C& c, UINT) { return c.IsStill(); }},
        {ID_DEBUG_TOGGLE_BREAKPOINT, [](C& c, UINT) { c.OnToggleBreakpoint(); },
         [](const C& c, UINT) { return c.m_state != DebugState::Running && c.m_host.SourceEditor(); }},
        {ID_DEBUG_STOP, [](C& c, UINT) { c.EndSession(); },
         [](const C& c, UINT) { return c.IsStill() || c.m_state == DebugState::Running; }},
        {.id = ID_DEBUG_REAL_TIME_51,
         .run = [](C& c, UINT) { c.OnRealTime51(); },
         .checked = [](const C& c, UINT) { return !c.m_host.Settings().m_bFullSpeed51; }},
        {.id = ID_DEBUG_BOARD_PLAIN,
         .run = [](C& c, UINT id) { c.OnBoard51(id); },
         .checked = [](const C& c, UINT id) { return BoardOf(id) == BoardOf(c.m_host.Settings().m_strBoard51); },
         .lastId = ID_DEBUG_BOARD_TX},
        {.id = ID_DEBUG_BOARD_BOUNCE,
         .run = [](C& c, UINT) { c.OnBounce51(); },
         .checked = [](const C& c, UINT) { return c.m_host.Settings().m_bBounce51; }},
        {.id = ID_DEBUG_PACE_MAX,
         .run = [](C& c, UINT id) { c.OnPace(id); },
         .checked = [](const C& c, UINT id) { return c.m_host.Settings().m_nDosPace == PaceOf(id); }},
        {.id = ID_DEBUG_PACE_LAB,
         .run = [](C& c, UINT id) { c.OnPace(id); },
         .checked = [](const C& c, UINT id) { return c.m_host.Settings().m_nDosPace == PaceOf(id); },
         .lastId = ID_DEBUG_PACE_FAST},
        {.id = ID_VIEW_DEBUG_PANE_FIRST,
         .run = [](C& c, UINT id) {
             if (CPaneHost* host = c.PaneOfCommand(id))
                 c.TogglePane(*host);
         },
         .enabled = [](const C& c, UINT id) { return c.IsActive() && c.PaneOfCommand(id); },
         .checked = [](const C& c, UINT id) {
             const CPaneHost* host = c.PaneOfCommand(id);
             return host && c.m_panels.IsShown(*host);
         },
         .lastId = ID_VIEW_DEBUG_PANE_LAST},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI);
}

UINT CDebugController::CommandForKey(const MSG& msg) const
{
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || Held(VK_MENU))
        return 0;
    return DebuggerCommandOfKey(static_cast<UINT>(msg.wParam), Held(VK_SHIFT), Held(VK_CONTROL), Keys());
}

std::string CDebugController::StartLabel() const
{
    const bool session = m_state != DebugState::Idle && m_state != DebugState::Building;
    const UINT id = !session ? IDS_DEBUG_START : m_state == DebugState::Running ? IDS_DEBUG_PAUSE : IDS_DEBUG_CONTINUE;
    return LoadResString(id);
}

KeyContext CDebugController::Keys() const
{
    if (!IsStill() && m_state != DebugState::Running)
        return KeyContext::Editing;
    return m_bRunOnly ? KeyContext::Run : KeyContext::Session;
}

void CDebugController::OnStart()
{
    if (m_bRunOnly && IsActive()) {
        EndSession();
        BeginSession(false);
        return;
    }
    switch (m_state) {
    case DebugState::Idle: BeginSession(false); break;
    case DebugState::Stopped: RunOnWorker([this] { return m_session.Continue(); }); break;
    case DebugState::Running: m_session.Pause(); break;
    case DebugState::Ended:
        EndSession();
        BeginSession(false);
        break;
    case DebugState::Building: break;
    }
}

void CDebugController::RunInWindow()
{
    EndSession();
    BeginSession(true);
}

// A run in the window takes the program as it is; a session takes it so where its toolchain
// wrote it with the compile and it is newer than its source; any other is built first.
void CDebugController::BeginSession(bool runOnly)
{
    m_source = m_host.CurrentSource();
    if (runOnly && m_source.empty()) {
        AfxMessageBox(IDS_SAVE_FIRST);
        return;
    }
    if (!m_source.empty() && (runOnly || !DebuggedProgram(m_source, m_host.Settings()).buildFirst)) {
        if (!m_host.SaveSource())
            return;
        if (runOnly || !DebuggedProgram(m_source, m_host.Settings()).buildFirst) {
            Launch(runOnly);
            return;
        }
    }
    SetState(DebugState::Building);
    m_host.ShowDebugStatus(LoadResString(IDS_DEBUG_BUILDING));
    if (!m_host.BuildForDebugger()) {
        SetState(DebugState::Idle);
        m_host.ShowDebugStatus({});
    }
}

void CDebugController::OnBuildEnded(bool succeeded)
{
    if (m_state != DebugState::Building)
        return;
    SetState(DebugState::Idle);
    m_host.ShowDebugStatus({});
    if (succeeded)
        Launch(false);
}

DebugLaunch CDebugController::MakeLaunch(const FilePath& source, const FilePath& program) const
{
    DebugLaunch launch;
    launch.program = program.Wide();
    launch.folder = source.Folder().Wide();
    launch.realTime = !m_host.Settings().m_bFullSpeed51;
    launch.board51 = m_host.Settings().m_strBoard51;
    launch.bounce51 = m_host.Settings().m_bBounce51;
    launch.instructionsPerMs = m_host.Settings().m_nDosPace;
    for (const FilePath& folder : WritableFolders(m_host.Settings()))
        launch.writableFolders.push_back(folder.Wide());
    launch.floppy = FilePath::FromUtf8(m_host.Settings().m_strFloppyImage).Wide();
    launch.labBox = m_host.Settings().m_strLabBox;
    launch.labWiring = LabWiringOf(m_host.Settings());
    const FilePath mainSource = MainSourceOf(source);
    std::vector<std::wstring> otherModules;
    if (const Result<std::vector<ProgramModule>> modules = ProgramModulesOf(mainSource))
        for (size_t i = 1; i < modules->size(); ++i)
            otherModules.push_back((*modules)[i].path.Wide());
    launch.sourceMap = CSourceMapLoader::Load(program.Wide(), mainSource.Wide(), otherModules);
    for (const CKorvaneView* view : m_host.SourceEditors())
        for (const size_t line : view->Control().Breakpoints())
            launch.breakpoints.push_back(LineOfEditor(*view, line, launch.sourceMap));
    launch.addressBreakpoints = m_editing.AddressBreakpoints();
    return launch;
}

void CDebugController::Launch(bool runOnly)
{
    const FilePath program = DebuggedProgram(m_source, m_host.Settings()).program;
    if (!program.IsFile()) {
        AfxMessageBox(FormatResString(IDS_DEBUG_NO_PROGRAM, {program.Utf8()}), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Breakpoints on addresses are kept for the same program built again, not for another.
    if (program.Wide() != m_strLastProgram)
        m_editing.ForgetAddressBreakpoints();
    const StopInfo started = m_session.Start(MakeLaunch(m_source, program));
    if (started.result != SessionResult::Started) {
        m_session.Stop();
        AfxMessageBox(FormatResString(IDS_DEBUG_LOAD_FAILED, {SentenceText(started.failure)}), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_strLastProgram = program.Wide();
    m_bRunOnly = runOnly;
    m_host.OnSessionChanged(true);
    m_panels.ShowFor(m_session, runOnly);
    if (const CPaneHost* command = m_panels.OfKind(PaneKind::Command))
        command->Command()->Output().Clear();
    OnStopped(started);
    if (runOnly)
        RunOnWorker([this] { return m_session.Continue(); });
    else if (const CPaneHost* leads = m_panels.BreakpointPane(); leads && m_session.SourceMap().empty())
        ::SetFocus(leads->ViewWindow());
}

void CDebugController::AttachHost(CPaneHost& host)
{
    m_editing.Attach(host);
    if (CScreenView* screen = host.Screen()) {
        screen->SetKeyHandler([this](uint16_t key) { m_session.Feed(key); });
        screen->SetPointerHandler([this](int x, int y, unsigned buttons) { m_session.Point(x, y, buttons); });
    }
    if (host.Info().log && host.Text())
        host.Text()->SetCharHandler([this](wchar_t character) {
            if (character < 0x100)
                m_session.Feed(static_cast<uint8_t>(character));
        });
    if (CCommandPane* command = host.Command())
        command->SetCommandHandler([this](const std::string& line) { OnCommandLine(line); });
    if (CMemoryPane* memory = host.Memory())
        memory->SetChangeHandler([this, &host] { m_panels.RefreshPane(host, m_session); });
    if (CDeviceView* device = host.Device())
        device->SetInputHandler([this, &host](const machine::DeviceInput& input) {
            if (CDebugPane* pane = m_session.Pane(host.Info().id))
                pane->Input(input);
        });
}

// A pane shown shows this session's state at once: the stop's, what a running program shows
// live, or nothing until the next stop.
void CDebugController::TogglePane(CPaneHost& host)
{
    m_panels.Toggle(host);
    if (!m_panels.IsShown(host) || host.Command())
        return;
    if (IsStill())
        m_panels.RefreshPane(host, m_session);
    else if (host.Info().live)
        host.Show(m_session.LiveContent(host.Info().id));
    else
        host.Show(PaneContent{});
}

CPaneHost* CDebugController::PaneOfCommand(UINT id) const
{
    return id >= ID_VIEW_DEBUG_PANE_FIRST ? m_panels.At(id - ID_VIEW_DEBUG_PANE_FIRST) : nullptr;
}

CDebugPane* CDebugController::CommandPane() const
{
    const CPaneHost* host = m_panels.OfKind(PaneKind::Command);
    return host ? m_session.Pane(host->Info().id) : nullptr;
}

bool CDebugController::IsPaneMenu(HMENU menu)
{
    const UINT first = ::GetMenuItemID(menu, 0);
    return first >= ID_VIEW_DEBUG_PANE_FIRST && first <= ID_VIEW_DEBUG_PANE_LAST;
}

void CDebugController::FillPaneMenu(HMENU menu) const
{
    while (::GetMenuItemCount(menu) > 0)
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    const size_t count = std::min<size_t>(m_panels.Count(), ID_VIEW_DEBUG_PANE_LAST - ID_VIEW_DEBUG_PANE_FIRST + 1);
    for (size_t i = 0; i < count; ++i)
        ::AppendMenuW(menu, MF_STRING, ID_VIEW_DEBUG_PANE_FIRST + i,
                      Widen(LoadResString(m_panels.At(i)->Info().titleId)).c_str());
    if (count == 0)
        ::AppendMenuW(menu, MF_STRING | MF_GRAYED, ID_VIEW_DEBUG_PANE_FIRST, Widen(LoadResString(IDS_DEBUG_NO_PANES)).c_str());
}

std::string CDebugController::PanePrompt(UINT id) const
{
    const CPaneHost* host = PaneOfCommand(id);
    return host ? FormatResString(IDS_VIEW_DEBUG_PANE, {LoadResString(host->Info().titleId)}) : LoadResString(IDS_DEBUG_NO_PANES);
}

void CDebugController::RunOnWorker(std::function<StopInfo()> work)
{
    SetState(DebugState::Running);
    m_session.ClearPause();
    const uint64_t run = ++m_nRun;
    m_worker = RunOffThread<StopInfo>(m_mailbox, std::move(work), [this, run](StopInfo stop) {
        if (run != m_nRun)
            return;
        m_worker.reset();
        OnStopped(stop);
    });
    if (!m_worker) {
        SetState(DebugState::Stopped);
        return;
    }
    ::SetTimer(m_mailbox.Window(), reinterpret_cast<UINT_PTR>(this), kLiveMs, OnLiveTimer);
}

void CALLBACK CDebugController::OnLiveTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    auto* controller = reinterpret_cast<CDebugController*>(id);
    if (controller->m_state != DebugState::Running)
        return;
    controller->ShowRunning(true);
    controller->m_panels.RefreshLive(controller->m_session);
    if (controller->m_session.State() == RunState::WaitingForKey)
        controller->m_host.ShowDebugStatus(LoadResString(IDS_DEBUG_WAITING_FOR_KEY));
}

void CDebugController::SetState(DebugState state)
{
    m_state = state;
    if (state == DebugState::Running)
        return;
    ::KillTimer(m_mailbox.Window(), reinterpret_cast<UINT_PTR>(this));
    ShowRunning(false);
}

// A step is over in a few milliseconds: the pause button, the running status and the command
// line put aside show once a run lasts (at the live timer's first tick), so that a step
// repaints none of them twice.
void CDebugController::ShowRunning(bool running)
{
    if (running == m_bRunningShown)
        return;
    m_bRunningShown = running;
    if (const CPaneHost* command = m_panels.OfKind(PaneKind::Command))
        command->Command()->EnableInput(!running);
    m_host.OnProgramRunning(running);
    if (running)
        m_host.ShowDebugStatus(m_bRunOnly && m_session.Target()
                                   ? FormatResString(IDS_DEBUG_RUNNING_IN_WINDOW, {LoadResString(m_session.Target()->NameId())})
                                   : LoadResString(IDS_DEBUG_RUNNING));
}

void CDebugController::OnStopped(const StopInfo& stop)
{
    if (m_bCommandRan) {
        m_bCommandRan = false;
        if (const CPaneHost* host = m_panels.OfKind(PaneKind::Command))
            host->Command()->Output().Append(CPaneView::Decode(m_strCommandOutput, CP_OEMCP));
        if (const CDebugPane* command = CommandPane(); command && command->Quit()) {
            EndSession();
            return;
        }
    }
    const bool ended = stop.Ended() || m_session.State() == RunState::Ended;
    SetState(ended ? DebugState::Ended : DebugState::Stopped);
    m_panels.Refresh(m_session);
    FollowInEditor();
    m_host.ShowDebugStatus(StatusOf(stop));
}

FilePath CDebugController::FileOf(const SourceLine& line) const
{
    return m_source.Folder().Child(Widen(line.file));
}

SourceLine CDebugController::LineOfEditor(const CKorvaneView& view, size_t line, const CSourceMap& map) const
{
    const std::string path = view.SourcePath();
    for (const std::string& file : map.Files()) {
        if (IsSameFile(FileOf(SourceLine{file}).Utf8(), path))
            return SourceLine{file, static_cast<int>(line) + 1};
    }
    const FilePath edited = FilePath::FromUtf8(path);
    const std::string name = edited.Folder() == m_source.Folder() ? Narrow(edited.Name()) : path;
    return SourceLine{name, static_cast<int>(line) + 1};
}

void CDebugController::FollowInEditor()
{
    const std::optional<SourceLine> line = m_session.Loaded() ? m_session.CurrentLine() : std::nullopt;
    // The line's file comes to the front, in a tab of its own where none shows it yet.
    CKorvaneView* shownIn = line ? m_host.ShowSourceFile(FileOf(*line)) : nullptr;
    for (CKorvaneView* view : m_host.SourceEditors()) {
        if (view != shownIn)
            view->Control().SetCurrentLine(std::nullopt);
    }
    if (!shownIn)
        return;
    CTextControl& control = shownIn->Control();
    control.SetLineStyle([&control](size_t index) {
        return control.CurrentLine() == index ? LineStyle{CLR_INVALID, kCurrentLineGround} : LineStyle{};
    });
    const size_t shown = static_cast<size_t>(line->line - 1);
    control.SetCurrentLine(shown);
    control.RevealLine(shown);
    // The caret stands at the start of the line, as run to cursor and toggle breakpoint take it.
    if (shown < control.Buffer().LineCount()) {
        const size_t start = control.Buffer().LineStart(shown);
        control.Select(start, start);
    }
}

// "SUM.ASM 第 17 行", or the address where no line is known.
std::string CDebugController::PlaceText() const
{
    if (const std::optional<SourceLine> line = m_session.CurrentLine())
        return FormatResString(IDS_DEBUG_PLACE_LINE, {line->file, std::to_string(line->line)});
    const IDebugTarget* target = m_session.Target();
    if (!target)
        return {};
    return FormatResString(IDS_DEBUG_PLACE_ADDRESS, {target->PlaceText()});
}

std::string CDebugController::StatusOf(const StopInfo& stop) const
{
    switch (stop.result) {
    case SessionResult::NoProgram:
    case SessionResult::LoadFailed: return {};
    case SessionResult::Started:
        return m_session.SourceMap().empty() ? LoadResString(IDS_DEBUG_NO_LISTING)
                                             : FormatResString(IDS_DEBUG_STARTED, {PlaceText()});
    case SessionResult::SteppedBack: return FormatResString(IDS_DEBUG_STEPPED_BACK, {PlaceText()});
    case SessionResult::NoCode: return LoadResString(IDS_DEBUG_NO_CODE);
    case SessionResult::Ran: return RanText(stop);
    case SessionResult::BackRefused: break;
    }
    switch (stop.limit) {
    case BackLimit::None:
    case BackLimit::Start: return LoadResString(IDS_DEBUG_BACK_START);
    case BackLimit::HistoryExhausted: return LoadResString(IDS_DEBUG_BACK_HISTORY);
    case BackLimit::KeyRead: return LoadResString(IDS_DEBUG_BACK_KEY);
    case BackLimit::InputRead: return LoadResString(IDS_DEBUG_BACK_INPUT);
    case BackLimit::FileRead:
    case BackLimit::FileWritten:
    case BackLimit::FileSystemChanged: return LoadResString(IDS_DEBUG_BACK_FILE);
    case BackLimit::SerialRead: return LoadResString(IDS_DEBUG_BACK_SERIAL);
    case BackLimit::Ended: return LoadResString(IDS_DEBUG_BACK_ENDED);
    }
    return {};
}

std::string CDebugController::RanText(const StopInfo& stop) const
{
    switch (stop.reason) {
    case StopReason::Breakpoint: return FormatResString(IDS_DEBUG_BREAKPOINT, {PlaceText()});
    case StopReason::Paused: return FormatResString(IDS_DEBUG_PAUSED, {PlaceText()});
    case StopReason::Ended: return FormatResString(IDS_DEBUG_ENDED, {std::to_string(stop.exitCode)});
    case StopReason::Faulted: return m_session.Target() ? SentenceText(m_session.Target()->FaultText()) : std::string();
    case StopReason::Limit:
    case StopReason::WaitingForInput:
    case StopReason::Idle: break;
    }
    return FormatResString(IDS_DEBUG_STOPPED, {PlaceText()});
}

void CDebugController::OnStepInto()
{
    RunOnWorker([this] { return m_session.StepInto(); });
}

void CDebugController::OnStepOver()
{
    RunOnWorker([this] { return m_session.StepOver(); });
}

void CDebugController::OnStepOut()
{
    RunOnWorker([this] { return m_session.StepOut(); });
}

// Without a listing, or from the disassembly pane, the pane's chosen instruction is the place.
CPaneHost* CDebugController::LeadingPane() const
{
    CPaneHost* pane = m_panels.BreakpointPane();
    if (!m_session.Loaded() || !pane || !pane->Text())
        return nullptr;
    return m_panels.HasFocus(*pane) || m_session.SourceMap().empty() ? pane : nullptr;
}

void CDebugController::OnRunToCursor()
{
    if (const CPaneHost* leads = LeadingPane()) {
        const std::optional<size_t> chosen = leads->Text()->ChosenLine();
        if (const std::optional<uint32_t> address = chosen ? leads->Text()->AddressOf(*chosen) : std::nullopt)
            RunOnWorker([this, target = *address] { return m_session.RunToAddress(target); });
        return;
    }
    const CKorvaneView* view = m_host.SourceEditor();
    if (!view)
        return;
    const SourceLine line =
        LineOfEditor(*view, static_cast<size_t>(view->CaretLineColumn().first - 1), m_session.SourceMap());
    RunOnWorker([this, line] { return m_session.RunToLine(line); });
}

void CDebugController::OnToggleBreakpoint()
{
    if (CPaneHost* leads = LeadingPane()) {
        if (const std::optional<size_t> chosen = leads->Text()->ChosenLine())
            m_editing.ToggleAddressBreakpoint(*leads, *chosen);
        return;
    }
    if (const CKorvaneView* view = m_host.SourceEditor())
        ToggleLineBreakpoint(static_cast<size_t>(view->CaretLineColumn().first - 1));
}

void CDebugController::ToggleLineBreakpoint(size_t line)
{
    CKorvaneView* view = m_host.SourceEditor();
    if (!view || m_state == DebugState::Running)
        return;
    CTextControl& control = view->Control();
    std::vector<size_t> lines = control.Breakpoints();
    const auto found = std::find(lines.begin(), lines.end(), line);
    const bool set = found == lines.end();
    if (set)
        lines.push_back(line);
    else
        lines.erase(found);
    control.SetBreakpoints(std::move(lines));
    if (m_session.Loaded()) {
        m_session.SetLineBreakpoint(LineOfEditor(*view, line, m_session.SourceMap()), set);
        if (const CPaneHost* leads = m_panels.BreakpointPane(); leads && leads->Text())
            leads->Text()->Invalidate(false);
    }
}

void CDebugController::OnStepBack()
{
    OnStopped(m_session.StepBack());
}

void CDebugController::OnCommandLine(const std::string& line)
{
    if (!IsStill())
        return;
    CDebugPane* command = CommandPane();
    if (!command)
        return;
    RunOnWorker([this, command, line] {
        m_strCommandOutput = command->Execute(line);
        m_bCommandRan = true;
        return m_session.LastStop();
    });
}

void CDebugController::OnEdited()
{
    m_session.Edited();
    m_panels.Refresh(m_session);
}

void CDebugController::OnRealTime51()
{
    CompilerSettings settings = m_host.Settings();
    settings.m_bFullSpeed51 = !settings.m_bFullSpeed51;
    m_host.ChangeSettings(settings);
}

// The board of the next run and session (the running one keeps its own).
void CDebugController::OnBoard51(UINT id)
{
    CompilerSettings settings = m_host.Settings();
    settings.m_strBoard51 = std::string(mcs51::CBoard51::NameOf(BoardOf(id)));
    m_host.ChangeSettings(settings);
}

// The keys of the next run's and session's board bounce, or stop bouncing.
void CDebugController::OnBounce51()
{
    CompilerSettings settings = m_host.Settings();
    settings.m_bBounce51 = !settings.m_bBounce51;
    m_host.ChangeSettings(settings);
}

// The pace of the next run and session (the running one keeps its own).
void CDebugController::OnPace(UINT id)
{
    CompilerSettings settings = m_host.Settings();
    settings.m_nDosPace = PaceOf(id);
    m_host.ChangeSettings(settings);
}

void CDebugController::EndSession()
{
    if (m_state == DebugState::Idle || m_state == DebugState::Building)
        return;
    Shutdown();
    SetState(DebugState::Idle);
    m_bRunOnly = false;
    m_panels.HideAll();
    for (CKorvaneView* view : m_host.SourceEditors()) {
        view->Control().SetCurrentLine(std::nullopt);
        view->Control().SetLineStyle(nullptr);
    }
    m_host.OnSessionChanged(false);
    m_host.ShowDebugStatus({});
}

void CDebugController::Shutdown()
{
    // A delivery of the worker still on its way belongs to a session that is over.
    ++m_nRun;
    if (m_worker) {
        m_session.Pause();
        ::WaitForSingleObject(m_worker.get(), INFINITE);
        m_worker.reset();
    }
    m_session.Stop();
}

bool CDebugController::AllowSourceEdit()
{
    if (m_state == DebugState::Idle || m_state == DebugState::Building)
        return true;
    if (AfxMessageBox(IDS_DEBUG_STOP_TO_EDIT, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    EndSession();
    return true;
}
