#pragma once
// One sound from a RIFF WAVE file: its PCM format and its sample frames.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/wave_devices.h"

namespace audio {

// The samples of one sound.
class CWaveBuffer {
public:
    // Replaces the samples with `count` frames of `frameSize` bytes from `bytes`.
    void SetSamples(const uint8_t* bytes, uint32_t frameSize, uint32_t count);
    const uint8_t* Samples() const { return m_pSamples.empty() ? nullptr : m_pSamples.data(); }

    uint32_t m_nSampleSize = 0;  // bytes per frame: the format's block align
    std::vector<uint8_t> m_pSamples;
    uint32_t m_nNumSamples = 0;
};

enum class WaveLoadResult {
    Ok,
    CannotOpen,   // the platform's file-open error
    InvalidFile,  // not a RIFF WAVE file with a format and a data chunk
};

class CWave {
public:
    // Reads the file; on failure the sound is left as it was and a log line
    // names the path and the reason.
    WaveLoadResult Load(const std::wstring& path);
    // The same from the file's bytes (`source` names them in the log).
    WaveLoadResult Parse(const uint8_t* bytes, size_t size, const std::wstring& source);
    // Bytes of whole frames: block align × number of frames.
    uint32_t DataBytes() const { return m_Buffer.m_nSampleSize * m_Buffer.m_nNumSamples; }

    CWaveBuffer m_Buffer;
    platform::PcmFormat m_Format;
};

}  // namespace audio
