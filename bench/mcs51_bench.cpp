// Prints the 8051 simulator's speed in simulated machine cycles a second against a real
// 8051 with a 12 MHz crystal (1,000,000 machine cycles a second), for a loop of ordinary
// instructions, for the same loop with a timer interrupt, a serial port sending and a port
// written on every round (a device on the pins told of each write), and for that with a
// device called every millisecond; a multiplexed display's program without a board and with the
// pz board on its pins, side by side; then how closely real-time pacing keeps to the clock, and
// what the pz board costs of one core at a real chip's pace in the debugger's target (its pane's
// view made 50 times a second, as the window asks for it).
//   mcs51_bench
#include "debug/Target51.h"
#include "mcs51/Board51.h"
#include "mcs51/Machine51.h"
#include "mcs51/Pacer51.h"
#include "support/BenchProcess.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

using namespace mcs51;

namespace {
const int kRuns = 5;
const uint64_t kCycles = 200000000;
const double kRealChipCyclesPerSecond = 1e6;
// Real time: half a second of the chip in slices of a millisecond.
const uint64_t kPacedCycles = 500000;
const uint64_t kPacedSlice = 1000;

// MOV, ADD, MOVX, INC, MUL, CPL of a bit, RLC, CJNE and DJNZ over internal and external RAM.
const std::vector<uint8_t> kLoop = {0x78, 0x30, 0x79, 0x10, 0x90, 0x10, 0x00, 0xE8, 0x26, 0xF6, 0xF0, 0xA3, 0x08, 0x75,
    0xF0, 0x07, 0xA4, 0xB2, 0x00, 0x33, 0xB4, 0x55, 0x00, 0xD9, 0xEE, 0x80, 0xE5};

// The loop at 46h, CPL P1.0 in place of the RAM bit, with Timer 0 interrupting every 250
// cycles and the serial port sending 55h for ever at 10.4 kbaud from its interrupt.
std::vector<uint8_t> Lab()
{
    std::vector<uint8_t> code(0x46 + kLoop.size(), 0x00);
    const auto place = [&code](size_t at, std::initializer_list<uint8_t> bytes) { std::copy(bytes.begin(), bytes.end(), code.begin() + at); };
    place(0x00, {0x02, 0x00, 0x30});
    place(0x0B, {0x05, 0x40, 0x32});
    place(0x23, {0xC2, 0x99, 0x75, 0x99, 0x55, 0x32});
    place(0x30, {0x75, 0x89, 0x22, 0x75, 0x8C, 0x06, 0x75, 0x8D, 0xFD, 0x75, 0x98, 0x40, 0x75, 0xA8, 0x92, 0xD2, 0x8C, 0xD2,
        0x8E, 0x75, 0x99, 0x55});
    std::copy(kLoop.begin(), kLoop.end(), code.begin() + 0x46);
    place(0x46 + 17, {0xB2, 0x90});
    return code;
}

// A counter on eight multiplexed digits (tests/mcs51/boards/count.a51 as as31 assembles it):
// a digit a millisecond, P0 and P2 written for each.
const std::vector<uint8_t> kDisplay = {0x75, 0x81, 0x60, 0x78, 0x30, 0x76, 0x00, 0x08, 0xB8, 0x38, 0xFA, 0x7D, 0x19, 0x11,
    0x15, 0xDD, 0xFC, 0x11, 0x35, 0x80, 0xF6, 0x78, 0x30, 0x7A, 0x00, 0x75, 0x80, 0x00, 0xEA, 0xF4, 0x54, 0x07, 0x23, 0x23,
    0x44, 0x03, 0xF5, 0xA0, 0xE6, 0x90, 0x00, 0x4B, 0x93, 0xF5, 0x80, 0x11, 0x42, 0x08, 0x0A, 0xBA, 0x08, 0xE5, 0x22, 0x78,
    0x37, 0x06, 0xB6, 0x0A, 0x06, 0x76, 0x00, 0x18, 0xB8, 0x2F, 0xF6, 0x22, 0x7F, 0x02, 0x7E, 0xF8, 0xDE, 0xFE, 0xDF, 0xFA,
    0x22, 0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
// One second of the chip at its pace, the board's view every 20 ms.
const uint64_t kBoardPacedCycles = 1000000;
const double kViewEveryMs = 20;

// The code as Intel HEX records, as the debugger loads a program.
std::string HexOf(const std::vector<uint8_t>& code)
{
    std::string hex;
    char line[64];
    for (size_t at = 0; at < code.size(); at += 16) {
        const size_t count = std::min<size_t>(16, code.size() - at);
        unsigned sum = static_cast<unsigned>(count + (at >> 8) + (at & 0xFF));
        std::snprintf(line, sizeof line, ":%02X%04X00", static_cast<unsigned>(count), static_cast<unsigned>(at));
        hex += line;
        for (size_t i = 0; i < count; ++i) {
            std::snprintf(line, sizeof line, "%02X", code[at + i]);
            hex += line;
            sum += code[at + i];
        }
        std::snprintf(line, sizeof line, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
        hex += line;
    }
    return hex + ":00000001FF\r\n";
}

// The process's CPU time in milliseconds.
double CpuMs()
{
    FILETIME created{}, ended{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ms = [](const FILETIME& t) { return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

class CCountingHost : public IHost51 {
public:
    void OnSerialOut(uint8_t, bool) override { ++bytes; }
    uint64_t bytes = 0;
};

// A device on the pins that counts the latch writes it is told of and, when given a period,
// asks to be called that often (as a multiplexed display's scan would).
class CCountingDevice : public IPinDevice51 {
public:
    explicit CCountingDevice(uint64_t period = 0) : m_nPeriod(period) {}
    std::string_view Name() const override { return "counter"; }
    machine::DeviceView View() const override { return {}; }
    void OnAttach(const CPinLink51& link) override
    {
        m_link = link;
        if (m_nPeriod)
            m_link.CallAt(m_link.Cycle() + m_nPeriod);
    }
    void OnLatch(unsigned, uint8_t, uint64_t) override { ++writes; }
    void OnCycle(uint64_t cycle) override
    {
        ++calls;
        m_link.CallAt(cycle + m_nPeriod);
    }
    uint64_t writes = 0;
    uint64_t calls = 0;

private:
    uint64_t m_nPeriod;
    CPinLink51 m_link;
};

// Simulated machine cycles a second, the median of the runs.
double Speed(const std::vector<uint8_t>& code, CCountingHost& host, CCountingDevice* device = nullptr,
             std::optional<BoardKind51> board = std::nullopt)
{
    std::vector<double> speeds;
    for (int run = 0; run <= kRuns; ++run) {
        // Before the machine, which it outlives.
        std::unique_ptr<CBoard51> parts = board ? std::make_unique<CBoard51>(*board) : nullptr;
        auto machine = std::make_unique<CMachine51>();
        machine->LoadBinary(std::string(code.begin(), code.end()));
        machine->SetHost(&host);
        if (device)
            machine->Attach(*device);
        if (parts)
            parts->Attach(*machine);
        const double start = Now();
        machine->Run(kCycles);
        const double seconds = (Now() - start) / 1000;
        // The first run warms the caches and is not counted.
        if (run)
            speeds.push_back(static_cast<double>(machine->Cycles()) / seconds);
    }
    return Median(speeds);
}

void Report(const char* what, double speed)
{
    std::printf("%-58s %8.1f M cycles/s  %6.0f times the chip\n", what, speed / 1e6, speed / kRealChipCyclesPerSecond);
}

// The debugger's target running the display at the chip's pace, with the board or without:
// the CPU time it took against the time that passed, in percent of one core.
double CostAtPace(std::optional<BoardKind51> board)
{
    CTarget51 target;
    if (board)
        target.SetBoard(*board);
    target.SetRealTime(true);
    target.Load(HexOf(kDisplay));
    const double cpuStart = CpuMs();
    const double start = Now();
    double nextView = start;
    size_t shown = 0;
    while (target.Machine().Cycles() < kBoardPacedCycles) {
        target.Run(uint64_t{1} << 18);
        if (board && Now() >= nextView) {
            shown += target.Board()->View().text.size();
            nextView += kViewEveryMs;
        }
    }
    const double elapsed = Now() - start;
    const double cpu = CpuMs() - cpuStart;
    // A view alone, in CPU time.
    const double viewStart = CpuMs();
    for (int view = 0; board && view < 200; ++view)
        shown += target.Board()->View().text.size();
    std::printf("  (%.0f ms of the chip in %.0f ms, %zu bytes of views, a view in %.3f ms of CPU)\n", kBoardPacedCycles / 1000.0,
                elapsed, shown, (CpuMs() - viewStart) / 200);
    return 100 * cpu / elapsed;
}
}

int main()
{
    std::printf("8051 simulator, %llu machine cycles a run, median of %d; a real 8051 at 12 MHz: 1.0 M cycles/s\n",
        static_cast<unsigned long long>(kCycles), kRuns);
    CCountingHost quiet;
    Report("loop of ordinary instructions", Speed(kLoop, quiet));
    CCountingHost lab;
    CCountingDevice pins;
    Report("the same with timer interrupts, serial output, port writes", Speed(Lab(), lab, &pins));
    std::printf("  (%llu serial bytes and %llu port writes in all runs)\n", static_cast<unsigned long long>(lab.bytes),
        static_cast<unsigned long long>(pins.writes));
    CCountingHost scanned;
    CCountingDevice scan(1000);
    Report("that with a device called every 1000 cycles", Speed(Lab(), scanned, &scan));
    std::printf("  (%llu calls in all runs)\n", static_cast<unsigned long long>(scan.calls));
    CCountingHost bare;
    Report("a multiplexed display's program, no board", Speed(kDisplay, bare));
    CCountingHost pz;
    Report("the same on the pz board", Speed(kDisplay, pz, nullptr, BoardKind51::kPz));
    CCountingHost labOnPz;
    Report("timer interrupts, serial output, port writes on the pz board", Speed(Lab(), labOnPz, nullptr, BoardKind51::kPz));

    auto machine = std::make_unique<CMachine51>();
    const std::vector<uint8_t> code = Lab();
    machine->LoadBinary(std::string(code.begin(), code.end()));
    CPacer51 pacer;
    pacer.Start(0);
    const double start = Now();
    while (machine->Cycles() < kPacedCycles) {
        machine->Run(kPacedSlice);
        pacer.WaitFor(machine->Cycles());
    }
    const double elapsed = Now() - start;
    std::printf("real time: %.1f ms of the chip took %.1f ms (ratio %.3f)\n", kPacedCycles / 1000.0, elapsed,
        elapsed / (kPacedCycles / 1000.0));
    std::printf("the display at the chip's pace in the debugger's target, no board: %.1f%% of one core\n", CostAtPace(std::nullopt));
    std::printf("the same with the pz board and its view 50 times a second: %.1f%% of one core\n", CostAtPace(BoardKind51::kPz));
    return 0;
}
