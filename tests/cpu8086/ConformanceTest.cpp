// Runs the public single-step conformance tests recorded on a real 8086: each line is one
// instruction with the registers and memory before and after.
#include "dos/Cpu8086.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace dos;

#ifndef KORVANE_DEFAULT_CPU_TESTS
#define KORVANE_DEFAULT_CPU_TESTS ""
#endif

namespace {

// The order of the registers in the files.
enum FileRegister { kFileAx, kFileBx, kFileCx, kFileDx, kFileCs, kFileSs, kFileDs, kFileEs, kFileSp, kFileBp, kFileSi, kFileDi, kFileIp, kFileFlags, kFileRegisterCount };
constexpr const char* kRegisterNames[kFileRegisterCount] = {"ax", "bx", "cx", "dx", "cs", "ss", "ds", "es", "sp", "bp", "si", "di", "ip", "flags"};

using Registers = std::array<uint16_t, kFileRegisterCount>;
using Bytes = std::vector<std::pair<uint32_t, uint8_t>>;

struct Case {
    std::string name;
    Registers before{};
    Bytes memoryBefore;
    Registers after{};
    Bytes memoryAfter;
};

// The suite's interrupts all go through the vector table; its ports read FFh.
class CSuiteBus : public IMachineBus {
public:
    uint8_t In(uint16_t) override { return 0xFF; }
    void Out(uint16_t, uint8_t) override {}
    uint8_t AcknowledgeInterrupt() override { return 0; }
    ServiceResult Service(uint8_t vector, CCpu8086&) override
    {
        m_nServiceCalls += vector + 1;
        return ServiceResult::Done;
    }
    int m_nServiceCalls = 0;
};

Registers ParseRegisters(const std::string& text)
{
    Registers registers{};
    std::istringstream in(text);
    for (uint16_t& value : registers) in >> std::hex >> value;
    return registers;
}

Bytes ParseBytes(const std::string& text)
{
    Bytes bytes;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair) {
        const size_t colon = pair.find(':');
        bytes.emplace_back(std::stoul(pair.substr(0, colon), nullptr, 16), static_cast<uint8_t>(std::stoul(pair.substr(colon + 1), nullptr, 16)));
    }
    return bytes;
}

void LoadState(CpuState& state, const Registers& r)
{
    state.ax() = r[kFileAx];
    state.bx() = r[kFileBx];
    state.cx() = r[kFileCx];
    state.dx() = r[kFileDx];
    state.cs() = r[kFileCs];
    state.ss() = r[kFileSs];
    state.ds() = r[kFileDs];
    state.es() = r[kFileEs];
    state.sp() = r[kFileSp];
    state.bp() = r[kFileBp];
    state.si() = r[kFileSi];
    state.di() = r[kFileDi];
    state.ip = r[kFileIp];
    state.flags = r[kFileFlags];
}

Registers SaveState(CpuState& state)
{
    return {state.ax(), state.bx(), state.cx(), state.dx(), state.cs(), state.ss(), state.ds(), state.es(),
            state.sp(), state.bp(), state.si(), state.di(), state.ip, state.flags};
}

std::string Hex(unsigned value, int width)
{
    std::ostringstream out;
    out << std::hex << std::setfill('0') << std::setw(width) << value;
    return out.str();
}

// Runs one case; returns what differs, or nothing.
std::string RunCase(const Case& c, uint16_t flagsMask, CMemory& memory, CSuiteBus& bus)
{
    CCpu8086 cpu(memory, bus);
    for (const auto& [address, value] : c.memoryBefore) memory.Write8(address, value);
    LoadState(cpu.State(), c.before);
    // A repeated string instruction is one case: every element runs.
    do {
        cpu.Step();
    } while (cpu.InRepeat());
    const Registers got = SaveState(cpu.State());
    std::string differences;
    for (int i = 0; i < kFileRegisterCount; ++i) {
        const uint16_t mask = i == kFileFlags ? flagsMask : 0xFFFF;
        if ((got[i] & mask) != (c.after[i] & mask)) {
            differences += std::string(" ") + kRegisterNames[i] + "=" + Hex(got[i], 4) + " (expected " + Hex(c.after[i], 4) + ")";
        }
    }
    for (const auto& [address, value] : c.memoryAfter) {
        if (memory.Read8(address) != value) {
            differences += " [" + Hex(address, 5) + "]=" + Hex(memory.Read8(address), 2) + " (expected " + Hex(value, 2) + ")";
        }
    }
    if (bus.m_nServiceCalls != 0) differences += " a service was called";
    bus.m_nServiceCalls = 0;
    for (const auto& [address, value] : c.memoryBefore) memory.Write8(address, 0);
    for (const auto& [address, value] : c.memoryAfter) memory.Write8(address, 0);
    return differences;
}

std::filesystem::path SuiteFolder()
{
    const char* configured = std::getenv("KORVANE_CPU_TESTS");
    return std::filesystem::path(configured != nullptr && *configured ? configured : KORVANE_DEFAULT_CPU_TESTS);
}

struct FileResult {
    int cases = 0;
    int failed = 0;
    std::string firstFailure;
};

FileResult RunFile(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    uint16_t flagsMask = 0xFFFF;
    FileResult result;
    CMemory memory;
    CSuiteBus bus;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line[0] == '#') {
            const size_t at = line.find("flags-mask ");
            if (at != std::string::npos) flagsMask = static_cast<uint16_t>(std::stoul(line.substr(at + 11), nullptr, 16));
            continue;
        }
        std::array<std::string, 5> fields;
        std::istringstream columns(line);
        for (std::string& field : fields) std::getline(columns, field, '\t');
        const Case c{fields[0], ParseRegisters(fields[1]), ParseBytes(fields[2]), ParseRegisters(fields[3]), ParseBytes(fields[4])};
        ++result.cases;
        const std::string differences = RunCase(c, flagsMask, memory, bus);
        if (!differences.empty() && result.failed++ == 0) result.firstFailure = c.name + ":" + differences;
    }
    return result;
}

TEST(Conformance, EveryRecordedInstructionMatchesTheRealChip)
{
    const std::filesystem::path folder = SuiteFolder();
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << "no test folder at " << folder.string() << " (set KORVANE_CPU_TESTS)";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no *.txt in " << folder.string();
    int cases = 0;
    for (const auto& file : files) {
        const FileResult result = RunFile(file);
        cases += result.cases;
        EXPECT_EQ(result.failed, 0) << file.filename().string() << ": " << result.failed << " of " << result.cases
                                    << " failed; the first: " << result.firstFailure;
    }
    std::printf("%d cases in %d files\n", cases, static_cast<int>(files.size()));
}

}  // namespace
