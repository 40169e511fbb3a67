// The WAV file of what the speaker played: a RIFF header with one "fmt " and one "data" chunk.
#include "dos/WaveRecorder.h"

namespace dos {

namespace {

void Put(std::vector<uint8_t>& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& bytes, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(tag[i]));
}

}

std::vector<uint8_t> CWaveRecorder::WaveFile() const
{
    constexpr uint32_t kBytesPerSample = 2;
    const uint32_t dataSize = static_cast<uint32_t>(m_samples.size() * kBytesPerSample);
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + dataSize);
    PutTag(bytes, "RIFF");
    Put(bytes, 36 + dataSize, 4);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put(bytes, 16, 4);
    Put(bytes, 1, 2);
    Put(bytes, 1, 2);
    Put(bytes, CSpeaker::kSampleRate, 4);
    Put(bytes, CSpeaker::kSampleRate * kBytesPerSample, 4);
    Put(bytes, kBytesPerSample, 2);
    Put(bytes, 16, 2);
    PutTag(bytes, "data");
    Put(bytes, dataSize, 4);
    for (const int16_t sample : m_samples)
        Put(bytes, static_cast<uint16_t>(sample), 2);
    return bytes;
}

}  // namespace dos
