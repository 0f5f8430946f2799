#include "audio/mixer_setup.h"

#include "platform/log.h"

namespace audio {

// The mixer controls are not opened yet: only the entry line is written, so
// the start-up and arrival sequences read as they will.
void InitializeMixers(const std::wstring& outDeviceName) {
    platform::LogW(L"InitializeMixers: %ls", outDeviceName.c_str());
}

}  // namespace audio
