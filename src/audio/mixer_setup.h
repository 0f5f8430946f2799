#pragma once
// Opens the handset's mixer controls by its playback device's name and
// applies the volume and mute settings; releases them all again.

#include <string>

#include "platform/window_handle.h"

namespace audio {

// `window` receives the mixer's change notifications.
void InitializeMixers(const std::wstring& outDeviceName, platform::WindowHandle window);
// Closes the four controls and releases their endpoints.
void ReleaseMixers();

}  // namespace audio
