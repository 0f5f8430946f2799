#pragma once
// The endpoint volume on Windows: the system's audio endpoint components,
// each object we hand out standing for one interface pointer we hold.

#include <map>
#include <mutex>

#include "platform/endpoint_volume.h"

struct IUnknown;

namespace platform::win32 {

class Win32EndpointVolume final : public EndpointVolume {
public:
    int32_t Initialize() override;
    void Uninitialize() override;
    int32_t CreateEnumerator(EndpointObject& enumerator) override;
    int32_t EnumActiveEndpoints(EndpointObject enumerator, uint32_t dataFlow, EndpointObject& collection) override;
    int32_t GetCount(EndpointObject collection, uint32_t& count) override;
    int32_t Item(EndpointObject collection, uint32_t index, EndpointObject& endpoint) override;
    int32_t OpenPropertyStore(EndpointObject endpoint, EndpointObject& store) override;
    int32_t GetInterfaceFriendlyName(EndpointObject store, std::wstring& name) override;
    int32_t ActivateVolume(EndpointObject endpoint, EndpointObject& volume) override;
    int32_t SetMasterVolumeLevelScalar(EndpointObject volume, float level) override;
    int32_t GetMasterVolumeLevelScalar(EndpointObject volume, float& level) override;
    void Release(EndpointObject object) override;

    enum class Kind { Enumerator, Collection, Endpoint, Store, Volume };

private:
    // The interface behind an object of the kind, with a reference of the
    // caller's own, or null when the object is not one of that kind.
    template <typename Interface>
    Interface* Acquire(EndpointObject object, Kind kind);
    EndpointObject Keep(IUnknown* object, Kind kind);

    struct Held {
        Kind kind;
        IUnknown* object;  // an interface of the kind
    };
    std::mutex mutex_;
    std::map<int32_t, Held> objects_;
    int32_t next_ = 1;
};

}  // namespace platform::win32
