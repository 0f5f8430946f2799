#include "platform/defaults/no_sound_devices.h"

namespace platform {

uint32_t NoSoundDevices::Open(MixerHandle& handle, uint32_t, MixerOpenBy, WindowHandle) {
    handle = kInvalidMixerHandle;
    return kMmBadDeviceId;
}
uint32_t NoSoundDevices::Close(MixerHandle) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::GetDevCaps(MixerHandle, MixerCaps&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::GetDestinationLine(MixerHandle, uint32_t, MixerLine&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::GetSourceLine(MixerHandle, uint32_t, uint32_t, MixerLine&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::GetLineControlByType(MixerHandle, uint32_t, uint32_t, MixerControl&) {
    return kMmInvalidHandle;
}
uint32_t NoSoundDevices::GetControlDetails(MixerHandle, const MixerControlDetails&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::SetControlDetails(MixerHandle, const MixerControlDetails&) { return kMmInvalidHandle; }

uint32_t NoSoundDevices::OutGetDevCaps(uint32_t, std::wstring& productName) {
    productName.clear();
    return kMmBadDeviceId;
}
uint32_t NoSoundDevices::InGetDevCaps(uint32_t, std::wstring& productName) {
    productName.clear();
    return kMmBadDeviceId;
}
uint32_t NoSoundDevices::OutOpen(WaveOutHandle& handle, uint32_t, const PcmFormat&, WaveOutCallback, uintptr_t) {
    handle = kInvalidWaveOutHandle;
    return kMmBadDeviceId;
}
uint32_t NoSoundDevices::OutPrepareHeader(WaveOutHandle, WaveHeader&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::OutUnprepareHeader(WaveOutHandle, WaveHeader&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::OutWrite(WaveOutHandle, WaveHeader&) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::OutReset(WaveOutHandle) { return kMmInvalidHandle; }
uint32_t NoSoundDevices::OutClose(WaveOutHandle) { return kMmInvalidHandle; }

// The endpoint component is there; it lists no endpoints.
int32_t NoSoundDevices::CreateEnumerator(EndpointObject& enumerator) {
    enumerator = EndpointObject{1};
    return kEndpointOk;
}
int32_t NoSoundDevices::EnumActiveEndpoints(EndpointObject, uint32_t, EndpointObject& collection) {
    collection = EndpointObject{2};
    return kEndpointOk;
}
int32_t NoSoundDevices::GetCount(EndpointObject, uint32_t& count) {
    count = 0;
    return kEndpointOk;
}
int32_t NoSoundDevices::Item(EndpointObject, uint32_t, EndpointObject& endpoint) {
    endpoint = EndpointObject{};
    return kEndpointInvalidArg;
}
int32_t NoSoundDevices::OpenPropertyStore(EndpointObject, EndpointObject& store) {
    store = EndpointObject{};
    return kEndpointInvalidArg;
}
int32_t NoSoundDevices::GetInterfaceFriendlyName(EndpointObject, std::wstring& name) {
    name.clear();
    return kEndpointInvalidArg;
}
int32_t NoSoundDevices::ActivateVolume(EndpointObject, EndpointObject& volume) {
    volume = EndpointObject{};
    return kEndpointInvalidArg;
}
int32_t NoSoundDevices::SetMasterVolumeLevelScalar(EndpointObject, float) { return kEndpointInvalidArg; }
int32_t NoSoundDevices::GetMasterVolumeLevelScalar(EndpointObject, float& level) {
    level = 0.0f;
    return kEndpointInvalidArg;
}

}  // namespace platform
