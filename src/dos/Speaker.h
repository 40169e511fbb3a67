// The PC's speaker: what drives its cone (the timer's channel 2 through port 61h, or the
// BIOS's beep) kept as a record of changes against machine time, and turned into samples for
// the front end's sound output as machine time passes; a machine that stands still is silent.
#pragma once

#include "dos/BusDevice.h"
#include "dos/MachineClock.h"

#include <cstddef>
#include <cstdint>
#include <deque>

namespace dos {

// Where a front end takes the speaker's sound: 16-bit mono samples at CSpeaker::kSampleRate,
// in machine time's order.
class ISoundOutput {
public:
    virtual void Play(const int16_t* samples, size_t count) = 0;

protected:
    ~ISoundOutput() = default;
};

// What drives the speaker from a time on: a steady level, or a square wave that is high for
// the first highNs of each period, periods counted from origin (machine time, ns).
struct SpeakerWave {
    double periodNs = 0;
    double highNs = 0;
    uint64_t origin = 0;
    bool level = false;

    bool Tone() const { return periodNs > 0; }
};

class CSpeaker final : public CBusDevice {
public:
    static constexpr uint32_t kSampleRate = 44100;
    // The BIOS's beep for BEL: timer divisor 1331 (896 Hz) for an eighth of a second.
    static constexpr uint16_t kBeepDivisor = 1331;
    static constexpr uint64_t kBeepNs = 125000000;

    explicit CSpeaker(const CMachineClock& clock) : m_clock(clock) {}

    // Silent from machine time 0 on; the output stays.
    void Reset();
    void SetOutput(ISoundOutput* output) { m_pOutput = output; }
    // From machine time `at` (no earlier than the last change) the timer drives the speaker so.
    void Drive(uint64_t at, const SpeakerWave& wave);
    // The BIOS's beep, after the one still sounding as the BIOS plays them one by one.
    void Beep();
    // What the speaker played up to now, and to the end of a beep still sounding, goes out.
    void Flush();
    // Whether a tone or a beep reaches the speaker now or later.
    bool Sounding() const { return !m_beeps.empty() || m_changes.back().wave.Tone(); }

    // Samples up to `now` go out; while a sound plays, it wants to be called again soon.
    uint64_t Advance(uint64_t now) override;
    std::string_view Name() const override { return "speaker"; }
    machine::DeviceView View() const override;

private:
    struct Change {
        uint64_t at;
        SpeakerWave wave;
    };
    struct Span {
        uint64_t start;
        uint64_t end;
    };

    static uint64_t SampleTime(uint64_t sample);
    // Of the time from `from` to `to`, how long the wave is high.
    static double HighTime(const SpeakerWave& wave, uint64_t from, uint64_t to);
    static double HighSince(const SpeakerWave& wave, uint64_t origin, uint64_t at);
    // The wave at `at` (changes before it forgotten), and when it next changes.
    SpeakerWave WaveAt(uint64_t at, uint64_t& next);
    int16_t Sample(uint64_t from, uint64_t to);
    void Render(uint64_t until);

    const CMachineClock& m_clock;
    ISoundOutput* m_pOutput = nullptr;
    // The first is in force at the time rendered up to.
    std::deque<Change> m_changes;
    std::deque<Span> m_beeps;
    uint64_t m_nSamples = 0;
    // The cone's coupling lets no steady level through: a first-order high pass.
    double m_lastInput = 0;
    double m_lastOutput = 0;
};

}  // namespace dos
