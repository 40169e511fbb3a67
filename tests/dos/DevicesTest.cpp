// The machine's bus and time: a device of the test's own plugged into a port range and a memory
// region, the machine's own devices listed with their views, fixed time that gives the same run
// however it is sliced and through korvane-dos.exe, and a clock that stands still while stopped.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace dos;

namespace {

constexpr uint64_t kBudget = 50000000;

DosMachineSettings StreamSettings(MachinePace pace = {})
{
    DosMachineSettings settings;
    settings.pace = pace;
    return settings;
}

// Answers ports 300h-303h and the memory at D0000h-D0FFFh, noting what the program writes.
class CTestDevice final : public CBusDevice {
public:
    uint8_t In(uint16_t port) override { return port == 0x301 ? 0x20 : 0xEE; }
    void Out(uint16_t port, uint8_t value) override { outs.emplace_back(port, value); }
    uint8_t Read(uint32_t linear) override { return linear == 0xD0020 ? 0x03 : 0x00; }
    void Write(uint32_t linear, uint8_t value) override { writes.emplace_back(linear, value); }
    std::string_view Name() const override { return "test"; }
    machine::DeviceView View() const override { return {"test\r\n", {}}; }

    std::vector<std::pair<uint32_t, uint8_t>> outs;
    std::vector<std::pair<uint32_t, uint8_t>> writes;
};

TEST(DeviceBus, TakesADeviceOnAPortRangeAndAMemoryRegion)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), StreamSettings());
    CTestDevice device;
    machine.Bus().MapPorts(0x300, 0x303, device);
    machine.Bus().MapMemory(0xD0000, 0xD0FFF, device, CDeviceBus::Region::Trapped);
    ASSERT_EQ(machine.Load(DosTest::Program(L"DEVICES.COM"), ""), LoadError::None);

    EXPECT_EQ(machine.Run(kBudget), StopReason::Ended);

    EXPECT_EQ(machine.ExitCode(), 0x23);
    EXPECT_EQ(device.outs, (std::vector<std::pair<uint32_t, uint8_t>>{{0x300, 0x12}, {0x300, 0x34}}));
    EXPECT_EQ(device.writes, (std::vector<std::pair<uint32_t, uint8_t>>{{0xD0010, 0x5A}}));
    EXPECT_EQ(machine.Memory().Data()[0xD0010], 0) << "the device's bytes are not RAM";
    std::vector<std::string> names;
    for (const CBusDevice* each : machine.Devices())
        names.emplace_back(each->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"pic", "pit", "keyboard", "cmos", "video", "speaker", "mouse", "test"}));
}

TEST(DeviceBus, EachOfTheMachinesDevicesSaysWhatItShows)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), StreamSettings({0, true}));
    ASSERT_EQ(machine.Load(DosTest::Program(L"SCREEN.COM"), ""), LoadError::None);
    machine.Run(kBudget);
    struct Expected {
        const char* device;
        const char* text;
    } cases[] = {
        {"pic", "8259 IRR=00 ISR=00 IMR=FC"},
        {"pit", "8253 0: "},
        {"cmos", "RTC 2000-01-01 00:00:00"},
        {"video", "CGA 80x25 CRTC"},
        {"speaker", "speaker: low"},
        {"mouse", "x 320 y 100 buttons 0 hidden -1\r\nrange x 0-639 y 0-199 mickeys 0 0\r\nhandler 0000:0000 mask 0000\r\n"},
    };
    for (const Expected& c : cases) {
        const CBusDevice* found = nullptr;
        for (const CBusDevice* each : machine.Devices())
            if (each->Name() == c.device)
                found = each;
        ASSERT_NE(found, nullptr) << c.device;
        EXPECT_EQ(found->View().text.rfind(c.text, 0), 0u) << found->View().text;
    }
    const machine::ScreenImage screen = machine.Screen();
    ASSERT_EQ(screen.kind, machine::ScreenImage::Kind::Cells);
    EXPECT_EQ(screen.Cell(0, 0), 0x1E41);
    EXPECT_EQ(screen.Text().substr(2 * 82, 4), "tty ");
}

// The CMOS clock as a program sets it, through ports 70h and 71h and through INT 1Ah 03h and
// 05h (a value that is no BCD refused): DOS's date and time follow, and the clock keeps it.
TEST(DeviceBus, AProgramSetsTheCmosClockAndDosFollows)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), StreamSettings({0, true}));
    ASSERT_EQ(machine.Load(DosTest::Program(L"CMOS.COM"), ""), LoadError::None);
    EXPECT_EQ(machine.Run(kBudget), StopReason::Ended);
    EXPECT_EQ(machine.ExitCode(), 0) << "the first check that failed";
    for (const CBusDevice* each : machine.Devices()) {
        if (each->Name() == "cmos") {
            EXPECT_EQ(each->View().text.rfind("RTC 2025-12-09 13:30:", 0), 0u) << each->View().text;
        }
    }
}

// Fixed time follows the instructions alone: a run in slices of any size, or step by step
// through the first part, counts the same loops between the same ticks and reads the same
// timer, date and time.
TEST(MachineTime, FixedTimeGivesTheSameRunHoweverItIsSliced)
{
    struct Run {
        uint64_t slice;
        uint64_t steps;
    } runs[] = {{kBudget, 0}, {7, 0}, {65537, 1000}};
    std::vector<std::string> outputs;
    for (const Run& run : runs) {
        DosTest::CRecordingHost host;
        CDosMachine machine(host, std::make_unique<CHostDrive>(), StreamSettings({0, true}));
        ASSERT_EQ(machine.Load(DosTest::Program(L"TICKS.COM"), ""), LoadError::None);
        for (uint64_t i = 0; i < run.steps; ++i)
            machine.Step();
        StopReason reason = StopReason::Limit;
        for (int slices = 0; reason == StopReason::Limit && slices < 10000000; ++slices)
            reason = machine.Run(run.slice);
        EXPECT_EQ(reason, StopReason::Ended) << run.slice;
        outputs.push_back(host.output);
    }
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_EQ(outputs[2], outputs[0]);
    // Five ticks from midnight, the date and time from 2000.
    EXPECT_NE(outputs[0].find(" 0005 "), std::string::npos) << outputs[0];
    EXPECT_NE(outputs[0].find("2000 1 1 0 0 0 \r\n"), std::string::npos) << outputs[0];
}

TEST(MachineTime, KorvaneDosWithFixedTimePrintsTheSameTwice)
{
    DosTest::CScratchFolder folder;
    const std::wstring arguments = L"--fixed-time \"" + DosTest::Program(L"TICKS.COM") + L"\"";
    const DosTest::ProcessResult first = DosTest::RunRunner(arguments, folder.Path());
    const DosTest::ProcessResult second = DosTest::RunRunner(arguments, folder.Path());
    ASSERT_TRUE(first.ended);
    EXPECT_EQ(first.exitCode, 0u) << first.error;
    EXPECT_EQ(second.output, first.output);
    EXPECT_NE(first.output.find("2000 1 1 "), std::string::npos) << first.output;
}

// --observe prints what every device shows at the machine times asked for, in order, the same
// in two runs with fixed time.
TEST(MachineTime, KorvaneDosObservesTheDevicesAtTheTimesAskedFor)
{
    DosTest::CScratchFolder folder;
    const std::wstring arguments = L"--fixed-time --observe 60,0 \"" + DosTest::Program(L"TICKS.COM") + L"\"";
    const DosTest::ProcessResult first = DosTest::RunRunner(arguments, folder.Path());
    const DosTest::ProcessResult second = DosTest::RunRunner(arguments, folder.Path());
    ASSERT_TRUE(first.ended);
    EXPECT_EQ(first.exitCode, 0u) << first.error;
    EXPECT_EQ(second.output, first.output);
    const size_t atStart = first.output.find("[pic] time=0 ms\r\n8259 IRR=00 ISR=00 IMR=FC\r\n");
    const size_t later = first.output.find("[cmos] time=60 ms\r\nRTC 2000-01-01 00:00:00");
    EXPECT_NE(atStart, std::string::npos) << first.output;
    EXPECT_NE(later, std::string::npos) << first.output;
    EXPECT_LT(atStart, later);
    EXPECT_NE(first.output.find("[video] time=60 ms\r\nCGA 80x25"), std::string::npos) << first.output;
}

// Real time passes for the machine only while its clock runs: a program that waits for the
// timer's tick in HLT stays asleep while the clock is stopped, however long that lasts.
TEST(MachineTime, AStoppedClockLetsNoTickFallDue)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), StreamSettings());
    ASSERT_EQ(machine.Load(DosTest::Program(L"TICKS.COM"), ""), LoadError::None);
    machine.StopClock();
    const uint64_t before = machine.Clock().Now();
    const uint16_t ticks = machine.Memory().Read16(0x40, 0x6C);
    Sleep(120);
    EXPECT_EQ(machine.Clock().Now(), before);
    machine.Step();
    EXPECT_EQ(machine.Memory().Read16(0x40, 0x6C), ticks) << "no tick after 120 ms stopped";
    machine.StartClock();
    Sleep(120);
    EXPECT_GE(machine.Clock().Now() - before, 100000000u);
}

// A paced run keeps to its instructions a millisecond: it runs ahead of the host by at most a
// few milliseconds' worth, then says how long to wait.
TEST(MachineTime, APacedRunWaitsForTheHostToCatchUp)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), StreamSettings({1000, false}));
    ASSERT_EQ(machine.Load(DosTest::Program(L"FOREVER.COM"), ""), LoadError::None);
    EXPECT_EQ(machine.Run(kBudget), StopReason::Idle);
    EXPECT_LE(machine.Executed(), 100000u);
    EXPECT_GT(machine.UntilWake().count(), 0);
}

}  // namespace
