// The lab box on the DOS machine: the classic experiments, written for preset 288 as the
// courses give them, run through korvane-dos.exe --labbox 288 --observe; and the box's
// stepper, its interrupt line to the PC, its presets' ports, a person's hand and its picture.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"
#include "labbox/LabBox.h"
#include "labbox/LabBoxPicture.h"

#include "support/ObservedLines.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using namespace dos;
using namespace labbox;

namespace {

using ObservedLines::Gbk;
using ObservedLines::Observations;

struct Seen {
    uint64_t ms;
    // The line's label and what it shows (UTF-8).
    const char* label;
    const char* shows;
};

struct Experiment {
    const char* what;
    const wchar_t* program;
    const wchar_t* options;
    std::vector<Seen> seen;
};

const Experiment kExperiments[] = {
    {"switches to LEDs through the 8255", L"LABLEDS.COM", L"--set switches=10000001@10 --set switches=01100000@60",
     {{5, "LED", "00000000"}, {50, "开关", "10000001"}, {50, "LED", "10000001"}, {100, "LED", "01100000"}, {100, "数码管", "  "}}},
    {"a wiring of the user's own: the LEDs on PC, which the program leaves dark", L"LABLEDS.COM",
     L"--set switches=10000001@10 --wiring \"led0-7 = pc0-7; pb0-7 = switch0-7\"", {{50, "开关", "10000001"}, {50, "LED", "00000000"}}},
    {"a traffic light sequence timed by the 8253", L"LABTRAFFIC.COM", L"",
     {{150, "红绿灯", "南北绿 东西红"}, {350, "红绿灯", "南北黄 东西红"}, {550, "红绿灯", "南北红 东西绿"}, {750, "红绿灯", "南北红 东西黄"},
      {950, "红绿灯", "南北绿 东西红"}}},
    {"a two-digit counter on the multiplexed digits", L"LABCOUNT.COM", L"",
     {{50, "数码管", "00"}, {250, "数码管", "02"}, {1150, "数码管", "11"}, {1150, "红绿灯", "南北灭 东西灭"}}},
    {"a tone from the 8253's mode 3, then another, then silence", L"LABTONE.COM", L"",
     {{0, "扬声器", "关"}, {100, "扬声器", "440 Hz"}, {300, "扬声器", "880 Hz"}, {600, "扬声器", "关"}}},
    {"the pulse key's interrupt through the 8259 counted on the digits", L"LABPULSE.COM",
     L"--set pulse@100 --set pulse@200 --set pulse@300", {{50, "数码管", "00"}, {150, "数码管", "01"}, {350, "数码管", "03"}}},
    {"a sawtooth from the DAC, a step a millisecond", L"LABDAC.COM", L"",
     {{0, "DAC", "0.00 V"}, {101, "DAC", "1.95 V"}, {102, "DAC", "1.97 V"}, {300, "DAC", "0.84 V"}}},
    {"the ADC's reading in hex on the digits", L"LABADC.COM", L"--set adc=2.5@100 --set adc3=1@100 --set adc=1.0@300",
     {{50, "数码管", "00"}, {200, "数码管", "80"}, {400, "数码管", "33"}}},
};

TEST(LabBox, TheClassicExperimentsShowWhatTheirLabSheetsSay)
{
    DosTest::CScratchFolder folder;
    for (const Experiment& c : kExperiments) {
        SCOPED_TRACE(c.what);
        std::wstring times;
        for (const Seen& seen : c.seen)
            times += (times.empty() ? L"" : L",") + std::to_wstring(seen.ms);
        const std::wstring arguments = L"--fixed-time --labbox 288 " + std::wstring(c.options) + L" --observe " + times + L" \"" +
                                       DosTest::Program(c.program) + L"\"";
        const DosTest::ProcessResult result = DosTest::RunRunner(arguments, folder.Path());
        ASSERT_TRUE(result.ended);
        EXPECT_EQ(result.exitCode, 0u) << result.error;
        auto blocks = Observations(result.output);
        for (const Seen& seen : c.seen) {
            SCOPED_TRACE(seen.ms);
            EXPECT_EQ(blocks[seen.ms][Gbk(seen.label)], Gbk(seen.shows));
        }
    }
}

TEST(LabBox, PrintsEveryDevicesLineAfterTheTime)
{
    DosTest::CScratchFolder folder;
    const DosTest::ProcessResult result = DosTest::RunRunner(
        L"--fixed-time --labbox 288 --set switches=10000000@1 --observe 5 \"" + DosTest::Program(L"LABLEDS.COM") + L"\"", folder.Path());
    ASSERT_TRUE(result.ended);
    EXPECT_EQ(result.output, "T=5\r\nLED: 10000000\r\n" + Gbk("开关: 10000000\r\n数码管:   \r\n红绿灯: 南北灭 东西灭\r\n扬声器: 关\r\n") +
                                 "DAC: 0.00 V\r\n" + Gbk("步进电机: 0°\r\n"));
}

// A box on a machine of its own that stands at time 0: the tests drive its ports directly.
class CStandingBox {
public:
    explicit CStandingBox(const char* preset = "288", const std::string& moreWiring = {})
        : m_machine(m_host, std::make_unique<CHostDrive>(), {}), m_preset(*LabPreset::Find(preset))
    {
        int badLine = 0;
        m_box = std::make_unique<CLabBox>(m_preset, *CLabWiring::Parse(m_preset.wiring + moreWiring, badLine), m_machine.Clock(),
                                          m_machine.Interrupts());
        m_box->Attach(m_machine.Bus());
        m_machine.Interrupts().Reset();
    }
    CLabBox& Box() { return *m_box; }
    CDosMachine& Machine() { return m_machine; }
    const LabPreset& Preset() const { return m_preset; }
    std::string Line(const char* label)
    {
        m_box->Advance(0);
        const std::string text = m_box->Text();
        const std::string start = Gbk(label) + ": ";
        const size_t at = text.find(start);
        return at == std::string::npos ? "" : text.substr(at + start.size(), text.find("\r\n", at) - at - start.size());
    }

private:
    DosTest::CRecordingHost m_host;
    CDosMachine m_machine;
    LabPreset m_preset;
    std::unique_ptr<CLabBox> m_box;
};

TEST(LabBox, TheStepperTurnsThePhasesWay)
{
    CStandingBox standing("288", "phase0-3 = pc0-3\n");
    CLabBox& box = standing.Box();
    box.Out(0x28B, 0x80);
    const struct {
        uint8_t phases;
        const char* angle;
    } steps[] = {
        {0x01, "0°"}, {0x03, "3.75°"}, {0x02, "7.5°"}, {0x04, "15°"}, {0x08, "22.5°"}, {0x01, "30°"},
        {0x08, "22.5°"}, {0x02, "22.5°"}, {0x00, "22.5°"}, {0x04, "15°"},
    };
    for (const auto& step : steps) {
        box.Out(0x28A, step.phases);
        EXPECT_EQ(standing.Line("步进电机"), Gbk(step.angle)) << int{step.phases};
    }
}

TEST(LabBox, ThePulseKeyRaisesIrq3OnThePcOnlyThroughTheUnmasked8259)
{
    const struct {
        const char* what;
        uint8_t mask;
        bool raised;
    } cases[] = {{"IR0 open", 0xFE, true}, {"IR0 masked", 0xFF, false}};
    for (const auto& c : cases) {
        CStandingBox standing;
        CLabBox& box = standing.Box();
        box.Out(0x2B0, 0x13);
        box.Out(0x2B1, 0x08);
        box.Out(0x2B1, 0x01);
        box.Out(0x2B1, c.mask);
        box.SetPulse(true);
        box.Advance(0);
        EXPECT_EQ(standing.Machine().Interrupts().IsRequested(3), c.raised) << c.what;
        // The key let go withdraws the request from the box's 8259.
        box.SetPulse(false);
        box.Advance(0);
        EXPECT_EQ(box.Pic().Requests(), 0) << c.what;
    }
}

// Driven at the times it asks for, the box sees an OUT on a cable to the 8259 rise at the very
// microsecond it rises: counter 1 in mode 2 with N = 50, loaded at the first clock, is low at
// the 50th and high again at the 51st.
TEST(LabBox, AFeltOutWakesTheMachineAtTheMicrosecondItMoves)
{
    CStandingBox standing("288", "ir1 = out1\n");
    CLabBox& box = standing.Box();
    box.Out(0x2B0, 0x13);
    box.Out(0x2B1, 0x08);
    box.Out(0x2B1, 0x01);
    box.Out(0x283, 0x74);
    box.Out(0x281, 50);
    box.Out(0x281, 0);
    std::vector<uint64_t> rises;
    bool before = false;
    for (uint64_t look = 0, looks = 0; look <= 120000 && looks < 1000; ++looks) {
        const uint64_t next = box.Advance(look);
        const bool requested = box.Pic().Requests() & 0x02;
        if (requested && !before)
            rises.push_back(look);
        before = requested;
        look = next;
    }
    // The control word itself sets OUT high (mode 2's first state).
    EXPECT_EQ(rises, (std::vector<uint64_t>{0, 51000, 101000}));
}

TEST(LabBox, EocOnACableIsLowWhileTheAdcConvertsAndWakesTheMachineAtItsEnd)
{
    CStandingBox standing("288", "pb7 = eoc\n");
    CLabBox& box = standing.Box();
    box.Out(0x28B, 0x82);
    EXPECT_EQ(box.In(0x289) & 0x80, 0x80);
    box.Out(0x29B, 0);
    EXPECT_EQ(box.In(0x289) & 0x80, 0x00);
    EXPECT_EQ(box.Advance(0), CAdc0809::kConversionNs);
}

TEST(LabBox, EachPresetPutsTheChipsAtItsPorts)
{
    const struct {
        const char* preset;
        uint16_t ppi, pit, pic, dac, adc;
    } cases[] = {{"288", 0x288, 0x280, 0x2B0, 0x290, 0x298}, {"300", 0x300, 0x304, 0x308, 0x310, 0x318}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        CStandingBox standing(c.preset);
        CDosMachine& machine = standing.Machine();
        standing.Box().SetSwitches(0xA5);
        machine.Out(static_cast<uint16_t>(c.ppi + 3), 0x82);
        EXPECT_EQ(machine.In(static_cast<uint16_t>(c.ppi + 1)), 0xA5);
        machine.Out(static_cast<uint16_t>(c.pit + 3), 0x74);
        machine.Out(static_cast<uint16_t>(c.pit + 1), 0x34);
        machine.Out(static_cast<uint16_t>(c.pit + 1), 0x12);
        machine.Out(static_cast<uint16_t>(c.pit + 3), 0xE4);
        // Counter 1's status: OUT high, the count not loaded yet (no clock at time 0).
        EXPECT_EQ(machine.In(static_cast<uint16_t>(c.pit + 1)), 0x80 | 0x40 | 0x34);
        machine.Out(static_cast<uint16_t>(c.pic + 1), 0x5A);
        EXPECT_EQ(machine.In(static_cast<uint16_t>(c.pic + 1)), 0x5A);
        machine.Out(c.dac, 0x80);
        EXPECT_EQ(standing.Line("DAC"), "2.50 V");
        machine.Out(static_cast<uint16_t>(c.adc + 7), 0);
        EXPECT_EQ(machine.In(c.adc), 0x00) << "no result before 100 us";
        EXPECT_EQ(machine.In(static_cast<uint16_t>(c.pic + 2)), 0xFF) << "beyond the 8259";
    }
}

TEST(LabBox, APersonsClicksWorkTheSwitchesThePulseKeyAndTheSlider)
{
    CStandingBox standing;
    CLabBox& box = standing.Box();
    const auto click = [&box](int x, int y, machine::DeviceInput::Action action = machine::DeviceInput::Action::Press) {
        machine::DeviceInput input;
        input.action = action;
        input.x = x;
        input.y = y;
        return box.Input(input);
    };
    // The switches' row: bit 7 leftmost, 24 pixels a switch from x = 40.
    EXPECT_TRUE(click(50, 50));
    EXPECT_TRUE(click(50, 50, machine::DeviceInput::Action::Release));
    EXPECT_TRUE(click(40 + 7 * 24 + 10, 50));
    EXPECT_EQ(standing.Line("开关"), "10000001");
    EXPECT_TRUE(click(50, 50));
    EXPECT_EQ(standing.Line("开关"), "00000001");
    EXPECT_TRUE(click(260, 50));
    box.Advance(0);
    EXPECT_TRUE(box.State().pulseHeld);
    EXPECT_TRUE(click(260, 50, machine::DeviceInput::Action::Release));
    box.Advance(0);
    EXPECT_FALSE(box.State().pulseHeld);
    EXPECT_TRUE(click(40 + (306 - 40) / 2, 210));
    box.Advance(0);
    EXPECT_DOUBLE_EQ(box.State().adcVolts, 2.5);
    EXPECT_FALSE(click(5, 225));
}

TEST(LabBox, ThePictureShowsTheLitLedsAndTheSwitchesUp)
{
    CStandingBox standing;
    CLabBox& box = standing.Box();
    box.Out(0x28B, 0x82);
    box.Out(0x288, 0x81);
    box.SetSwitches(0x80);
    box.Advance(0);
    const machine::ScreenImage picture = box.View().picture;
    ASSERT_EQ(picture.kind, machine::ScreenImage::Kind::Pixels);
    ASSERT_EQ(picture.width, CLabBoxPicture::kWidth);
    const auto pixel = [&picture](int x, int y) { return picture.pixels[static_cast<size_t>(y * picture.width + x)]; };
    // LED centres: column n at x = 40 + 24n + 12, y = 16; bit 7 in column 0.
    EXPECT_EQ(pixel(52, 16), 0xFF3020u);
    EXPECT_EQ(pixel(52 + 24, 16), 0x501410u);
    EXPECT_EQ(pixel(52 + 7 * 24, 16), 0xFF3020u);
    // A switch's knob: up in its top half, down in its bottom half.
    EXPECT_EQ(pixel(52, 44), 0xC8C8C8u);
    EXPECT_EQ(pixel(52 + 24, 44), 0x141414u);
    EXPECT_EQ(pixel(52 + 24, 56), 0xC8C8C8u);
}

}  // namespace
