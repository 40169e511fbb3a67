// The lab box's chips on their own, each against its data sheet: the 8254's OUT in every mode
// clock by clock (the mode figures' waveforms), its counts, latches and read-back; the 8259A's
// priorities, EOIs, rotation, masks and poll; the 8255A's modes and bit set/reset; the
// converters' codes and the wiring table's text.
#include "labbox/Adc0809.h"
#include "labbox/Dac0832.h"
#include "labbox/LabWiring.h"
#include "labbox/Pic8259.h"
#include "labbox/Pit8254.h"
#include "labbox/Ppi8255.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace labbox;

namespace {

struct WaveCase {
    const char* what;
    uint8_t control;
    uint16_t count;
    // GATE before each CLK edge ('H' or 'L'); high where the string has ended.
    const char* gate;
    // OUT as the count is written, then after each CLK edge.
    const char* out;
};

// Counter 0, LSB then MSB; N as the figures give it.
const WaveCase kWaves[] = {
    {"mode 0: OUT low, high when the count reaches 0, N + 1 clocks after the write", 0x30, 4, "", "LLLLLHH"},
    {"mode 0: GATE low holds the count", 0x30, 3, "HHLLHH", "LLLLLLH"},
    {"mode 1: a GATE rise starts a one-shot of N clocks", 0x32, 3, "LHHHHH", "HHLLLHH"},
    {"mode 1: a rise during the one-shot starts it over", 0x32, 3, "LHHLHHHH", "HHLLLLLLH"},
    {"mode 2: OUT low for one clock every N", 0x34, 3, "", "HHHLHHLH"},
    {"mode 2: GATE low stops it, its rise loads the count again", 0x34, 3, "HHLHHHH", "HHHHHHLH"},
    {"mode 3, even N: high N/2, low N/2", 0x36, 4, "", "HHHLLHHL"},
    {"mode 3, odd N: high (N+1)/2, low (N-1)/2", 0x36, 5, "", "HHHHLLHHHL"},
    {"mode 3: GATE low sets OUT high at once", 0x36, 4, "HHHL", "HHHLH"},
    {"mode 4: one low clock N + 1 clocks after the write", 0x38, 3, "", "HHHHLHH"},
    {"mode 4: GATE low holds the count", 0x38, 3, "HLHHHH", "HHHHHLH"},
    {"mode 5: one low clock N + 1 clocks after the GATE rise", 0x3A, 3, "LHHHHH", "HHHHHLH"},
    {"modes 6 and 7 are 2 and 3", 0x3C, 3, "", "HHHLHHLH"},
};

std::string OutLevel(const CPit8254& pit)
{
    return pit.Out(0) ? "H" : "L";
}

TEST(Pit8254, OutFollowsEachModesWaveform)
{
    for (const WaveCase& c : kWaves) {
        SCOPED_TRACE(c.what);
        CPit8254 pit;
        pit.Reset();
        pit.Write(3, c.control);
        pit.Write(0, static_cast<uint8_t>(c.count));
        pit.Write(0, static_cast<uint8_t>(c.count >> 8));
        std::string out = OutLevel(pit);
        const std::string gate = c.gate;
        for (size_t clock = 1; clock < std::string(c.out).size(); ++clock) {
            pit.SetGate(0, clock - 1 >= gate.size() || gate[clock - 1] == 'H');
            pit.Clock(0);
            out += OutLevel(pit);
        }
        EXPECT_EQ(out, c.out);
    }
}

// A step of counter 0's script: a write, CLK edges, or a read and the byte it gives.
struct PitStep {
    enum Kind : uint8_t { Write, Clocks, Read };
    Kind kind;
    unsigned value;
    unsigned port = 0;
};

struct CountCase {
    const char* what;
    std::vector<PitStep> steps;
};

constexpr PitStep Control(uint8_t value)
{
    return {PitStep::Write, value, 3};
}
constexpr PitStep Count(uint8_t value)
{
    return {PitStep::Write, value, 0};
}
constexpr PitStep Clocks(unsigned count)
{
    return {PitStep::Clocks, count};
}
constexpr PitStep Reads(uint8_t value)
{
    return {PitStep::Read, value};
}

const CountCase kCounts[] = {
    {"binary: the count falls by one a clock after the load",
     {Control(0x34), Count(0x34), Count(0x12), Clocks(3), Control(0x00), Reads(0x32), Reads(0x12)}},
    {"BCD: 0100 falls to 0098", {Control(0x35), Count(0x00), Count(0x01), Clocks(3), Control(0x00), Reads(0x98), Reads(0x00)}},
    {"BCD: a count of 0 is 10000 and falls to 9999", {Control(0x31), Count(0x00), Count(0x00), Clocks(2), Control(0x00), Reads(0x99), Reads(0x99)}},
    {"LSB only", {Control(0x14), Count(0x05), Clocks(2), Reads(0x04)}},
    {"MSB only: 0200 falls to 01FF", {Control(0x24), Count(0x02), Clocks(2), Reads(0x01)}},
    {"the latch holds while the count goes on; a second latch before the read changes nothing",
     {Control(0x34), Count(0x10), Count(0x00), Clocks(2), Control(0x00), Clocks(2), Control(0x00), Reads(0x0F), Reads(0x00),
      Control(0x00), Reads(0x0D), Reads(0x00)}},
    {"without a latch a read gives the count as it is", {Control(0x34), Count(0x10), Count(0x00), Clocks(2), Reads(0x0F), Clocks(1), Reads(0x00)}},
    {"read-back of the status: OUT high, the count loaded", {Control(0x34), Count(0x10), Count(0x00), Clocks(1), Control(0xE2), Reads(0xB4)}},
    {"read-back before the count is loaded: null count", {Control(0x34), Count(0x10), Count(0x00), Control(0xE2), Reads(0xF4)}},
    {"read-back of status and count: the status first",
     {Control(0x30), Count(0x03), Count(0x00), Clocks(2), Control(0xC2), Clocks(1), Reads(0x30), Reads(0x02), Reads(0x00)}},
    {"mode 0: the first byte of a new count stops the count",
     {Control(0x30), Count(0x05), Count(0x00), Clocks(2), Count(0x09), Clocks(3), Control(0x00), Reads(0x04), Reads(0x00)}},
};

TEST(Pit8254, CountsLatchesAndReadsBack)
{
    for (const CountCase& c : kCounts) {
        SCOPED_TRACE(c.what);
        CPit8254 pit;
        pit.Reset();
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const PitStep& step = c.steps[i];
            if (step.kind == PitStep::Write)
                pit.Write(step.port, static_cast<uint8_t>(step.value));
            for (unsigned clock = 0; step.kind == PitStep::Clocks && clock < step.value; ++clock)
                pit.Clock(0);
            if (step.kind == PitStep::Read) {
                EXPECT_EQ(pit.Read(0), step.value) << "step " << i;
            }
        }
    }
}

// One step of a script against a chip: a write, a pin's level, or a read or acknowledge with
// the value it must give (-1: nothing expected).
struct Step {
    enum Kind : uint8_t { Write0, Write1, High, Low, Ack, Read0, Read1, Int };
    Kind kind;
    uint8_t value;
    int expected = -1;
};

const std::vector<Step> kInit = {{Step::Write0, 0x13}, {Step::Write1, 0x08}, {Step::Write1, 0x01}};

struct PicCase {
    const char* what;
    std::vector<Step> steps;
};

const PicCase kPicCases[] = {
    {"fully nested: the higher first, a lower one waits for its EOI",
     {{Step::High, 2}, {Step::High, 4}, {Step::Ack, 0, 0x0A}, {Step::Int, 0, 0}, {Step::High, 1}, {Step::Int, 0, 1},
      {Step::Ack, 0, 0x09}, {Step::Write0, 0x20}, {Step::Int, 0, 0}, {Step::Write0, 0x20}, {Step::Ack, 0, 0x0C}}},
    {"a specific EOI ends the level it names",
     {{Step::High, 4}, {Step::Ack, 0, 0x0C}, {Step::High, 2}, {Step::Ack, 0, 0x0A}, {Step::Write0, 0x0B}, {Step::Read0, 0, 0x14},
      {Step::Write0, 0x64}, {Step::Read0, 0, 0x04}}},
    {"rotation on a non-specific EOI: the level served goes last",
     {{Step::High, 2}, {Step::Ack, 0, 0x0A}, {Step::Write0, 0xA0}, {Step::High, 1}, {Step::High, 3}, {Step::Ack, 0, 0x0B},
      {Step::Write0, 0x20}, {Step::Ack, 0, 0x09}}},
    {"rotation on a specific EOI",
     {{Step::High, 6}, {Step::Ack, 0, 0x0E}, {Step::Write0, 0xE6}, {Step::High, 0}, {Step::High, 7}, {Step::Ack, 0, 0x0F}}},
    {"set priority: the level named lowest",
     {{Step::Write0, 0xC4}, {Step::High, 4}, {Step::High, 5}, {Step::High, 0}, {Step::Ack, 0, 0x0D}, {Step::Write0, 0x20},
      {Step::Ack, 0, 0x08}, {Step::Write0, 0x20}, {Step::Ack, 0, 0x0C}}},
    {"poll: the highest request and I, served as an acknowledge",
     {{Step::Write0, 0x0C}, {Step::Read0, 0, 0x00}, {Step::High, 3}, {Step::Write0, 0x0C}, {Step::Read0, 0, 0x83}, {Step::Int, 0, 0},
      {Step::Write0, 0x0B}, {Step::Read0, 0, 0x08}, {Step::Write0, 0x0A}, {Step::Read0, 0, 0x00}}},
    {"the mask holds a request back, IRR still shows it",
     {{Step::Write1, 0x04}, {Step::High, 2}, {Step::Int, 0, 0}, {Step::Read0, 0, 0x04}, {Step::Read1, 0, 0x04}, {Step::Write1, 0x00},
      {Step::Int, 0, 1}}},
    {"special mask mode lets a lower level through past one masked in service",
     {{Step::High, 2}, {Step::Ack, 0, 0x0A}, {Step::High, 5}, {Step::Write1, 0x04}, {Step::Int, 0, 0}, {Step::Write0, 0x68},
      {Step::Int, 0, 1}, {Step::Ack, 0, 0x0D}, {Step::Write0, 0x48}, {Step::Write0, 0x65}, {Step::Int, 0, 0}}},
    {"edge: a pin held high asks once", {{Step::High, 1}, {Step::Ack, 0, 0x09}, {Step::Write0, 0x20}, {Step::Int, 0, 0}}},
    {"edge: a request withdrawn before the acknowledge gives IR7, nothing in service",
     {{Step::High, 1}, {Step::Low, 1}, {Step::Int, 0, 0}, {Step::Ack, 0, 0x0F}, {Step::Write0, 0x0B}, {Step::Read0, 0, 0x00}}},
    {"ICW1 clears the mask and waits for a new edge",
     {{Step::Write1, 0xFF}, {Step::High, 2}, {Step::Write0, 0x13}, {Step::Write1, 0x08}, {Step::Write1, 0x01}, {Step::Read1, 0, 0x00},
      {Step::Int, 0, 0}, {Step::Low, 2}, {Step::High, 2}, {Step::Ack, 0, 0x0A}}},
};

void RunPic(CPic8259& pic, const std::vector<Step>& steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        int got = -1;
        switch (step.kind) {
        case Step::Write0:
        case Step::Write1:
            pic.Write(step.kind == Step::Write1, step.value);
            break;
        case Step::High:
        case Step::Low:
            pic.SetInput(step.value, step.kind == Step::High);
            break;
        case Step::Ack:
            got = pic.Acknowledge();
            break;
        case Step::Read0:
        case Step::Read1:
            got = pic.Read(step.kind == Step::Read1);
            break;
        case Step::Int:
            got = pic.Int();
            break;
        }
        if (step.expected >= 0) {
            EXPECT_EQ(got, step.expected) << "step " << i;
        }
    }
}

TEST(Pic8259, PrioritiesEoisRotationMasksAndPoll)
{
    for (const PicCase& c : kPicCases) {
        SCOPED_TRACE(c.what);
        CPic8259 pic;
        pic.Reset();
        RunPic(pic, kInit);
        RunPic(pic, c.steps);
    }
}

TEST(Pic8259, InitialisationWordsChooseTheTriggerAndTheEoi)
{
    const PicCase cases[] = {
        {"level: a pin still high asks again after the EOI",
         {{Step::Write0, 0x1B}, {Step::Write1, 0x08}, {Step::Write1, 0x01}, {Step::High, 1}, {Step::Ack, 0, 0x09}, {Step::Write0, 0x20},
          {Step::Int, 0, 1}}},
        {"automatic EOI: nothing stays in service",
         {{Step::Write0, 0x13}, {Step::Write1, 0x08}, {Step::Write1, 0x03}, {Step::High, 2}, {Step::Ack, 0, 0x0A}, {Step::Write0, 0x0B},
          {Step::Read0, 0, 0x00}}},
        {"no ICW4 and single: the word after ICW2 is the mask",
         {{Step::Write0, 0x12}, {Step::Write1, 0x20}, {Step::Write1, 0xFE}, {Step::Read1, 0, 0xFE}, {Step::High, 0}, {Step::Ack, 0, 0x20}}},
        {"cascade: ICW3 is taken before ICW4",
         {{Step::Write0, 0x11}, {Step::Write1, 0x70}, {Step::Write1, 0x04}, {Step::Write1, 0x01}, {Step::Write1, 0xFD},
          {Step::Read1, 0, 0xFD}, {Step::High, 1}, {Step::Ack, 0, 0x71}}},
    };
    for (const PicCase& c : cases) {
        SCOPED_TRACE(c.what);
        CPic8259 pic;
        pic.Reset();
        RunPic(pic, c.steps);
    }
}

struct PpiStep {
    enum Kind : uint8_t { Write, Drive, Read, Pins };
    Kind kind;
    unsigned where;
    uint8_t value;
};

struct PpiCase {
    const char* what;
    std::vector<PpiStep> steps;
};

const PpiCase kPpiCases[] = {
    {"mode 0: outputs read their latch, inputs their pins",
     {{PpiStep::Write, 3, 0x82}, {PpiStep::Write, 0, 0x5A}, {PpiStep::Drive, 0, 0xFF}, {PpiStep::Read, 0, 0x5A}, {PpiStep::Pins, 0, 0x5A},
      {PpiStep::Drive, 1, 0x3C}, {PpiStep::Write, 1, 0x77}, {PpiStep::Read, 1, 0x3C}, {PpiStep::Write, 2, 0x81}, {PpiStep::Read, 2, 0x81}}},
    {"mode 0: port C's halves go their own ways",
     {{PpiStep::Write, 3, 0x88}, {PpiStep::Drive, 2, 0xA5}, {PpiStep::Write, 2, 0x0F}, {PpiStep::Read, 2, 0xAF}, {PpiStep::Pins, 2, 0xAF}}},
    {"bit set/reset of port C",
     {{PpiStep::Write, 3, 0x80}, {PpiStep::Write, 3, 0x0F}, {PpiStep::Write, 3, 0x01}, {PpiStep::Read, 2, 0x81}, {PpiStep::Write, 3, 0x0E},
      {PpiStep::Read, 2, 0x01}, {PpiStep::Pins, 2, 0x01}}},
    {"a mode word clears the output latches",
     {{PpiStep::Write, 3, 0x80}, {PpiStep::Write, 0, 0xFF}, {PpiStep::Write, 2, 0xFF}, {PpiStep::Write, 3, 0x80}, {PpiStep::Read, 0, 0x00},
      {PpiStep::Read, 2, 0x00}}},
    {"mode 1 input: STB latches port A, IBF, INTR with INTE, a read ends both",
     {{PpiStep::Write, 3, 0xB0}, {PpiStep::Drive, 2, 0xFF}, {PpiStep::Drive, 0, 0x42}, {PpiStep::Read, 2, 0x00}, {PpiStep::Write, 3, 0x09},
      {PpiStep::Read, 2, 0x10}, {PpiStep::Drive, 2, 0xEF}, {PpiStep::Read, 2, 0x30}, {PpiStep::Drive, 2, 0xFF}, {PpiStep::Read, 2, 0x38},
      {PpiStep::Pins, 2, 0x38}, {PpiStep::Drive, 0, 0x99}, {PpiStep::Read, 0, 0x42}, {PpiStep::Read, 2, 0x10}}},
    {"mode 1 output: a write fills port B (OBF low), ACK empties it, INTR after ACK",
     {{PpiStep::Write, 3, 0x84}, {PpiStep::Drive, 2, 0xFF}, {PpiStep::Write, 3, 0x05}, {PpiStep::Read, 2, 0x07}, {PpiStep::Write, 1, 0x33},
      {PpiStep::Read, 2, 0x04}, {PpiStep::Pins, 1, 0x33}, {PpiStep::Drive, 2, 0xFB}, {PpiStep::Read, 2, 0x06}, {PpiStep::Drive, 2, 0xFF},
      {PpiStep::Read, 2, 0x07}}},
    {"mode 2: port A drives its pins only while ACK is low, and latches on STB",
     {{PpiStep::Write, 3, 0xC0}, {PpiStep::Drive, 2, 0xFF}, {PpiStep::Write, 3, 0x0D}, {PpiStep::Write, 3, 0x09}, {PpiStep::Drive, 0, 0x12},
      {PpiStep::Write, 0, 0x55}, {PpiStep::Pins, 0, 0x12}, {PpiStep::Drive, 2, 0xBF}, {PpiStep::Pins, 0, 0x55}, {PpiStep::Drive, 2, 0xFF},
      {PpiStep::Drive, 2, 0xEF}, {PpiStep::Drive, 2, 0xFF}, {PpiStep::Read, 2, 0xF8}, {PpiStep::Read, 0, 0x12}}},
};

TEST(Ppi8255, ModesHandshakesAndBitSetReset)
{
    for (const PpiCase& c : kPpiCases) {
        SCOPED_TRACE(c.what);
        CPpi8255 ppi;
        ppi.Reset();
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const PpiStep& step = c.steps[i];
            const auto port = static_cast<CPpi8255::Port>(step.where);
            switch (step.kind) {
            case PpiStep::Write:
                ppi.Write(step.where, step.value);
                break;
            case PpiStep::Drive:
                ppi.Drive(port, step.value);
                break;
            case PpiStep::Read:
                EXPECT_EQ(ppi.Read(step.where), step.value) << "step " << i;
                break;
            case PpiStep::Pins:
                EXPECT_EQ(ppi.Pins(port), step.value) << "step " << i;
                break;
            }
        }
    }
}

TEST(Converters, CodesAndVoltsAsTheDataSheetsScaleThem)
{
    const struct {
        double volts;
        uint8_t code;
    } codes[] = {{0.0, 0}, {1.0, 51}, {2.5, 128}, {4.99, 255}, {5.0, 255}, {0.01, 1}};
    for (const auto& c : codes)
        EXPECT_EQ(CAdc0809::CodeOf(c.volts), c.code) << c.volts;
    EXPECT_DOUBLE_EQ(CDac0832::VoltsOf(128), 2.5);
    EXPECT_DOUBLE_EQ(CDac0832::VoltsOf(255), 5.0 * 255 / 256);
}

TEST(Converters, TheAdcsResultComes100MicrosecondsAfterTheStart)
{
    CAdc0809 adc;
    adc.Reset();
    adc.SetInput(3, 2.5);
    adc.SetInput(0, 1.0);
    adc.Start(3, 1000);
    EXPECT_FALSE(adc.EndOfConversion(100999));
    EXPECT_EQ(adc.Read(100999), 0);
    EXPECT_TRUE(adc.EndOfConversion(101000));
    EXPECT_EQ(adc.Read(101000), 128);
    adc.Start(0, 200000);
    EXPECT_EQ(adc.Read(250000), 128);
    EXPECT_EQ(adc.Read(300000), 51);
}

TEST(LabWiring, ReadsCablesAndNamesTheBadLine)
{
    const struct {
        const char* text;
        int badLine;
        size_t cables;
    } cases[] = {
        {"led0-7 = pa0-7", 0, 8},
        {"gate0-2 = high\n# the clocks\n\nclk0 = pulse  # by hand", 0, 4},
        {"irq3 = int\nspeaker=pc7", 0, 2},
        {"led0-7 = pa0-3", 1, 0},
        {"led0-8 = pa0-8", 1, 0},
        {"speaker = out0\nout0 = speaker", 2, 0},
        {"irq16 = int", 1, 0},
        {"led0 pa0", 1, 0},
        {"phase0-3 = pc4-7\nlight9 = pc0", 2, 0},
    };
    for (const auto& c : cases) {
        int badLine = -1;
        const std::optional<CLabWiring> wiring = CLabWiring::Parse(c.text, badLine);
        EXPECT_EQ(badLine, c.badLine) << c.text;
        EXPECT_EQ(wiring.has_value(), c.badLine == 0) << c.text;
        if (wiring) {
            EXPECT_EQ(wiring->Cables().size(), c.cables) << c.text;
        }
    }
    int badLine = -1;
    const std::optional<CLabWiring> wiring = CLabWiring::Parse(CLabWiring::kDefault, badLine);
    ASSERT_TRUE(wiring);
    EXPECT_EQ(wiring->SourceOf({PinKind::Digit, 1}), (LabPin{PinKind::PortC, 7}));
    EXPECT_EQ(wiring->SourceOf({PinKind::PortB, 5}), (LabPin{PinKind::Switch, 5}));
    EXPECT_EQ(wiring->SourceOf({PinKind::Irq, 3}), (LabPin{PinKind::Int, 0}));
}

}  // namespace
