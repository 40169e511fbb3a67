// The speaker's record and its samples: each sample is the share of its interval that the
// cone's input is high, through the high pass that keeps a steady level silent.
#include "dos/Speaker.h"

#include "dos/DeviceText.h"
#include "dos/IntervalTimer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dos {

namespace {

constexpr uint64_t kNanosecondsPerSecond = 1000000000;
constexpr double kAmplitude = 10000;
// About 20 Hz at 44.1 kHz.
constexpr double kHighPass = 0.9972;
// How often the samples of a sound that plays go out, in machine time.
constexpr uint64_t kOutputInterval = 10 * CMachineClock::kNanosecondsPerMs;

}

void CSpeaker::Reset()
{
    m_changes.assign(1, Change{0, SpeakerWave{}});
    m_beeps.clear();
    m_nSamples = 0;
    m_lastInput = -kAmplitude;
    m_lastOutput = 0;
}

void CSpeaker::Drive(uint64_t at, const SpeakerWave& wave)
{
    while (m_changes.size() > 1 && m_changes.back().at >= at)
        m_changes.pop_back();
    if (m_changes.back().at >= at)
        m_changes.back().wave = wave;
    else
        m_changes.push_back(Change{at, wave});
}

void CSpeaker::Beep()
{
    const uint64_t now = m_clock.Now();
    const uint64_t start = m_beeps.empty() ? now : std::max(now, m_beeps.back().end);
    m_beeps.push_back(Span{start, start + kBeepNs});
}

void CSpeaker::Flush()
{
    Render(std::max(m_clock.Now(), m_beeps.empty() ? 0 : m_beeps.back().end));
}

uint64_t CSpeaker::SampleTime(uint64_t sample)
{
    return sample / kSampleRate * kNanosecondsPerSecond + sample % kSampleRate * kNanosecondsPerSecond / kSampleRate;
}

double CSpeaker::HighSince(const SpeakerWave& wave, uint64_t origin, uint64_t at)
{
    const double since = static_cast<double>(at) - static_cast<double>(origin);
    if (!wave.Tone())
        return wave.level ? since : 0;
    // A tone the samples cannot carry (above half their rate, beyond hearing) is its mean.
    if (wave.periodNs * kSampleRate < 2.0 * kNanosecondsPerSecond)
        return since * wave.highNs / wave.periodNs;
    const double periods = std::floor(since / wave.periodNs);
    return periods * wave.highNs + std::min(since - periods * wave.periodNs, wave.highNs);
}

double CSpeaker::HighTime(const SpeakerWave& wave, uint64_t from, uint64_t to)
{
    return HighSince(wave, wave.origin, to) - HighSince(wave, wave.origin, from);
}

SpeakerWave CSpeaker::WaveAt(uint64_t at, uint64_t& next)
{
    while (m_changes.size() > 1 && m_changes[1].at <= at)
        m_changes.pop_front();
    while (!m_beeps.empty() && m_beeps.front().end <= at)
        m_beeps.pop_front();
    next = m_changes.size() > 1 ? m_changes[1].at : kNever;
    if (m_beeps.empty())
        return m_changes.front().wave;
    const Span& beep = m_beeps.front();
    if (beep.start > at) {
        next = std::min(next, beep.start);
        return m_changes.front().wave;
    }
    next = std::min(next, beep.end);
    const double period = static_cast<double>(kBeepDivisor) * kNanosecondsPerSecond / CIntervalTimer::kHertz;
    return SpeakerWave{period, period / 2, beep.start, true};
}

int16_t CSpeaker::Sample(uint64_t from, uint64_t to)
{
    double high = 0;
    for (uint64_t at = from; at < to;) {
        uint64_t next = kNever;
        const SpeakerWave wave = WaveAt(at, next);
        const uint64_t end = std::min(next, to);
        high += HighTime(wave, at, end);
        at = end;
    }
    const double input = kAmplitude * (2 * high / static_cast<double>(to - from) - 1);
    m_lastOutput = input - m_lastInput + kHighPass * m_lastOutput;
    m_lastInput = input;
    return static_cast<int16_t>(std::lround(std::clamp(m_lastOutput, -32767.0, 32767.0)));
}

void CSpeaker::Render(uint64_t until)
{
    const uint64_t last = until / kNanosecondsPerSecond * kSampleRate + until % kNanosecondsPerSecond * kSampleRate / kNanosecondsPerSecond;
    if (last <= m_nSamples)
        return;
    if (m_pOutput == nullptr) {
        uint64_t next = 0;
        WaveAt(until, next);
        m_nSamples = last;
        return;
    }
    std::vector<int16_t> samples;
    samples.reserve(static_cast<size_t>(last - m_nSamples));
    for (; m_nSamples < last; ++m_nSamples)
        samples.push_back(Sample(SampleTime(m_nSamples), SampleTime(m_nSamples + 1)));
    m_pOutput->Play(samples.data(), samples.size());
}

uint64_t CSpeaker::Advance(uint64_t now)
{
    Render(now);
    return Sounding() ? now + kOutputInterval : kNever;
}

machine::DeviceView CSpeaker::View() const
{
    const SpeakerWave& wave = m_changes.back().wave;
    std::string text = "speaker: ";
    if (wave.Tone())
        text += std::to_string(std::lround(kNanosecondsPerSecond / wave.periodNs)) + " Hz";
    else
        text += wave.level ? "high" : "low";
    if (!m_beeps.empty())
        text += ", beep";
    return {DeviceText::Line(text), {}};
}

}  // namespace dos
