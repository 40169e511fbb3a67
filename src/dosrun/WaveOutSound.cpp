// waveOut with a ring of blocks: a block whose WHDR_DONE is set is free again. When the
// machine runs ahead of the device (fixed time, a burst after a wait) the blocks that do not
// fit are dropped, so the sound stays no more than the ring's length behind the machine.
#include "dosrun/WaveOutSound.h"

#include <algorithm>

namespace dos {

CWaveOutSound::~CWaveOutSound()
{
    if (!m_hWave)
        return;
    waveOutReset(m_hWave);
    for (Block& block : m_blocks)
        if (block.queued)
            waveOutUnprepareHeader(m_hWave, &block.header, sizeof block.header);
    waveOutClose(m_hWave);
}

bool CWaveOutSound::Open()
{
    if (m_hWave || m_bFailed)
        return m_hWave != nullptr;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = CSpeaker::kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = CSpeaker::kSampleRate * 2;
    m_bFailed = waveOutOpen(&m_hWave, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR;
    if (m_bFailed)
        m_hWave = nullptr;
    return !m_bFailed;
}

CWaveOutSound::Block* CWaveOutSound::FreeBlock()
{
    for (Block& block : m_blocks) {
        if (block.queued && (block.header.dwFlags & WHDR_DONE)) {
            waveOutUnprepareHeader(m_hWave, &block.header, sizeof block.header);
            block.queued = false;
        }
        if (!block.queued)
            return &block;
    }
    return nullptr;
}

void CWaveOutSound::Submit()
{
    Block* block = FreeBlock();
    if (block) {
        block->samples.swap(m_filling);
        block->header = WAVEHDR{};
        block->header.lpData = reinterpret_cast<LPSTR>(block->samples.data());
        block->header.dwBufferLength = static_cast<DWORD>(block->samples.size() * sizeof(int16_t));
        block->queued = waveOutPrepareHeader(m_hWave, &block->header, sizeof block->header) == MMSYSERR_NOERROR &&
                        waveOutWrite(m_hWave, &block->header, sizeof block->header) == MMSYSERR_NOERROR;
    }
    m_filling.clear();
}

void CWaveOutSound::Play(const int16_t* samples, size_t count)
{
    // Silence before the first sound opens no device.
    if (!m_hWave && std::all_of(samples, samples + count, [](int16_t sample) { return sample == 0; }))
        return;
    if (!Open())
        return;
    for (size_t i = 0; i < count; ++i) {
        m_filling.push_back(samples[i]);
        if (m_filling.size() == kBlockSamples)
            Submit();
    }
}

void CWaveOutSound::Drain()
{
    if (!m_hWave)
        return;
    if (!m_filling.empty())
        Submit();
    for (int wait = 0; wait < 100 && std::any_of(m_blocks.begin(), m_blocks.end(), [](const Block& block) {
                           return block.queued && !(block.header.dwFlags & WHDR_DONE);
                       });
         ++wait)
        Sleep(10);
}

}  // namespace dos
