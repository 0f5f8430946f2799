#pragma once
// Opens the handset's mixer controls by its playback device's name and
// applies the volume and mute settings.

#include <string>

namespace audio {

void InitializeMixers(const std::wstring& outDeviceName);

}  // namespace audio
