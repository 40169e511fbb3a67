// What the speaker played, kept whole and given back as a WAV file (PCM, mono, 16-bit, at the
// speaker's rate), so that a front end can write it out and a test can measure it.
#pragma once

#include "dos/Speaker.h"

#include <cstdint>
#include <vector>

namespace dos {

class CWaveRecorder final : public ISoundOutput {
public:
    void Play(const int16_t* samples, size_t count) override { m_samples.insert(m_samples.end(), samples, samples + count); }
    const std::vector<int16_t>& Samples() const { return m_samples; }
    // The RIFF file: its header, then the samples, little-endian.
    std::vector<uint8_t> WaveFile() const;

private:
    std::vector<int16_t> m_samples;
};

}  // namespace dos
