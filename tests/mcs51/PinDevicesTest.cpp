// Devices on the port pins: the latch writes they hear and when, the pins they drive as the
// program and the external interrupts see them, their calls at the cycles they ask for, the
// ports device's text and LEDs, and korvane-51.exe printing the devices' views at given cycles.
#include "Mcs51TestSupport.h"

#include "mcs51/PortsDevice51.h"

#include <gtest/gtest.h>

#include <functional>

using namespace mcs51;

namespace {
struct LatchEvent {
    unsigned port;
    uint8_t latch;
    uint64_t cycle;
    bool operator==(const LatchEvent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LatchEvent& e)
{
    return out << "P" << e.port << "=" << std::hex << int(e.latch) << std::dec << " at " << e.cycle;
}

// Drives a port at a cycle.
struct PinAction {
    uint64_t cycle;
    unsigned port;
    uint8_t drive;
};

// A device that notes what it hears and plays its actions at their cycles.
class CProbe : public IPinDevice51 {
public:
    explicit CProbe(std::vector<PinAction> actions = {}) : m_actions(std::move(actions)) {}

    std::string_view Name() const override { return "probe"; }
    machine::DeviceView View() const override { return {"probe\r\n", {}}; }
    void OnAttach(const CPinLink51& link) override
    {
        m_link = link;
        AskForNext();
    }
    void OnLatch(unsigned port, uint8_t latch, uint64_t cycle) override
    {
        latches.push_back({port, latch, cycle});
        if (answer)
            answer(m_link, port, latch);
    }
    void OnCycle(uint64_t cycle) override
    {
        calls.push_back(cycle);
        for (; m_nNext < m_actions.size() && m_actions[m_nNext].cycle <= cycle; ++m_nNext)
            m_link.Drive(m_actions[m_nNext].port, m_actions[m_nNext].drive);
        AskForNext();
    }
    void OnReset() override { ++resets; }

    CPinLink51& Link() { return m_link; }

    std::vector<LatchEvent> latches;
    std::vector<uint64_t> calls;
    int resets = 0;
    std::function<void(CPinLink51&, unsigned, uint8_t)> answer;

private:
    void AskForNext()
    {
        if (m_nNext < m_actions.size())
            m_link.CallAt(m_actions[m_nNext].cycle);
    }

    std::vector<PinAction> m_actions;
    size_t m_nNext = 0;
    CPinLink51 m_link;
};

const Bytes51 kEnd = {0x80, 0xFE};

Bytes51 Then(Bytes51 code, const Bytes51& more)
{
    code.insert(code.end(), more.begin(), more.end());
    return code;
}

struct LatchCase {
    const char* what;
    Bytes51 code;
    std::vector<LatchEvent> heard;
};

// Intel: a new latch value arrives in S6P2 of the writing instruction's last cycle.
const LatchCase kLatchCases[] = {
    {"MOV P1,#data in its second cycle", {0x75, 0x90, 0x55}, {{1, 0x55, 1}}},
    {"CPL P1.0 in its only cycle, after a NOP", {0x00, 0xB2, 0x90}, {{1, 0xFE, 1}}},
    {"INC P0 and DEC P0 one cycle each", {0x05, 0x80, 0x15, 0x80}, {{0, 0x00, 0}, {0, 0xFF, 1}}},
    {"ANL P2,#data reads the latch and writes in its second cycle", {0x53, 0xA0, 0x0F}, {{2, 0x0F, 1}}},
    {"DJNZ P2 in its second cycle", {0xD5, 0xA0, 0x00}, {{2, 0xFE, 1}}},
    {"MOV P1.7,C in its second cycle", {0xC3, 0x92, 0x97}, {{1, 0x7F, 2}}},
    {"POP P3 after two two-cycle moves", {0x75, 0x81, 0x30, 0x75, 0x30, 0x0F, 0xD0, 0xB0}, {{3, 0x0F, 5}}},
    {"writes that leave the latch as it was tell nothing", {0xD2, 0xB2, 0x75, 0xA0, 0xFF, 0x43, 0x80, 0x01}, {}},
};

TEST(PinDevices, HearLatchWritesInTheInstructionsLastCycle)
{
    for (const LatchCase& c : kLatchCases) {
        SCOPED_TRACE(c.what);
        auto machine = MachineWith(Then(c.code, kEnd));
        machine->SetStopAtSelfJump(true);
        CProbe probe;
        machine->Attach(probe);
        ASSERT_EQ(machine->Run(1000), machine::StopReason::Ended);
        EXPECT_EQ(probe.latches, c.heard);
        machine->Detach(probe);
    }
}

TEST(PinDevices, HearTheDebuggersEditsAndTheReset)
{
    // MOV P1,#12h; NOPs
    auto machine = MachineWith({0x75, 0x90, 0x12, 0x00, 0x00, 0x00});
    CProbe probe;
    machine->Attach(probe);
    machine->Run(4);
    machine->Write(Mcs51Space::kSfr, kP2, 0x34);
    EXPECT_EQ(probe.latches, (std::vector<LatchEvent>{{1, 0x12, 1}, {2, 0x34, 4}}));
    probe.latches.clear();
    machine->Reset();
    EXPECT_EQ(probe.resets, 1);
    EXPECT_EQ(probe.latches, (std::vector<LatchEvent>{{1, 0xFF, 0}, {2, 0xFF, 0}}));
}

struct WaitCase {
    uint64_t release;
    // Where the device is called: the first instruction boundary at or after its cycle.
    uint64_t called;
    uint64_t end;
};

// JB P3.2,$ (two cycles a round); MOV R7,#1; SJMP $. The loop reads the pin in the round
// that starts at the boundary where the device pulled it low.
const WaitCase kWaitCases[] = {
    {0, 0, 3},
    {500, 500, 503},
    {501, 502, 505},
};

TEST(PinDevices, DriveThePinsTheProgramReadsAtTheCycleTheyAskFor)
{
    for (const WaitCase& c : kWaitCases) {
        SCOPED_TRACE(c.release);
        auto machine = MachineWith({0x20, 0xB2, 0xFD, 0x7F, 0x01, 0x80, 0xFE});
        machine->SetStopAtSelfJump(true);
        CProbe probe({{c.release, 3, static_cast<uint8_t>(~kPinINT0)}});
        machine->Attach(probe);
        EXPECT_EQ(machine->Run(100000), machine::StopReason::Ended);
        EXPECT_EQ(probe.calls, std::vector<uint64_t>{c.called});
        EXPECT_EQ(machine->Cycles(), c.end);
        EXPECT_EQ(machine->Registers().r[7], 1);
        machine->Detach(probe);
    }
}

// LJMP 30h; at 03h: INC R7, RETI; at 30h: the test's setup, then SJMP $.
Bytes51 Int0Counter(const Bytes51& setup)
{
    Bytes51 code(0x30, 0x00);
    code[0] = 0x02;
    code[2] = 0x30;
    code[3] = 0x0F;
    code[4] = 0x32;
    return Then(Then(code, setup), kEnd);
}

TEST(PinDevices, RaiseInt0EdgesAtTheCyclesTheyAskFor)
{
    // SETB IT0; MOV IE,#81h: the SJMP $ runs from cycle 5, a round every two cycles.
    auto machine = MachineWith(Int0Counter({0xD2, 0x88, 0x75, 0xA8, 0x81}));
    const uint8_t low = static_cast<uint8_t>(~kPinINT0);
    CProbe probe({{1001, 3, low}, {1101, 3, 0xFF}, {1201, 3, low}});
    machine->Attach(probe);
    // The pin falls at 1001; the flag is polled in the jump's last cycle, 1002; the call
    // takes 1003 and 1004.
    ASSERT_TRUE(RunTo(*machine, 0x0003, 2000));
    EXPECT_EQ(machine->Cycles(), 1005u);
    machine->Run(2000);
    // The routine (INC R7 at 1005, RETI) puts the jump's rounds on even cycles.
    EXPECT_EQ(probe.calls, (std::vector<uint64_t>{1001, 1102, 1202}));
    EXPECT_EQ(machine->Registers().r[7], 2);
    machine->Detach(probe);
}

TEST(PinDevices, WakeAnIdleChipThroughInt0)
{
    // SETB IT0; MOV IE,#81h; ORL PCON,#01h (idle from cycle 7); INC R6
    auto machine = MachineWith(Int0Counter({0xD2, 0x88, 0x75, 0xA8, 0x81, 0x43, 0x87, 0x01, 0x0E}));
    CProbe probe({{5000, 3, static_cast<uint8_t>(~kPinINT0)}});
    machine->Attach(probe);
    // Idle, the chip polls every cycle: the flag from 5000 is taken at 5001, the call's two
    // cycles follow, then the routine's INC R7 (a step that wakes the chip runs it too).
    ASSERT_TRUE(RunTo(*machine, 0x0004, 10000));
    EXPECT_EQ(machine->Cycles(), 5004u);
    machine->Run(100);
    EXPECT_EQ(machine->Registers().r[7], 1);
    EXPECT_EQ(machine->Registers().r[6], 1);
    machine->Detach(probe);
}

TEST(PinDevices, AnswerALatchWriteBeforeTheNextInstructionReadsThePins)
{
    // A 4x4 keypad's key at row 2, column 1: the rows on P1.0-P1.3, the columns on P1.4-P1.7.
    const auto keypad = [](CPinLink51& link, unsigned port, uint8_t latch) {
        if (port == 1)
            link.Drive(1, (latch & 0x04) ? 0xFF : 0xDF);
    };
    for (unsigned row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        const auto scan = static_cast<uint8_t>(~(1u << row));
        // MOV P1,#scan; MOV A,P1; MOV P1,#0FFh; MOV B,P1
        auto machine = MachineWith({0x75, 0x90, scan, 0xE5, 0x90, 0x75, 0x90, 0xFF, 0x85, 0x90, 0xF0, 0x80, 0xFE});
        machine->SetStopAtSelfJump(true);
        CProbe probe;
        probe.answer = keypad;
        machine->Attach(probe);
        machine->Run(1000);
        EXPECT_EQ(machine->Registers().a, row == 2 ? 0xDB : scan);
        EXPECT_EQ(machine->Registers().b, 0xFF);
        machine->Detach(probe);
    }
}

struct WiredCase {
    uint8_t latch;
    uint8_t first;
    uint8_t second;
    uint8_t outside;
    uint8_t pins;
};

const WiredCase kWiredCases[] = {
    {0xFF, 0xF0, 0x3F, 0xFF, 0x30},
    {0x0F, 0xFF, 0xFF, 0xFE, 0x0E},
    {0xFF, 0x7F, 0xFF, 0xFD, 0x7D},
};

TEST(PinDevices, PinsAreLowWhereverAnythingPullsThemLow)
{
    for (const WiredCase& c : kWiredCases) {
        auto machine = MachineWith(kEnd);
        CProbe first;
        CProbe second;
        machine->Attach(first);
        machine->Attach(second);
        machine->Write(Mcs51Space::kSfr, kP1, c.latch);
        first.Link().Drive(1, c.first);
        second.Link().Drive(1, c.second);
        machine->SetPortInput(1, c.outside);
        EXPECT_EQ(machine->PortPins(1), c.pins);
        // A detached device lets go of its pins; a reset lets go of the outside's drive.
        machine->Detach(first);
        EXPECT_EQ(machine->PortPins(1), c.latch & c.second & c.outside);
        machine->Reset();
        EXPECT_EQ(machine->PortPins(1), c.second);
        machine->Detach(second);
    }
}

TEST(PinDevices, ACallAskedAgainReplacesTheFirstAndAResetCancelsIt)
{
    auto machine = MachineWith({0x00, 0x80, 0xFD});
    CProbe probe;
    machine->Attach(probe);
    probe.Link().CallAt(100);
    probe.Link().CallAt(300);
    machine->Run(1000);
    probe.Link().CallAt(1500);
    probe.Link().CallAt(kNever);
    machine->Run(1000);
    probe.Link().CallAt(2500);
    machine->Reset();
    machine->Run(3000);
    EXPECT_EQ(probe.calls, std::vector<uint64_t>{300});
    EXPECT_EQ(probe.resets, 1);
    machine->Detach(probe);
}

TEST(PinDevices, StepBackTellsThemTheLatchesPutBack)
{
    // MOV P1,#55h; MOV P1,#0AAh; SJMP $
    auto machine = MachineWith({0x75, 0x90, 0x55, 0x75, 0x90, 0xAA, 0x80, 0xFE});
    machine->EnableHistory(true);
    CPortsDevice51 ports;
    CProbe probe;
    machine->Attach(ports);
    machine->Attach(probe);
    machine->Step();
    machine->Step();
    EXPECT_EQ(ports.View().text, "P0=FF P1=AA P2=FF P3=FF\r\n");
    ASSERT_TRUE(machine->StepBack());
    EXPECT_EQ(ports.View().text, "P0=FF P1=55 P2=FF P3=FF\r\n");
    ASSERT_TRUE(machine->StepBack());
    EXPECT_EQ(ports.Latch(1), 0xFF);
    EXPECT_EQ(probe.latches, (std::vector<LatchEvent>{{1, 0x55, 1}, {1, 0xAA, 3}, {1, 0x55, 2}, {1, 0xFF, 0}}));
    machine->Detach(probe);
    machine->Detach(ports);
}

TEST(PinDevices, TheMachineListsThemInTheOrderAttached)
{
    auto machine = MachineWith(kEnd);
    CPortsDevice51 ports;
    CProbe probe;
    machine->Attach(ports);
    machine->Attach(probe);
    machine->Attach(ports);
    std::vector<std::string_view> names;
    for (const machine::IDevice* device : machine->Devices())
        names.push_back(device->Name());
    EXPECT_EQ(names, (std::vector<std::string_view>{"ports", "probe"}));
    machine->Detach(ports);
    ASSERT_EQ(machine->Devices().size(), 1u);
    EXPECT_EQ(machine->Devices()[0]->View().text, "probe\r\n");
    machine->Detach(probe);
}

struct PortsCase {
    std::array<uint8_t, 4> latches;
    const char* text;
};

const PortsCase kPortsCases[] = {
    {{0xFF, 0xFF, 0xFF, 0xFF}, "P0=FF P1=FF P2=FF P3=FF\r\n"},
    {{0x80, 0x01, 0x00, 0x5A}, "P0=80 P1=01 P2=00 P3=5A\r\n"},
};

TEST(PortsDevice, ShowsTheLatchesAsTextAndAsLedsLitForAOne)
{
    for (const PortsCase& c : kPortsCases) {
        auto machine = MachineWith(kEnd);
        CPortsDevice51 ports;
        machine->Attach(ports);
        for (unsigned port = 0; port < 4; ++port)
            machine->Write(Mcs51Space::kSfr, PortSfr(port), c.latches[port]);
        machine::DeviceView view = ports.View();
        EXPECT_EQ(view.text, c.text);
        ASSERT_EQ(view.picture.kind, machine::ScreenImage::Kind::Pixels);
        const int pitch = CPortsDevice51::kLedPitch;
        ASSERT_EQ(view.picture.width, 8 * pitch);
        ASSERT_EQ(view.picture.height, 4 * pitch);
        for (unsigned port = 0; port < 4; ++port) {
            for (int bit = 7; bit >= 0; --bit) {
                SCOPED_TRACE(testing::Message() << "P" << port << "." << bit);
                const int left = (7 - bit) * pitch;
                const int top = static_cast<int>(port) * pitch;
                const bool lit = (c.latches[port] >> bit) & 1;
                EXPECT_EQ(view.picture.Pixel(left + pitch / 2, top + pitch / 2), lit ? CPortsDevice51::kLit : CPortsDevice51::kDark);
                EXPECT_EQ(view.picture.Pixel(left + 1, top + pitch / 2), CPortsDevice51::kRim);
                EXPECT_EQ(view.picture.Pixel(left, top), CPortsDevice51::kBoard);
            }
        }
        machine->Detach(ports);
    }
}

struct ObserveCase {
    const char* what;
    const wchar_t* options;
    unsigned long exitCode;
    const char* out;
};

// MOV P1,#55h (its latch at cycle 1); four NOPs; MOV P1,#0AAh (at 7); SJMP $ (the end, at 8).
const Bytes51 kTwoWrites = {0x75, 0x90, 0x55, 0x00, 0x00, 0x00, 0x00, 0x75, 0x90, 0xAA, 0x80, 0xFE};

const ObserveCase kObserveCases[] = {
    // A cycle shows what every instruction begun before it left: at 1, the MOV begun at 0.
    {"in the order of the cycles, after the end too", L"--observe 1000,8,1,0", 0,
        "[ports] cycle=0\r\nP0=FF P1=FF P2=FF P3=FF\r\n"
        "[ports] cycle=1\r\nP0=FF P1=55 P2=FF P3=FF\r\n"
        "[ports] cycle=8\r\nP0=FF P1=AA P2=FF P3=FF\r\n"
        "[ports] cycle=1000\r\nP0=FF P1=AA P2=FF P3=FF\r\n"},
    {"the registers as the program ended", L"--observe 7,500 --regs", 0,
        "[ports] cycle=7\r\nP0=FF P1=AA P2=FF P3=FF\r\n"
        "[ports] cycle=500\r\nP0=FF P1=AA P2=FF P3=FF\r\n"
        "\r\n-- serial end --\r\nPC=000A A=00 B=00 PSW=00 SP=07 DPTR=0000\r\nR0=00 R1=00 R2=00 R3=00 R4=00 R5=00 R6=00 R7=00\r\n"
        "cycles=8\r\nP0=FF P1=AA P2=FF P3=FF\r\n"},
    {"none past the cycle limit", L"--cycles 5 --observe 3,10", 1, "[ports] cycle=3\r\nP0=FF P1=55 P2=FF P3=FF\r\n"},
};

TEST(Runner, ObservePrintsTheDevicesViewsAtTheGivenCycles)
{
    CTempFile51 hex(L"observe.hex", HexOf(kTwoWrites));
    for (const ObserveCase& c : kObserveCases) {
        SCOPED_TRACE(c.what);
        const RunnerResult51 result = RunRunner(std::wstring(c.options) + L" \"" + hex.Path() + L"\"");
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
    }
}
}
