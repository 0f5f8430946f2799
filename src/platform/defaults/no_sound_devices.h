#pragma once
// Stands in where no sound backend is available: no mixers, no wave
// devices, no endpoints. Every open fails as for a device id out of range.

#include "platform/endpoint_volume.h"
#include "platform/mixer.h"
#include "platform/wave_devices.h"

namespace platform {

class NoSoundDevices final : public Mixer, public WaveDevices, public EndpointVolume {
public:
    uint32_t GetNumDevs() override { return 0; }
    uint32_t Open(MixerHandle& handle, uint32_t id, MixerOpenBy by, WindowHandle callback) override;
    uint32_t Close(MixerHandle handle) override;
    uint32_t GetDevCaps(MixerHandle handle, MixerCaps& caps) override;
    uint32_t GetDestinationLine(MixerHandle handle, uint32_t destination, MixerLine& line) override;
    uint32_t GetSourceLine(MixerHandle handle, uint32_t destination, uint32_t source, MixerLine& line) override;
    uint32_t GetLineControlByType(MixerHandle handle, uint32_t lineId, uint32_t controlType,
                                  MixerControl& control) override;
    uint32_t GetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;
    uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;

    uint32_t OutGetNumDevs() override { return 0; }
    uint32_t OutGetDevCaps(uint32_t id, std::wstring& productName) override;
    uint32_t OutOpen(WaveOutHandle& handle, uint32_t id, const PcmFormat& format, WaveOutCallback callback,
                     uintptr_t instance) override;
    uint32_t OutPrepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutUnprepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutWrite(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutReset(WaveOutHandle handle) override;
    uint32_t OutClose(WaveOutHandle handle) override;
    uint32_t InGetNumDevs() override { return 0; }
    uint32_t InGetDevCaps(uint32_t id, std::wstring& productName) override;

    int32_t Initialize() override { return kEndpointOk; }
    void Uninitialize() override {}
    int32_t CreateEnumerator(EndpointObject& enumerator) override;
    int32_t EnumActiveEndpoints(EndpointObject enumerator, uint32_t dataFlow, EndpointObject& collection) override;
    int32_t GetCount(EndpointObject collection, uint32_t& count) override;
    int32_t Item(EndpointObject collection, uint32_t index, EndpointObject& endpoint) override;
    int32_t OpenPropertyStore(EndpointObject endpoint, EndpointObject& store) override;
    int32_t GetInterfaceFriendlyName(EndpointObject store, std::wstring& name) override;
    int32_t ActivateVolume(EndpointObject endpoint, EndpointObject& volume) override;
    int32_t SetMasterVolumeLevelScalar(EndpointObject volume, float level) override;
    int32_t GetMasterVolumeLevelScalar(EndpointObject volume, float& level) override;
    void Release(EndpointObject) override {}
};

}  // namespace platform
