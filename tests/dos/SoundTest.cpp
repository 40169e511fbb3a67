// The speaker as programs play it: korvane-dos.exe --wave writes what it played, whose tones a
// test measures by their zero crossings (a 440 Hz tone, one stopped early, BEL's beep, bit 1
// toggled by hand, a tone beyond hearing); machine time, not the host's, decides how long a
// sound lasts, so a pause of the machine's clock adds none.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "dos/WaveRecorder.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace dos;

namespace {

constexpr double kTick = 65536.0 / CIntervalTimer::kHertz;

// Where a recording's sign changes: how many, the first and the last (in seconds).
struct Crossings {
    size_t count = 0;
    double first = 0;
    double last = 0;
    double total = 0;

    double Length() const { return last - first; }
    // Two crossings a period.
    double Hertz() const { return count > 1 ? (count - 1) / 2.0 / Length() : 0; }
};

Crossings Measure(const std::vector<int16_t>& samples)
{
    Crossings found;
    int sign = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const int now = (samples[i] > 0) - (samples[i] < 0);
        if (now != 0 && sign != 0 && now != sign) {
            found.last = static_cast<double>(i) / CSpeaker::kSampleRate;
            if (found.count++ == 0)
                found.first = found.last;
        }
        if (now != 0)
            sign = now;
    }
    found.total = static_cast<double>(samples.size()) / CSpeaker::kSampleRate;
    return found;
}

uint32_t Little(const std::string& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The samples of a WAV file that must be 44.1 kHz, mono, 16-bit PCM, its header alone.
std::vector<int16_t> ReadWave(const std::wstring& path)
{
    const std::string bytes = DosTest::ReadHostFile(path);
    std::vector<int16_t> samples;
    EXPECT_GE(bytes.size(), 44u);
    if (bytes.size() < 44)
        return samples;
    EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(8, 8) + bytes.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(Little(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(Little(bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(Little(bytes, 22, 2), 1u) << "mono";
    EXPECT_EQ(Little(bytes, 24, 4), 44100u);
    EXPECT_EQ(Little(bytes, 34, 2), 16u);
    EXPECT_EQ(Little(bytes, 40, 4), bytes.size() - 44);
    samples.resize((bytes.size() - 44) / 2);
    std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
    return samples;
}

TEST(Speaker, KorvaneDosWritesWhatTheProgramPlayedAsAWave)
{
    struct Case {
        const wchar_t* tail;
        const char* what;
        double hertz;
        double seconds;
        // The recording lasts at least this long (the silence after a sound stopped).
        double total;
    } cases[] = {
        {L"T", "440 Hz (divisor 2712) in mode 3 for 9 ticks", 1193182.0 / 2712, 9 * kTick, 10 * kTick},
        {L"S", "the same stopped after 3 ticks, 6 silent ones after", 1193182.0 / 2712, 3 * kTick, 10 * kTick},
        {L"B", "BEL's beep, a program that ends at once", 1193182.0 / 1331, 0.125, 0.125},
        {L"G", "bit 1 toggled each 1500 instructions", 1000, 1.0, 1.0},
    };
    DosTest::CScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring wave = folder.Path() + L"\\" + c.tail + L".wav";
        const DosTest::ProcessResult run = DosTest::RunRunner(
            L"--fixed-time --wave \"" + wave + L"\" \"" + DosTest::Program(L"SOUND.COM") + L"\" " + c.tail, folder.Path());
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, 0u) << run.error;
        const Crossings tone = Measure(ReadWave(wave));
        EXPECT_NEAR(tone.Hertz(), c.hertz, c.hertz * 0.002);
        // Within a period or two of where the tone starts and stops.
        EXPECT_NEAR(tone.Length(), c.seconds, 2.5 / c.hertz);
        EXPECT_GE(tone.total, c.total - 0.001);
    }
}

TEST(Speaker, ATonePastHearingAndASteadyLevelAreSilent)
{
    DosTest::CScratchFolder folder;
    for (const wchar_t* tail : {L"H", L"X"}) {
        const std::wstring wave = folder.Path() + L"\\" + tail + L".wav";
        const DosTest::ProcessResult run = DosTest::RunRunner(
            L"--fixed-time --wave \"" + wave + L"\" \"" + DosTest::Program(L"SOUND.COM") + L"\" " + tail, folder.Path());
        ASSERT_TRUE(run.ended);
        const std::vector<int16_t> samples = ReadWave(wave);
        EXPECT_GT(samples.size(), 0u);
        // Switching a level on and off steps the cone, at most once each way.
        EXPECT_LE(Measure(samples).count, 2u) << "tail " << static_cast<char>(tail[0]);
    }
}

// Port 61h's bit 5 is counter 2's output: standing high while the gate is off, changing twice
// a period of 440 Hz while it is on (48 times in a tick of 54.9 ms).
TEST(Speaker, Port61hReadsCounterTwosOutputAsTheGateLetsIt)
{
    DosTest::CScratchFolder folder;
    const DosTest::ProcessResult run =
        DosTest::RunRunner(L"--fixed-time \"" + DosTest::Program(L"SOUND.COM") + L"\" P", folder.Path());
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u) << run.error;
    EXPECT_EQ(run.output.substr(0, 5), "0020 ");
    const int changes = std::atoi(run.output.substr(5).c_str());
    EXPECT_NEAR(changes, 2 * kTick * CIntervalTimer::kHertz / 2712, 1.5) << run.output;
}

// The clock stopped for a while (as the debugger stops it at a breakpoint) in the middle of a
// tone in real time: the tone lasts its 9 ticks of machine time all the same, and the speaker
// tells what it plays meanwhile.
TEST(Speaker, AStoppedClockStopsTheSound)
{
    DosTest::CRecordingHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
    CWaveRecorder recorder;
    machine.Speaker().SetOutput(&recorder);
    ASSERT_EQ(machine.Load(DosTest::Program(L"SOUND.COM"), " T"), LoadError::None);
    while (machine.Clock().Now() < 150 * CMachineClock::kNanosecondsPerMs && !machine.Finished())
        machine.Run(20000);
    EXPECT_EQ(machine.Speaker().View().text, "speaker: 440 Hz\r\n");
    machine.StopClock();
    Sleep(400);
    machine.StartClock();
    for (int slices = 0; slices < 100000 && machine.Run(1000000) != StopReason::Ended; ++slices)
        Sleep(1);
    machine.StopClock();
    machine.Speaker().Flush();
    const Crossings tone = Measure(recorder.Samples());
    // In real time the ticks fall due between slices of the run: within a few milliseconds.
    EXPECT_NEAR(tone.Length(), 9 * kTick, 0.02);
    EXPECT_NEAR(tone.total, static_cast<double>(machine.Clock().Now()) / 1e9, 0.001);
    EXPECT_EQ(machine.Speaker().View().text, "speaker: low\r\n");
}

}  // namespace
