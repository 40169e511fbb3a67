// The debugger in the main window.
#include "debugui/DebugController.h"

#include "build/BuildAction.h"
#include "build/ProgramLauncher.h"
#include "debug/DosDisplay.h"
#include "debug/DosTarget.h"
#include "debug/HexDump.h"
#include "debug/ListingText.h"
#include "debug/SourceMapLoader.h"
#include "doc/KorvaneView.h"
#include "framework/CCmdUI.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
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

// The panes' commands, in the order of DebugPane.
constexpr UINT kPaneCommands[kDebugPaneCount] = {
    ID_VIEW_DEBUG_REGISTERS, ID_VIEW_DEBUG_MEMORY,   ID_VIEW_DEBUG_STACK,     ID_VIEW_DEBUG_DISASSEMBLY, ID_VIEW_DEBUG_SCREEN,
    ID_VIEW_DEBUG_COMMAND,   ID_VIEW_DEBUG_VARIABLES, ID_VIEW_DEBUG_SERIAL, ID_VIEW_DEBUG_PORTS};

DebugPane PaneOfCommand(UINT id)
{
    return static_cast<DebugPane>(id - ID_VIEW_DEBUG_REGISTERS);
}

// The 8051's program is the .hex beside its source; a DOS program the .COM or .EXE.
FilePath ProgramOf(const FilePath& source, bool mcs51)
{
    if (!mcs51)
        return BuiltProgram(source);
    return source.Folder().Child(SourceBaseName(source.Name()) + L".hex");
}
}

CDebugController::CDebugController(IDebugHost& host)
    : m_host(host), m_panels(host.HostFrame()),
      m_editing(m_session, m_panels, [this] { return IsStill(); }, [this] { OnEdited(); })
{
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
             [](C& c, UINT, CCmdUI& ui) {
                 const bool session = c.m_state != DebugState::Idle && c.m_state != DebugState::Building;
                 ui.SetText(LoadResString(!session ? IDS_DEBUG_START
                                          : c.m_state == DebugState::Running ? IDS_DEBUG_PAUSE
                                                                             : IDS_DEBUG_CONTINUE));
             }},
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
        {.id = ID_VIEW_DEBUG_REGISTERS,
         .run = [](C& c, UINT id) { c.m_panels.Toggle(PaneOfCommand(id)); },
         .enabled = [](const C& c, UINT id) { return c.IsActive() && c.m_panels.BelongsToMachine(PaneOfCommand(id)); },
         .checked = [](const C& c, UINT id) { return c.m_panels.IsShown(PaneOfCommand(id)); },
         .lastId = ID_VIEW_DEBUG_PORTS},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI);
}

UINT CDebugController::CommandForKey(const MSG& msg) const
{
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || Held(VK_MENU))
        return 0;
    const bool session = IsStill() || m_state == DebugState::Running;
    const bool shift = Held(VK_SHIFT);
    const bool control = Held(VK_CONTROL);
    struct Key {
        UINT key;
        bool shift, control;
        UINT command;
    };
    static const Key kSessionKeys[] = {
        {VK_F5, false, false, ID_DEBUG_START},          {VK_F5, true, false, ID_DEBUG_STOP},
        {VK_F9, false, false, ID_DEBUG_TOGGLE_BREAKPOINT}, {VK_F10, false, false, ID_DEBUG_STEP_OVER},
        {VK_F11, false, false, ID_DEBUG_STEP_INTO},     {VK_F11, true, false, ID_DEBUG_STEP_OUT},
        {VK_F10, false, true, ID_DEBUG_RUN_TO_CURSOR},  {VK_F11, false, true, ID_DEBUG_STEP_BACK},
    };
    if (!session)
        return msg.wParam == VK_F11 && !shift && !control ? ID_DEBUG_START : 0;
    for (const Key& key : kSessionKeys)
        if (msg.wParam == key.key && shift == key.shift && control == key.control)
            return key.command;
    return 0;
}

void CDebugController::OnStart()
{
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

void CDebugController::Run51()
{
    EndSession();
    BeginSession(true);
}

// A program whose toolchain writes the .hex without a link step is taken as it is while
// it is newer than its source; any other is built first.
void CDebugController::BeginSession(bool runOnly)
{
    m_source = m_host.CurrentSource();
    const CompilerSettings& settings = m_host.Settings();
    const bool mcs51 = settings.m_compilerType == CompilerType::Mcs51;
    if (runOnly && m_source.empty()) {
        AfxMessageBox(IDS_SAVE_FIRST);
        return;
    }
    if (!m_source.empty() && (runOnly || (mcs51 && settings.m_bNoLink))) {
        if (!m_host.SaveSource())
            return;
        if (runOnly || ProgramOf(m_source, true).IsNewerFileThan(m_source)) {
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
    launch.sourceMap = CSourceMapLoader::Load(program.Wide(), source.Wide());
    if (const CKorvaneView* view = m_host.SourceEditor())
        for (const size_t line : view->Control().Breakpoints())
            launch.breakpoints.push_back(LineOfEditor(line));
    launch.addressBreakpoints = m_editing.AddressBreakpoints();
    return launch;
}

void CDebugController::Launch(bool runOnly)
{
    const FilePath program = ProgramOf(m_source, m_host.Settings().m_compilerType == CompilerType::Mcs51);
    if (!program.IsFile()) {
        AfxMessageBox(FormatResString(IDS_DEBUG_NO_PROGRAM, {program.Utf8()}), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Breakpoints on addresses are kept for the same program built again, not for another.
    if (program.Wide() != m_strLastProgram)
        m_editing.ForgetAddressBreakpoints();
    const StopInfo started = m_session.Start(MakeLaunch(m_source, program));
    if (started.cause != StopCause::Started) {
        m_session.Stop();
        AfxMessageBox(FormatResString(IDS_DEBUG_LOAD_FAILED, {program.Utf8(), std::to_string(started.detail)}),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_strLastProgram = program.Wide();
    m_bRunOnly = runOnly;
    m_host.OnSessionChanged(true);
    m_panels.ShowFor(m_session.Target()->Kind(), runOnly);
    AttachPanes();
    m_panels.Command().Output().Clear();
    if (CKorvaneView* view = m_host.SourceEditor()) {
        CTextControl& control = view->Control();
        control.SetLineStyle([&control](size_t line) {
            return control.CurrentLine() == line ? LineStyle{CLR_INVALID, kCurrentLineGround} : LineStyle{};
        });
    }
    OnStopped(started);
    if (runOnly)
        RunOnWorker([this] { return m_session.Continue(); });
    else if (m_session.SourceMap().empty())
        ::SetFocus(m_panels.Disassembly().GetSafeHwnd());
}

void CDebugController::AttachPanes()
{
    if (m_bPanesAttached)
        return;
    m_bPanesAttached = true;
    m_editing.Attach();
    m_panels.Screen().SetKeyHandler([this](uint16_t key) { m_session.PressKey(key); });
    m_panels.Serial().SetCharHandler([this](wchar_t character) {
        if (character < 0x100)
            m_session.SendSerial(static_cast<uint8_t>(character));
    });
    m_panels.Command().SetCommandHandler([this](const std::string& line) { OnCommandLine(line); });
    m_panels.Memory().SetChangeHandler([this] { m_panels.RefreshPane(DebugPane::Memory, m_session, m_commands); });
}

void CDebugController::RunOnWorker(std::function<StopInfo()> work)
{
    SetState(DebugState::Running);
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
    if (m_panels.Exists())
        m_panels.Command().EnableInput(!running);
    m_host.OnProgramRunning(running);
    if (running)
        m_host.ShowDebugStatus(LoadResString(m_bRunOnly ? IDS_DEBUG_RUNNING_51 : IDS_DEBUG_RUNNING));
}

void CDebugController::OnStopped(const StopInfo& stop)
{
    if (m_bCommandRan) {
        m_bCommandRan = false;
        m_panels.Command().Output().Append(CPaneView::Decode(m_strCommandOutput, CP_OEMCP));
        if (m_commands.Quit()) {
            EndSession();
            return;
        }
    }
    const bool ended = stop.cause == StopCause::Ended || stop.cause == StopCause::Faulted ||
                       m_session.State() == RunState::Ended;
    SetState(ended ? DebugState::Ended : DebugState::Stopped);
    m_panels.Refresh(m_session, m_commands);
    FollowInEditor();
    m_host.ShowDebugStatus(StatusOf(stop));
}

std::string CDebugController::SourceFileName() const
{
    return CSourceMapLoader::MainFileName(m_source.Wide());
}

SourceLine CDebugController::LineOfEditor(size_t line) const
{
    return SourceLine{SourceFileName(), static_cast<int>(line) + 1};
}

void CDebugController::FollowInEditor()
{
    CKorvaneView* view = m_host.SourceEditor();
    if (!view)
        return;
    std::optional<size_t> shown;
    if (m_session.Loaded() && m_host.CurrentSource() == m_source)
        if (const std::optional<SourceLine> line = m_session.CurrentLine(); line && EqualsNoCase(line->file, SourceFileName()))
            shown = static_cast<size_t>(line->line - 1);
    view->Control().SetCurrentLine(shown);
    if (shown)
        view->Control().RevealLine(*shown);
}

// "SUM.ASM 第 17 行", or the address where no line is known.
std::string CDebugController::PlaceText() const
{
    if (const std::optional<SourceLine> line = m_session.CurrentLine())
        return FormatResString(IDS_DEBUG_PLACE_LINE, {line->file, std::to_string(line->line)});
    const IDebugTarget* target = m_session.Target();
    if (!target)
        return {};
    if (target->Kind() == TargetKind::Dos) {
        const dos::CpuState& state = const_cast<IDebugTarget*>(target)->Dos()->Registers();
        return FormatResString(IDS_DEBUG_PLACE_ADDRESS, {dos::CDosDisplay::Address(state.seg[dos::kCS], state.ip)});
    }
    return FormatResString(IDS_DEBUG_PLACE_ADDRESS, {CHexDump::Hex4(static_cast<uint16_t>(target->Pc()))});
}

std::string CDebugController::StatusOf(const StopInfo& stop) const
{
    switch (stop.cause) {
    case StopCause::NoProgram:
    case StopCause::LoadFailed: return {};
    case StopCause::Started:
        return m_session.SourceMap().empty() ? LoadResString(IDS_DEBUG_NO_LISTING)
                                             : FormatResString(IDS_DEBUG_STARTED, {PlaceText()});
    case StopCause::Stepped: return FormatResString(IDS_DEBUG_STOPPED, {PlaceText()});
    case StopCause::Breakpoint: return FormatResString(IDS_DEBUG_BREAKPOINT, {PlaceText()});
    case StopCause::Paused: return FormatResString(IDS_DEBUG_PAUSED, {PlaceText()});
    case StopCause::SteppedBack: return FormatResString(IDS_DEBUG_STEPPED_BACK, {PlaceText()});
    case StopCause::Ended: return FormatResString(IDS_DEBUG_ENDED, {std::to_string(stop.exitCode)});
    case StopCause::Faulted: return LoadResString(IDS_DEBUG_FAULTED);
    case StopCause::NoCode: return LoadResString(IDS_DEBUG_NO_CODE);
    case StopCause::BackRefused: break;
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
bool CDebugController::DisassemblyLeads() const
{
    return m_session.Loaded() && (m_panels.HasFocus(DebugPane::Disassembly) || m_session.SourceMap().empty());
}

void CDebugController::OnRunToCursor()
{
    if (DisassemblyLeads()) {
        const std::optional<size_t> chosen = m_panels.Disassembly().ChosenLine();
        if (const std::optional<uint32_t> address = chosen ? m_panels.Disassembly().AddressOf(*chosen) : std::nullopt)
            RunOnWorker([this, target = *address] { return m_session.RunToAddress(target); });
        return;
    }
    const CKorvaneView* view = m_host.SourceEditor();
    if (!view)
        return;
    const SourceLine line = LineOfEditor(static_cast<size_t>(view->CaretLineColumn().first - 1));
    RunOnWorker([this, line] { return m_session.RunToLine(line); });
}

void CDebugController::OnToggleBreakpoint()
{
    if (DisassemblyLeads()) {
        if (const std::optional<size_t> chosen = m_panels.Disassembly().ChosenLine())
            m_editing.ToggleAddressBreakpoint(*chosen);
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
    if (m_session.Loaded() && m_host.CurrentSource() == m_source) {
        m_session.SetLineBreakpoint(LineOfEditor(line), set);
        if (m_panels.Exists())
            m_panels.Disassembly().Invalidate(false);
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
    RunOnWorker([this, line] {
        m_strCommandOutput = m_commands.Execute(line);
        m_bCommandRan = true;
        return m_session.LastStop();
    });
}

void CDebugController::OnEdited()
{
    m_session.Edited();
    m_panels.Refresh(m_session, m_commands);
}

void CDebugController::OnRealTime51()
{
    CompilerSettings settings = m_host.Settings();
    settings.m_bFullSpeed51 = !settings.m_bFullSpeed51;
    m_host.ChangeSettings(settings);
}

void CDebugController::EndSession()
{
    if (m_state == DebugState::Idle || m_state == DebugState::Building)
        return;
    Shutdown();
    SetState(DebugState::Idle);
    m_panels.HideAll();
    if (CKorvaneView* view = m_host.SourceEditor()) {
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
    if (AfxMessageBox(IDS_DEBUG_STOP_TO_EDIT, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    EndSession();
    return true;
}
