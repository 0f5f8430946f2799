#pragma once
// Names of the handset's own playback and recording devices.

#include <string>

namespace audio {

// Empty when the handset's device is not present.
std::wstring FindUsbOutDeviceName();
std::wstring FindUsbInDeviceName();

}  // namespace audio
