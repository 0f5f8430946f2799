#pragma once
// Names of the handset's own playback and recording devices, and the
// current user's system default devices.

#include <string>

namespace audio {

// True and the first wave-out (wave-in) device name that contains "USB";
// false and an empty name when none does.
bool FindUsbOutDeviceName(std::wstring& name);
bool FindUsbInDeviceName(std::wstring& name);
// The same, the name alone (empty when the handset's device is not present).
std::wstring FindUsbOutDeviceName();
std::wstring FindUsbInDeviceName();

// The system default playback and record devices' names. False when the
// registry key cannot be opened (both names empty); a value that cannot be
// read leaves its name empty.
bool GetDefaultSoundDevices(std::wstring& playback, std::wstring& record);
// False when the key cannot be opened (nothing written).
bool SetDefaultSoundDevices(const std::wstring& playback, const std::wstring& record);

extern const wchar_t kSoundMapperKey[];

}  // namespace audio
