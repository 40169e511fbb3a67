// The 8051 under the debugger: counted steps, runs to breakpoints at the chip's pace, and the
// serial output and port latches as the program leaves them.
#include "debug/Target51.h"

#include "debug/DebugResources.h"
#include "debug/HexDump.h"
#include "debug/Panes51.h"

#include "mcs51/Disassembler51.h"

namespace mcs51 {

namespace {

// How often a run looks at a stop request and keeps the pace: often enough for a prompt pause,
// a millisecond of a 12 MHz chip at most.
constexpr uint64_t kPollInstructions = 512;
// At a real chip's pace a run hands back after this many machine cycles (10 ms), so that the
// session takes the user's input and shows the live panes as the program runs.
constexpr uint64_t kRealTimeRunCycles = 10000;
constexpr uint8_t kRet = 0x22;
constexpr uint8_t kReti = 0x32;

}

CTarget51::CTarget51(Mcs51Variant variant) : m_machine(variant)
{
    m_machine.SetHost(this);
    m_machine.EnableHistory(true);
    m_machine.SetStopAtSelfJump(true);
    m_machine.Attach(m_ports);
    m_machine.Attach(m_analyzer);
    m_machine.WatchTimers(&m_analyzer);
}

HexResult51 CTarget51::Load(std::string_view hex)
{
    const HexResult51 result = m_machine.LoadHex(hex);
    if (!result.Ok())
        return result;
    for (uint32_t address = 0; address < kCodeSize; ++address)
        m_code[address] = m_machine.Read(Mcs51Space::kCode, static_cast<uint16_t>(address));
    m_nExecuted = 0;
    m_barrier = BackLimit::None;
    m_nBarrierAt = 0;
    m_bSleeping = false;
    m_nPending = 0;
    RewindOutput(0);
    MarkChanges();
    return result;
}

void CTarget51::SetBoard(BoardKind51 kind)
{
    if (m_board)
        m_board->Detach(m_machine);
    m_board = std::make_unique<CBoard51>(kind);
    m_board->Attach(m_machine);
}

StopReason CTarget51::CountedStep()
{
    if (m_board)
        m_board->Follow();
    const uint16_t pc = m_machine.Pc();
    const StopReason stop = m_machine.Step();
    if (stop == StopReason::Ended)
        return StopReason::Ended;
    // An idle chip lets a cycle pass where it is; an interrupt wakes it and runs its first
    // instruction. Only a step that left the PC where it was can have been asleep.
    m_bSleeping = m_machine.Pc() == pc && (m_machine.Read(Mcs51Space::kSfr, kPCON) & kPconIDL) != 0;
    if (!m_bSleeping)
        ++m_nExecuted;
    // The receiver takes a byte whenever the devices catch up, also as the debugger reads them.
    if (m_machine.PendingSerialInput() < m_nPending) {
        m_barrier = BackLimit::SerialRead;
        m_nBarrierAt = m_nExecuted;
    }
    m_nPending = m_machine.PendingSerialInput();
    if (stop == StopReason::Paused)
        return StopReason::Paused;
    return m_bSleeping ? StopReason::Idle : StopReason::Limit;
}

uint32_t CTarget51::NameId() const
{
    return IDS_MACHINE_8051;
}

std::vector<std::unique_ptr<CDebugPane>> CTarget51::MakePanes(CDebugSession&)
{
    return CPanes51::Make(*this);
}

StopReason CTarget51::Step()
{
    m_bPaceGoesOn = false;
    return CountedStep();
}

std::string CTarget51::PlaceText() const
{
    return CHexDump::Hex4(static_cast<uint16_t>(Pc()));
}

Sentence CTarget51::FaultText() const
{
    return {IDS_FAULT_UNKNOWN, {PlaceText(), {}}};
}

StopReason CTarget51::Run(uint64_t budget)
{
    // A run that goes on from the last one's hand-back keeps its pace (and the lead it had).
    if (m_bRealTime && !m_bPaceGoesOn)
        m_pacer.Start(m_machine.Cycles());
    m_bPaceGoesOn = false;
    const uint64_t handBack = m_machine.Cycles() + kRealTimeRunCycles;
    for (uint64_t n = 0; n < budget; ++n) {
        if (n > 0 && m_breakpoints[m_machine.Pc()])
            return StopReason::Breakpoint;
        if (n % kPollInstructions == 0) {
            if (m_bStop.exchange(false, std::memory_order_relaxed))
                return StopReason::Paused;
            if (m_bRealTime)
                m_pacer.WaitFor(m_machine.Cycles());
            if (m_bRealTime && m_machine.Cycles() >= handBack) {
                m_bPaceGoesOn = true;
                return StopReason::Limit;
            }
        }
        const StopReason stop = CountedStep();
        if (stop != StopReason::Limit && stop != StopReason::Idle)
            return stop;
    }
    return StopReason::Limit;
}

void CTarget51::Feed(uint16_t byte)
{
    m_machine.QueueSerialInput(static_cast<uint8_t>(byte));
    ++m_nPending;
}

void CTarget51::RequestStop()
{
    m_bStop.store(true, std::memory_order_relaxed);
}

size_t CTarget51::StepBack(size_t count)
{
    size_t undone = 0;
    while (undone < count && m_machine.StepBack())
        ++undone;
    m_nExecuted -= undone;
    m_bSleeping = (m_machine.Read(Mcs51Space::kSfr, kPCON) & kPconIDL) != 0;
    return undone;
}

NextInstruction CTarget51::Next() const
{
    const uint16_t pc = m_machine.Pc();
    const Instruction51 instruction = CDisassembler51::At(m_code.data(), pc);
    NextInstruction next{pc, instruction.length, InstructionKind::Plain};
    if (instruction.call)
        next.kind = InstructionKind::Call;
    else if (m_code[pc] == kRet || m_code[pc] == kReti)
        next.kind = InstructionKind::Return;
    return next;
}

uint32_t CTarget51::StackDepth() const
{
    return m_machine.Registers().sp;
}

void CTarget51::SetBreakpoint(uint32_t address, bool set)
{
    m_breakpoints[address & 0xFFFF] = set;
}

bool CTarget51::HasBreakpoint(uint32_t address) const
{
    return m_breakpoints[address & 0xFFFF];
}

void CTarget51::Write(Mcs51Space space, uint16_t address, uint8_t value)
{
    m_machine.Write(space, address, value);
    if (space == Mcs51Space::kCode)
        m_code[address] = value;
}

size_t CTarget51::SpaceSize(Mcs51Space space) const
{
    switch (space) {
    case Mcs51Space::kIram: return m_machine.Variant() == Mcs51Variant::k8052 ? 256 : 128;
    case Mcs51Space::kSfr: return 128;
    case Mcs51Space::kXram: return kXramSize;
    case Mcs51Space::kCode: return kCodeSize;
    }
    return 0;
}

void CTarget51::MarkChanges()
{
    m_before = m_machine.Registers();
    for (const Mcs51Space space : {Mcs51Space::kIram, Mcs51Space::kSfr, Mcs51Space::kXram}) {
        std::string& bytes = m_spacesBefore[static_cast<size_t>(space)];
        bytes.resize(SpaceSize(space));
        const uint16_t first = space == Mcs51Space::kSfr ? 0x80 : 0;
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(m_machine.Read(space, static_cast<uint16_t>(first + i)));
    }
}

bool CTarget51::ByteChanged(Mcs51Space space, uint16_t address)
{
    return ByteBefore(space, address) != m_machine.Read(space, address);
}

uint8_t CTarget51::ByteBefore(Mcs51Space space, uint16_t address)
{
    const std::string& bytes = m_spacesBefore[static_cast<size_t>(space)];
    const size_t index = space == Mcs51Space::kSfr ? (address & 0x7F) : address;
    if (index >= bytes.size())
        return m_machine.Read(space, address);
    return static_cast<uint8_t>(bytes[index]);
}

std::string CTarget51::SerialText() const
{
    std::lock_guard<std::mutex> lock(m_serialLock);
    return m_serial;
}

size_t CTarget51::OutputMark() const
{
    std::lock_guard<std::mutex> lock(m_serialLock);
    return m_serial.size();
}

void CTarget51::RewindOutput(size_t length)
{
    std::lock_guard<std::mutex> lock(m_serialLock);
    if (length < m_serial.size())
        m_serial.resize(length);
}

void CTarget51::OnSerialOut(uint8_t byte, bool)
{
    std::lock_guard<std::mutex> lock(m_serialLock);
    m_serial.push_back(static_cast<char>(byte));
}

}  // namespace mcs51
