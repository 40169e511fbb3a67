// Prints how fast CCpu8086 runs a CPU-bound DOS program beside the time DOSBox 0.74 took for
// the same program in the same run (bench/cpu8086.sh measures DOSBox and starts this):
//   cpu8086_bench PROGRAM.COM [DOSBOX-SECONDS]
// The program runs as a .COM in a bare machine whose only services end it (INT 20h, INT 21h
// function 4Ch) and swallow its output; once without and once with the step-back history.
#include "dos/Cpu8086.h"
#include "dos/ExecutionHistory.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

using namespace dos;

namespace {

constexpr uint16_t kProgramSegment = 0x1000;
constexpr uint16_t kComOrigin = 0x0100;
constexpr int kRuns = 3;

class CBenchBus : public IMachineBus {
public:
    uint8_t In(uint16_t) override { return 0xFF; }
    void Out(uint16_t, uint8_t) override {}
    uint8_t AcknowledgeInterrupt() override { return 0; }
    ServiceResult Service(uint8_t vector, CCpu8086& cpu) override
    {
        const bool end = vector == 0x20 || (vector == 0x21 && cpu.State().ah() == 0x4C);
        return end ? ServiceResult::Stop : ServiceResult::Done;
    }
};

// A PSP whose first bytes are INT 20h, the program behind it, every vector at the machine's
// handler.
void Load(CMemory& memory, CpuState& state, const std::vector<uint8_t>& program)
{
    for (unsigned vector = 0; vector < 256; ++vector) {
        memory.Write16(0, static_cast<uint16_t>(vector * 4), ServiceOffset(static_cast<uint8_t>(vector)));
        memory.Write16(0, static_cast<uint16_t>(vector * 4 + 2), kServiceSegment);
        memory.Write8(kServiceSegment, ServiceOffset(static_cast<uint8_t>(vector)), kServiceMark);
        memory.Write8(kServiceSegment, static_cast<uint16_t>(ServiceOffset(static_cast<uint8_t>(vector)) + 1), static_cast<uint8_t>(vector));
    }
    memory.Write8(kProgramSegment, 0, 0xCD);
    memory.Write8(kProgramSegment, 1, 0x20);
    memory.WriteBlock(CMemory::Linear(kProgramSegment, kComOrigin), program.data(), program.size());
    state = CpuState{};
    for (uint16_t& segment : state.seg) segment = kProgramSegment;
    state.ip = kComOrigin;
    state.sp() = 0xFFFE;
    memory.Write16(kProgramSegment, 0xFFFE, 0);
}

struct Timing {
    double seconds = 0;
    uint64_t instructions = 0;
};

// The best of a few runs, as the machine is shared.
Timing Measure(const std::vector<uint8_t>& program, bool history)
{
    Timing best;
    for (int run = 0; run < kRuns; ++run) {
        CMemory memory;
        CBenchBus bus;
        CCpu8086 cpu(memory, bus);
        Load(memory, cpu.State(), program);
        CExecutionHistory log;
        if (history) cpu.AttachHistory(&log);
        const auto start = std::chrono::steady_clock::now();
        const StopReason reason = cpu.Run(UINT64_MAX);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (reason != StopReason::Ended) {
            std::fprintf(stderr, "the program did not end (stop reason %d)\n", static_cast<int>(reason));
            std::exit(1);
        }
        if (run == 0 || seconds < best.seconds) best = {seconds, cpu.Executed()};
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: cpu8086_bench PROGRAM.COM [DOSBOX-SECONDS]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<uint8_t> program{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (program.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const Timing plain = Measure(program, false);
    const Timing recorded = Measure(program, true);
    std::printf("CPU-bound DOS program: %llu instructions\n", static_cast<unsigned long long>(plain.instructions));
    if (argc > 2) {
        const double dosbox = std::atof(argv[2]);
        std::printf("  DOSBox 0.74 (core=normal, cycles=max)   %7.2f s  %6.1f M instructions/s\n", dosbox,
                    plain.instructions / dosbox / 1e6);
        std::printf("  CCpu8086                                 %7.2f s  %6.1f M instructions/s  %.1f times DOSBox's speed\n",
                    plain.seconds, plain.instructions / plain.seconds / 1e6, dosbox / plain.seconds);
    } else {
        std::printf("  CCpu8086                                 %7.2f s  %6.1f M instructions/s\n", plain.seconds,
                    plain.instructions / plain.seconds / 1e6);
    }
    std::printf("  CCpu8086 with the step-back history      %7.2f s  %6.1f M instructions/s  %.2f of the speed without\n",
                recorded.seconds, recorded.instructions / recorded.seconds / 1e6, plain.seconds / recorded.seconds);
    return 0;
}
