// Prints the 8051 simulator's speed in simulated machine cycles a second against a real
// 8051 with a 12 MHz crystal (1,000,000 machine cycles a second), for a loop of ordinary
// instructions, for the same loop with a timer interrupt, a serial port sending and a port
// written on every round (a device on the pins told of each write), and for that with a
// device called every millisecond; then how closely real-time pacing keeps to the clock.
//   mcs51_bench
#include "mcs51/Machine51.h"
#include "mcs51/Pacer51.h"
#include "support/BenchProcess.h"

#include <cstdio>
#include <memory>
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
double Speed(const std::vector<uint8_t>& code, CCountingHost& host, CCountingDevice* device = nullptr)
{
    std::vector<double> speeds;
    for (int run = 0; run <= kRuns; ++run) {
        auto machine = std::make_unique<CMachine51>();
        machine->LoadBinary(std::string(code.begin(), code.end()));
        machine->SetHost(&host);
        if (device)
            machine->Attach(*device);
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
    return 0;
}
