// The session: the steps as runs of the target with goals (an address at a stack depth, a
// return), the waits for keys and time a running program makes, and the record of the user's
// steps that a step back undoes.
#include "debug/DebugSession.h"

#include "debug/DebugTargets.h"

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

// Instructions a run takes between looks at input and a pause (a few milliseconds).
constexpr uint64_t kSlice = uint64_t{1} << 18;
// How often a running program's screen is shown to other threads.
constexpr auto kPublishInterval = std::chrono::milliseconds(20);
// No more steps are kept than the history could undo.
constexpr size_t kMaxActions = size_t{1} << 17;
constexpr auto kLongestSleep = std::chrono::milliseconds(20);

bool IsHexFile(const std::wstring& path)
{
    if (path.size() < 4)
        return false;
    std::wstring extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](wchar_t c) { return std::towlower(c); });
    return extension == L".hex";
}

bool ReadWholeFile(const std::wstring& path, std::string& text)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}

CDebugSession::~CDebugSession()
{
    Stop();
}

StopInfo CDebugSession::Start(DebugLaunch launch)
{
    Stop();
    ++m_nGeneration;
    std::unique_ptr<IDebugTarget> target;
    StopInfo failed{StopCause::LoadFailed};
    if (IsHexFile(launch.program)) {
        std::string text;
        failed.detail = -1;
        if (ReadWholeFile(launch.program, text))
            target = DebugTargets::Load51(text, launch.mcs8052, launch.realTime, failed.detail);
    } else {
        target = DebugTargets::LoadDos(launch.program, launch.folder, launch.tail, failed.detail);
    }
    if (!target)
        return m_last = failed;
    {
        std::lock_guard<std::mutex> lock(m_targetLock);
        m_target = std::move(target);
    }
    m_map = std::move(launch.sourceMap);
    for (const SourceLine& line : launch.breakpoints)
        SetLineBreakpoint(line, true);
    for (const uint32_t address : launch.addressBreakpoints)
        SetAddressBreakpoint(address, true);
    SetState(RunState::Stopped);
    PublishScreen();
    return m_last = StopInfo{StopCause::Started};
}

void CDebugSession::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_targetLock);
        m_target.reset();
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
    SetState(RunState::NoProgram);
}

StopInfo CDebugSession::Act(const std::function<StopInfo()>& step)
{
    if (!m_target)
        return m_last = StopInfo{};
    m_bPause.store(false);
    m_target->MarkChanges();
    const Action action{m_target->Executed(), m_target->OutputMark()};
    SetState(RunState::Running);
    const StopInfo info = step();
    if (m_target->Executed() != action.executed) {
        m_actions.push_back(action);
        if (m_actions.size() > kMaxActions)
            m_actions.pop_front();
    }
    const bool ended = info.cause == StopCause::Ended || info.cause == StopCause::Faulted;
    SetState(ended ? RunState::Ended : RunState::Stopped);
    PublishScreen();
    return m_last = info;
}

StopInfo CDebugSession::Stopped(TargetStop stop) const
{
    switch (stop) {
    case TargetStop::Breakpoint: return StopInfo{StopCause::Breakpoint};
    case TargetStop::Paused: return StopInfo{StopCause::Paused};
    case TargetStop::Ended: return StopInfo{StopCause::Ended, BackLimit::None, m_target->ExitCode()};
    case TargetStop::Faulted: return StopInfo{StopCause::Faulted};
    default: return StopInfo{StopCause::Stepped};
    }
}

TargetStop CDebugSession::Advance(bool single)
{
    for (;;) {
        DeliverInput();
        if (m_bPause.load(std::memory_order_relaxed))
            return TargetStop::Paused;
        const uint64_t before = m_target->Executed();
        const bool sleeping = m_target->Sleeping();
        const TargetStop stop = single ? m_target->Step() : m_target->Run(kSlice);
        if (std::chrono::steady_clock::now() >= m_nextPublish)
            PublishScreen();
        switch (stop) {
        case TargetStop::Limit:
            if (single)
                return stop;
            break;
        case TargetStop::Paused:
            // A request that came after the last run ended is no reason to stop this one.
            if (m_bPause.load(std::memory_order_relaxed))
                return stop;
            break;
        case TargetStop::WaitingForKey:
            if (!WaitForInput())
                return TargetStop::Paused;
            break;
        case TargetStop::Idle:
            // A step that put the CPU to sleep is done; one that found it asleep waits.
            if (single && !sleeping && m_target->Executed() != before)
                return TargetStop::Limit;
            WaitForTime();
            break;
        default:
            return stop;
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
        const TargetStop stop = Advance(false);
        if (stop != TargetStop::Breakpoint) {
            info = Stopped(stop);
            break;
        }
        const uint32_t pc = m_target->Pc();
        if (pc == address && m_target->StackDepth() <= depth) {
            info = StopInfo{StopCause::Stepped};
            break;
        }
        if (m_userBreakpoints.count(pc) || m_temporaries.count(pc)) {
            info = StopInfo{StopCause::Breakpoint};
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
            if (info.cause != StopCause::Stepped)
                return info;
            if (m_userBreakpoints.count(m_target->Pc()))
                return StopInfo{StopCause::Breakpoint};
        }
    });
}

StopInfo CDebugSession::RunToLine(const SourceLine& line)
{
    const std::optional<uint32_t> address = AddressOfLine(line);
    if (!address)
        return m_last = StopInfo{StopCause::NoCode};
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
        return m_last = StopInfo{StopCause::BackRefused, cut ? m_target->Barrier() : BackLimit::Start};
    }
    const Action action = m_actions.back();
    const uint64_t count = m_target->Executed() - action.executed;
    if (count > m_target->BackDepth()) {
        const bool cut = m_target->Barrier() != BackLimit::None && m_target->BarrierAt() > action.executed;
        return m_last = StopInfo{StopCause::BackRefused, cut ? m_target->Barrier() : BackLimit::HistoryExhausted};
    }
    m_target->MarkChanges();
    m_target->StepBack(static_cast<size_t>(count));
    m_target->RewindOutput(action.output);
    m_actions.pop_back();
    SetState(RunState::Stopped);
    PublishScreen();
    return m_last = StopInfo{StopCause::SteppedBack};
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

void CDebugSession::PressKey(uint16_t key)
{
    std::lock_guard<std::mutex> lock(m_inputLock);
    m_input.push_back(key);
    m_bInput.store(true);
    m_inputReady.notify_all();
}

void CDebugSession::SendSerial(uint8_t byte)
{
    PressKey(byte);
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
    PublishScreen();
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

void CDebugSession::PublishScreen()
{
    m_nextPublish = std::chrono::steady_clock::now() + kPublishInterval;
    ScreenCells screen;
    if (!m_target || !m_target->ReadScreen(screen))
        return;
    std::lock_guard<std::mutex> lock(m_screenLock);
    m_screen = screen;
}

ScreenCells CDebugSession::Screen() const
{
    std::lock_guard<std::mutex> lock(m_screenLock);
    return m_screen;
}

std::string CDebugSession::SerialText() const
{
    std::lock_guard<std::mutex> lock(m_targetLock);
    return m_target ? m_target->SerialText() : std::string();
}

std::array<uint8_t, 4> CDebugSession::Ports() const
{
    std::array<uint8_t, 4> ports{0xFF, 0xFF, 0xFF, 0xFF};
    std::lock_guard<std::mutex> lock(m_targetLock);
    if (m_target)
        for (unsigned port = 0; port < 4; ++port)
            ports[port] = m_target->PortLatch(port);
    return ports;
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
