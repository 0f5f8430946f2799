#pragma once
// The ring-tone folder beside the program: its wave files, and a preview of
// one of them on the handset's playback device.

#include <string>
#include <vector>

#include "audio/wave_out.h"

namespace audio {

// The bare names of the entries matching "RingTone\*.wav" in the program's
// folder, sorted by their UTF-16 code units (upper case before lower case).
std::vector<std::wstring> ListRingTones();

// Loads the ring tone and plays it on the handset's playback device through
// the caller's player. False (and a log line) when the file cannot be loaded.
bool PreviewRingTone(CWaveOut& player, const std::wstring& fileName);

// The path of a file in the ring-tone folder.
std::wstring RingTonePath(const std::wstring& fileName);

}  // namespace audio
