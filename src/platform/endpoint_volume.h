#pragma once
// Endpoint volume port: the per-endpoint master levels of the platforms that
// keep volume per endpoint. The calls follow the platform's component
// interfaces one for one: an enumerator lists the active endpoints of a data
// flow, an endpoint names the device interface it belongs to and hands out
// its volume object. Results are the platform's (0: success, negative:
// failure); every object obtained is released with Release.
//
// Contract every backend keeps: Initialize and Uninitialize pair up on the
// calling thread around the other calls, and a volume object stays usable
// from any thread until released.

#include <cstdint>
#include <string>

namespace platform {

struct EndpointObject {
    int32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(EndpointObject a, EndpointObject b) { return a.value == b.value; }
};

constexpr int32_t kEndpointOk = 0;
constexpr int32_t kEndpointFail = -2147467259;         // 0x80004005
constexpr int32_t kEndpointInvalidArg = -2147024809;   // 0x80070057
constexpr int32_t kEndpointNotRegistered = -2147221164;  // 0x80040154, no such component

// Data flows.
constexpr uint32_t kEndpointRender = 0;
constexpr uint32_t kEndpointCapture = 1;

class EndpointVolume {
public:
    virtual ~EndpointVolume() = default;
    virtual int32_t Initialize() = 0;
    virtual void Uninitialize() = 0;
    virtual int32_t CreateEnumerator(EndpointObject& enumerator) = 0;
    virtual int32_t EnumActiveEndpoints(EndpointObject enumerator, uint32_t dataFlow, EndpointObject& collection) = 0;
    virtual int32_t GetCount(EndpointObject collection, uint32_t& count) = 0;
    virtual int32_t Item(EndpointObject collection, uint32_t index, EndpointObject& endpoint) = 0;
    virtual int32_t OpenPropertyStore(EndpointObject endpoint, EndpointObject& store) = 0;
    // The friendly name of the device interface the endpoint belongs to.
    virtual int32_t GetInterfaceFriendlyName(EndpointObject store, std::wstring& name) = 0;
    virtual int32_t ActivateVolume(EndpointObject endpoint, EndpointObject& volume) = 0;
    virtual int32_t SetMasterVolumeLevelScalar(EndpointObject volume, float level) = 0;
    virtual int32_t GetMasterVolumeLevelScalar(EndpointObject volume, float& level) = 0;
    virtual void Release(EndpointObject object) = 0;
};

// The process-wide endpoint volume (platform/backends.h installs it).
EndpointVolume& CurrentEndpointVolume();

}  // namespace platform
