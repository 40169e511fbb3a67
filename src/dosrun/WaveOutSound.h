// The speaker heard through the host's sound device (waveOut): the machine's samples queued
// in short blocks as machine time passes. The device opens at the first sound; where there is
// none (a machine without sound, Wine without a driver) the sound is dropped without a word.
#pragma once

#include "dos/Speaker.h"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <vector>

namespace dos {

class CWaveOutSound final : public ISoundOutput {
public:
    CWaveOutSound() = default;
    ~CWaveOutSound();
    CWaveOutSound(const CWaveOutSound&) = delete;
    CWaveOutSound& operator=(const CWaveOutSound&) = delete;

    void Play(const int16_t* samples, size_t count) override;
    // Waits until what is queued has been heard (at most about a second).
    void Drain();

private:
    static constexpr size_t kBlocks = 16;
    // 20 ms a block.
    static constexpr size_t kBlockSamples = CSpeaker::kSampleRate / 50;

    struct Block {
        WAVEHDR header{};
        std::vector<int16_t> samples;
        bool queued = false;
    };

    bool Open();
    // The block being filled goes to the device, or is dropped while every block still plays.
    void Submit();
    Block* FreeBlock();

    HWAVEOUT m_hWave = nullptr;
    bool m_bFailed = false;
    std::array<Block, kBlocks> m_blocks;
    std::vector<int16_t> m_filling;
};

}  // namespace dos
