#include "audio/sound_device_names.h"

#include "audio/mixer_base.h"
#include "platform/log.h"
#include "platform/registry.h"
#include "platform/wave_devices.h"

namespace audio {

const wchar_t kSoundMapperKey[] = L"Software\\Microsoft\\Multimedia\\Sound Mapper\\";

namespace {

constexpr size_t kDefaultNameChars = 80;  // the terminating NUL included

bool FindUsbName(CMixerBase& names, std::wstring& name) {
    name.clear();
    for (uint32_t i = 0; i < names.m_nDeviceNames; ++i) {
        if (names.m_DeviceNames[i].find(L"USB") != std::wstring::npos) {
            name = names.m_DeviceNames[i];
            return true;
        }
    }
    return false;
}

// A string value that fits the buffer with its terminating NUL.
std::wstring DefaultName(platform::Registry& registry, const wchar_t* value) {
    const auto read = registry.GetValue(kSoundMapperKey, value);
    if (!read) return std::wstring();
    const std::wstring* text = std::get_if<std::wstring>(&*read);
    if (!text || text->size() + 1 > kDefaultNameChars) return std::wstring();
    return text->substr(0, text->find(L'\0'));
}

}  // namespace

void CMixerBase::ClearNames() {
    for (uint32_t i = m_nDeviceNames; i > 0; --i) m_DeviceNames[i - 1].clear();
    m_nDeviceNames = 0;
}

void CMixerBase::ListDeviceNames(uint32_t count, platform::MixerOpenBy by) {
    auto& mixer = platform::CurrentMixer();
    CloseMixer();
    ClearNames();
    const uint32_t n = count < kMaxDeviceNames ? count : static_cast<uint32_t>(kMaxDeviceNames);
    for (uint32_t id = 0; id < n; ++id) {
        platform::MixerHandle handle;
        if (mixer.Open(handle, id, by, platform::WindowHandle{}) != platform::kMmNoError) continue;
        platform::MixerCaps caps;
        if (mixer.GetDevCaps(handle, caps) == platform::kMmNoError) {
            platform::LogW(L"Find %ls", caps.productName.c_str());
            m_DeviceNames[m_nDeviceNames++] = caps.productName;
        }
        mixer.Close(handle);
    }
}

void CMixerBase::GetSysWaveOutSoundDeviceNames() {
    platform::LogW(L"Enter GetSysWaveOutSoundDeviceNames");
    ListDeviceNames(platform::CurrentWaveDevices().OutGetNumDevs(), platform::MixerOpenBy::WaveOutId);
}

void CMixerBase::GetSysWaveInSoundDeviceNames() {
    platform::LogW(L"Enter GetSysWaveInSoundDeviceNames");
    ListDeviceNames(platform::CurrentWaveDevices().InGetNumDevs(), platform::MixerOpenBy::WaveInId);
}

bool FindUsbOutDeviceName(std::wstring& name) {
    CMixerBase names;
    names.GetSysWaveOutSoundDeviceNames();
    return FindUsbName(names, name);
}

bool FindUsbInDeviceName(std::wstring& name) {
    CMixerBase names;
    names.GetSysWaveInSoundDeviceNames();
    return FindUsbName(names, name);
}

std::wstring FindUsbOutDeviceName() {
    std::wstring name;
    FindUsbOutDeviceName(name);
    return name;
}

std::wstring FindUsbInDeviceName() {
    std::wstring name;
    FindUsbInDeviceName(name);
    return name;
}

bool GetDefaultSoundDevices(std::wstring& playback, std::wstring& record) {
    playback.clear();
    record.clear();
    auto& registry = platform::CurrentRegistry();
    if (!registry.OpenKey(kSoundMapperKey)) return false;
    playback = DefaultName(registry, L"Playback");
    record = DefaultName(registry, L"Record");
    return true;
}

bool SetDefaultSoundDevices(const std::wstring& playback, const std::wstring& record) {
    auto& registry = platform::CurrentRegistry();
    if (!registry.OpenKey(kSoundMapperKey)) return false;
    registry.SetValue(kSoundMapperKey, L"Playback", playback);
    registry.SetValue(kSoundMapperKey, L"Record", record);
    return true;
}

}  // namespace audio
