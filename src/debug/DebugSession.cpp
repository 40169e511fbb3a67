// The session: the steps as runs of the target with goals (an address at a stack depth, a
// return), the waits for keys and time a running program makes, and the record of the user's
// steps that a step back undoes.
#include "debug/DebugSession.h"

#include "debug/DebugTargets.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace {

// Instructions a run takes between looks at input and a pause (a few milliseconds).
constexpr uint64_t kSlice = uint64_t{1} << 18;
// How often a running program's live panes are looked at for other threads.
constexpr auto kPublishInterval = std::chrono::milliseconds(20);
// No more steps are kept than the history could undo.
constexpr size_t kMaxActions = size_t{1} << 17;
constexpr auto kLongestSleep = std::chrono::milliseconds(20);

}

CDebugSession::~CDebugSession()
{
    Stop();
}

StopInfo CDebugSession::Start(DebugLaunch launch)
{
    Stop();
    StopInfo failed{SessionResult::LoadFailed};
    std::unique_ptr<IDebugTarget> target = DebugTargets::Load(launch, failed.failure);
    if (!target)
        return m_last = failed;
    return Start(std::move(target), std::move(launch));
}

StopInfo CDebugSession::Start(std::unique_ptr<IDebugTarget> target, DebugLaunch launch)
{
    Stop();
    {
        std::lock_guard<std::mutex> lock(m_targetLock);
        m_target = std::move(target);
    }
    m_target->SetClockRunning(false);
    m_panes = m_target->MakePanes(*this);
    m_map = std::move(launch.sourceMap);
    for (const SourceLine& line : launch.breakpoints)
        SetLineBreakpoint(line, true);
    for (const uint32_t address : launch.addressBreakpoints)
        SetAddressBreakpoint(address, true);
    SetState(RunState::Stopped);
    PublishLive();
    return m_last = StopInfo{SessionResult::Started};
}

void CDebugSession::Stop()
{
    m_panes.clear();
    {
        std::lock_guard<std::mutex> lock(m_targetLock);
        m_target.reset();
    }
    {
        std::lock_guard<std::mutex> lock(m_liveLock);
        m_live.clear();
    }
    {
        std::lock_guard<std::mutex> lock(m_inputLock);
        m_input.clear();
        m_bInput.store(false);
    }
    m_map = CSourceMap();
    m_userBreakpoints.clear();
    m_temporaries.clear();
    m_actions.clear();
    m_last = StopInfo{};
    m_bPause.store(false);
    SetState(RunState::NoProgram);
}

StopInfo CDebugSession::Act(const std::function<StopInfo()>& step)
{
    if (!m_target)
        return m_last = StopInfo{};
    m_target->MarkChanges();
    const Action action{m_target->Executed(), m_target->OutputMark()};
    SetState(RunState::Running);
    m_target->SetClockRunning(true);
    const StopInfo info = step();
    m_target->SetClockRunning(false);
    // A pause is for the run under way: one that came as it ended stops no later one.
    m_bPause.store(false);
    if (m_target->Executed() != action.executed) {
        m_actions.push_back(action);
        if (m_actions.size() > kMaxActions)
            m_actions.pop_front();
    }
    SetState(info.Ended() ? RunState::Ended : RunState::Stopped);
    PublishLive();
    return m_last = info;
}

StopInfo CDebugSession::Stopped(StopReason reason) const
{
    switch (reason) {
    case StopReason::Breakpoint:
    case StopReason::Paused:
    case StopReason::Faulted: return StopInfo::Ran(reason);
    case StopReason::Ended: return StopInfo::Ran(reason, m_target->ExitCode());
    case StopReason::Limit:
    case StopReason::WaitingForInput:
    case StopReason::Idle: break;
    }
    return StopInfo::Ran(StopReason::Limit);
}

StopReason CDebugSession::Advance(bool single)
{
    for (;;) {
        DeliverInput();
        if (m_bPause.load(std::memory_order_relaxed))
            return StopReason::Paused;
        const uint64_t before = m_target->Executed();
        const bool sleeping = m_target->Sleeping();
        const StopReason stop = single ? m_target->Step() : m_target->Run(kSlice);
        if (std::chrono::steady_clock::now() >= m_nextPublish)
            PublishLive();
        switch (stop) {
        case StopReason::Limit:
            if (single)
                return stop;
            break;
        case StopReason::Paused:
            // A request that came after the last run ended is no reason to stop this one.
            if (m_bPause.load(std::memory_order_relaxed))
                return stop;
            break;
        case StopReason::WaitingForInput:
            if (!WaitForInput())
                return StopReason::Paused;
            break;
        case StopReason::Idle:
            // A step that put the CPU to sleep is done; one that found it asleep waits.
            if (single && !sleeping && m_target->Executed() != before)
                return StopReason::Limit;
            WaitForTime();
            break;
        case StopReason::Breakpoint:
        case StopReason::Ended:
        case StopReason::Faulted: return stop;
        }
    }
}

StopInfo CDebugSession::RunTo(uint32_t address, uint32_t depth)
{
    const bool temporary = !m_target->HasBreakpoint(address);
    if (temporary)
        m_target->SetBreakpoint(address, true);
    StopInfo info;
    for (;;) {
        const StopReason stop = Advance(false);
        if (stop != StopReason::Breakpoint) {
            info = Stopped(stop);
            break;
        }
        const uint32_t pc = m_target->Pc();
        if (pc == address && m_target->StackDepth() <= depth) {
            info = StopInfo::Ran(StopReason::Limit);
            break;
        }
        if (m_userBreakpoints.count(pc) || m_temporaries.count(pc)) {
            info = StopInfo::Ran(StopReason::Breakpoint);
            break;
        }
    }
    if (temporary)
        m_target->SetBreakpoint(address, false);
    return info;
}

StopInfo CDebugSession::StepOverNext(const NextInstruction& next, bool withLoops)
{
    const bool over = next.kind == InstructionKind::Call || next.kind == InstructionKind::Interrupt ||
                      next.kind == InstructionKind::RepString || (withLoops && next.kind == InstructionKind::Loop);
    if (!over || next.length == 0)
        return Stopped(Advance(true));
    return RunTo(m_target->AddressAfter(next), m_target->StackDepth());
}

StopInfo CDebugSession::StepInto()
{
    return Act([this] { return Stopped(Advance(true)); });
}

StopInfo CDebugSession::StepOver(bool withLoops)
{
    return Act([this, withLoops] { return StepOverNext(m_target->Next(), withLoops); });
}

// Steps through the procedure (running its calls through whole) until a return leaves it.
StopInfo CDebugSession::StepOut()
{
    return Act([this] {
        for (;;) {
            const NextInstruction next = m_target->Next();
            if (next.kind == InstructionKind::Return)
                return Stopped(Advance(true));
            const StopInfo info = StepOverNext(next, false);
            if (info.reason != StopReason::Limit)
                return info;
            if (m_userBreakpoints.count(m_target->Pc()))
                return StopInfo::Ran(StopReason::Breakpoint);
        }
    });
}

StopInfo CDebugSession::RunToLine(const SourceLine& line)
{
    const std::optional<uint32_t> address = AddressOfLine(line);
    if (!address)
        return m_last = StopInfo{SessionResult::NoCode};
    return RunToAddress(*address);
}

StopInfo CDebugSession::RunToAddress(uint32_t address)
{
    return Act([this, address] { return RunTo(address, std::numeric_limits<uint32_t>::max()); });
}

StopInfo CDebugSession::Continue(const std::vector<uint32_t>& temporary)
{
    return Act([this, &temporary] {
        for (const uint32_t address : temporary) {
            if (!m_target->HasBreakpoint(address) && m_temporaries.insert(address).second)
                m_target->SetBreakpoint(address, true);
        }
        const StopInfo info = Stopped(Advance(false));
        for (const uint32_t address : m_temporaries)
            m_target->SetBreakpoint(address, false);
        m_temporaries.clear();
        return info;
    });
}

StopInfo CDebugSession::StepBack()
{
    if (!m_target)
        return m_last = StopInfo{};
    if (m_actions.empty()) {
        const bool cut = m_target->Barrier() != BackLimit::None && m_target->BarrierAt() >= m_target->Executed();
        return m_last = StopInfo{SessionResult::BackRefused, StopReason::Limit, cut ? m_target->Barrier() : BackLimit::Start};
    }
    const Action action = m_actions.back();
    const uint64_t count = m_target->Executed() - action.executed;
    if (count > m_target->BackDepth()) {
        const bool cut = m_target->Barrier() != BackLimit::None && m_target->BarrierAt() > action.executed;
        return m_last = StopInfo{SessionResult::BackRefused, StopReason::Limit,
                                 cut ? m_target->Barrier() : BackLimit::HistoryExhausted};
    }
    m_target->MarkChanges();
    m_target->StepBack(static_cast<size_t>(count));
    m_target->RewindOutput(action.output);
    m_actions.pop_back();
    SetState(RunState::Stopped);
    PublishLive();
    return m_last = StopInfo{SessionResult::SteppedBack};
}

void CDebugSession::ClearPause()
{
    m_bPause.store(false);
}

void CDebugSession::Pause()
{
    m_bPause.store(true);
    {
        std::lock_guard<std::mutex> lock(m_targetLock);
        if (m_target)
            m_target->RequestStop();
    }
    std::lock_guard<std::mutex> lock(m_inputLock);
    m_inputReady.notify_all();
}

void CDebugSession::Point(int x, int y, unsigned buttons)
{
    std::lock_guard<std::mutex> lock(m_targetLock);
    if (m_target)
        m_target->Point(x, y, buttons);
}

void CDebugSession::Feed(uint16_t input)
{
    std::lock_guard<std::mutex> lock(m_inputLock);
    m_input.push_back(input);
    m_bInput.store(true);
    m_inputReady.notify_all();
}

void CDebugSession::DeliverInput()
{
    if (!m_bInput.load(std::memory_order_relaxed))
        return;
    std::lock_guard<std::mutex> lock(m_inputLock);
    for (const uint16_t input : m_input)
        m_target->Feed(input);
    m_input.clear();
    m_bInput.store(false);
}

bool CDebugSession::WaitForInput()
{
    SetState(RunState::WaitingForKey);
    PublishLive();
    {
        std::unique_lock<std::mutex> lock(m_inputLock);
        m_inputReady.wait(lock, [this] { return !m_input.empty() || m_bPause.load(); });
    }
    SetState(RunState::Running);
    return !m_bPause.load();
}

void CDebugSession::WaitForTime()
{
    const auto wait = std::min<std::chrono::microseconds>(m_target->UntilWake(), kLongestSleep);
    if (wait.count() <= 0)
        return;
    std::unique_lock<std::mutex> lock(m_inputLock);
    m_inputReady.wait_for(lock, wait, [this] { return !m_input.empty() || m_bPause.load(); });
}

CDebugPane* CDebugSession::Pane(uint16_t id) const
{
    for (const std::unique_ptr<CDebugPane>& pane : m_panes)
        if (pane->Info().id == id)
            return pane.get();
    return nullptr;
}

PaneContent CDebugSession::Content(const CDebugPane& pane, PaneQuery query) const
{
    query.sourceMap = &m_map;
    return pane.Content(query);
}

// The live panes' content, made on the thread that runs the program, for the window's thread.
void CDebugSession::PublishLive()
{
    m_nextPublish = std::chrono::steady_clock::now() + kPublishInterval;
    std::vector<std::pair<uint16_t, PaneContent>> live;
    for (const std::unique_ptr<CDebugPane>& pane : m_panes)
        if (pane->Info().live)
            live.emplace_back(pane->Info().id, Content(*pane, PaneQuery{}));
    std::lock_guard<std::mutex> lock(m_liveLock);
    m_live = std::move(live);
}

PaneContent CDebugSession::LiveContent(uint16_t id) const
{
    std::lock_guard<std::mutex> lock(m_liveLock);
    for (const auto& [pane, content] : m_live)
        if (pane == id)
            return content;
    return {};
}

std::optional<uint32_t> CDebugSession::AddressOfLine(const SourceLine& line) const
{
    if (!m_target)
        return std::nullopt;
    const std::optional<uint32_t> offset = m_map.OffsetOf(line);
    if (!offset)
        return std::nullopt;
    return m_target->ImageBase() + *offset;
}

bool CDebugSession::SetLineBreakpoint(const SourceLine& line, bool set)
{
    const std::optional<uint32_t> address = AddressOfLine(line);
    if (!address)
        return false;
    SetAddressBreakpoint(*address, set);
    return true;
}

void CDebugSession::SetAddressBreakpoint(uint32_t address, bool set)
{
    if (!m_target)
        return;
    if (set)
        m_userBreakpoints.insert(address);
    else
        m_userBreakpoints.erase(address);
    m_target->SetBreakpoint(address, set);
}

std::optional<SourceLine> CDebugSession::CurrentLine() const
{
    if (!m_target || m_map.empty())
        return std::nullopt;
    const uint32_t pc = m_target->Pc();
    const uint32_t base = m_target->ImageBase();
    if (pc < base)
        return std::nullopt;
    return m_map.LineAt(pc - base);
}
