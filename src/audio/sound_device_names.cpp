#include "audio/sound_device_names.h"

namespace audio {

// No sound devices are enumerated yet, so the handset's are never found;
// callers run on with empty names as they do when the handset is absent.
std::wstring FindUsbOutDeviceName() { return std::wstring(); }
std::wstring FindUsbInDeviceName() { return std::wstring(); }

}  // namespace audio
