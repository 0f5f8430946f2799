#include "platform/win32/win32_endpoint_volume.h"

#include <vector>

#include "platform/log.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

static_assert(kEndpointOk == S_OK && kEndpointFail == E_FAIL && kEndpointInvalidArg == E_INVALIDARG &&
              kEndpointNotRegistered == REGDB_E_CLASSNOTREG);
static_assert(kEndpointRender == eRender && kEndpointCapture == eCapture);

namespace {

// The friendly name of a device interface, as documented for the property
// store of an endpoint.
const PROPERTYKEY kInterfaceFriendlyName{{0x026e516e, 0xb814, 0x414b, {0x83, 0xcd, 0x85, 0x6d, 0x6f, 0xef, 0x48, 0x22}},
                                         2};

// Whether each Initialize of this thread, innermost last, has its own
// CoUninitialize to come: a thread the system already joined to a
// single-threaded apartment keeps it, and its components work there too.
thread_local std::vector<bool> initialized;

int32_t Logged(const char* call, HRESULT result) {
    if (FAILED(result)) LogA("Endpoint volume: %s failed (0x%08lX)\n", call, static_cast<unsigned long>(result));
    return static_cast<int32_t>(result);
}

}  // namespace

int32_t Win32EndpointVolume::Initialize() {
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    initialized.push_back(SUCCEEDED(result));
    if (result == RPC_E_CHANGED_MODE) return kEndpointOk;
    return Logged("joining the component runtime", result);
}

void Win32EndpointVolume::Uninitialize() {
    if (initialized.empty()) {
        LogA("Endpoint volume: Uninitialize without Initialize on this thread\n");
        return;
    }
    const bool own = initialized.back();
    initialized.pop_back();
    if (own) ::CoUninitialize();
}

EndpointObject Win32EndpointVolume::Keep(IUnknown* object, Kind kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    const EndpointObject handle{next_++};
    objects_[handle.value] = Held{kind, object};
    return handle;
}

template <typename Interface>
Interface* Win32EndpointVolume::Acquire(EndpointObject object, Kind kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(object.value);
    if (it == objects_.end() || it->second.kind != kind) return nullptr;
    auto* found = static_cast<Interface*>(it->second.object);
    found->AddRef();
    return found;
}

// Holds the reference Acquire took for the length of one call.
template <typename Interface>
struct Acquired {
    Interface* object;
    ~Acquired() {
        if (object) object->Release();
    }
    Interface* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }
};

int32_t Win32EndpointVolume::CreateEnumerator(EndpointObject& enumerator) {
    enumerator = EndpointObject{};
    IMMDeviceEnumerator* created = nullptr;
    const HRESULT result = ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                              __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&created));
    if (FAILED(result)) return Logged("creating the device enumerator", result);
    enumerator = Keep(created, Kind::Enumerator);
    return kEndpointOk;
}

int32_t Win32EndpointVolume::EnumActiveEndpoints(EndpointObject enumerator, uint32_t dataFlow,
                                                 EndpointObject& collection) {
    collection = EndpointObject{};
    Acquired<IMMDeviceEnumerator> source{Acquire<IMMDeviceEnumerator>(enumerator, Kind::Enumerator)};
    if (!source || dataFlow > kEndpointCapture) return Logged("listing endpoints", E_INVALIDARG);
    IMMDeviceCollection* found = nullptr;
    const HRESULT result =
        source->EnumAudioEndpoints(static_cast<EDataFlow>(dataFlow), DEVICE_STATE_ACTIVE, &found);
    if (FAILED(result)) return Logged("listing endpoints", result);
    collection = Keep(found, Kind::Collection);
    return kEndpointOk;
}

int32_t Win32EndpointVolume::GetCount(EndpointObject collection, uint32_t& count) {
    Acquired<IMMDeviceCollection> list{Acquire<IMMDeviceCollection>(collection, Kind::Collection)};
    if (!list) return Logged("counting endpoints", E_INVALIDARG);
    UINT found = 0;
    const HRESULT result = list->GetCount(&found);
    if (FAILED(result)) return Logged("counting endpoints", result);
    count = found;
    return kEndpointOk;
}

int32_t Win32EndpointVolume::Item(EndpointObject collection, uint32_t index, EndpointObject& endpoint) {
    endpoint = EndpointObject{};
    Acquired<IMMDeviceCollection> list{Acquire<IMMDeviceCollection>(collection, Kind::Collection)};
    if (!list) return Logged("taking an endpoint", E_INVALIDARG);
    IMMDevice* found = nullptr;
    const HRESULT result = list->Item(index, &found);
    if (FAILED(result)) return Logged("taking an endpoint", result);
    endpoint = Keep(found, Kind::Endpoint);
    return kEndpointOk;
}

int32_t Win32EndpointVolume::OpenPropertyStore(EndpointObject endpoint, EndpointObject& store) {
    store = EndpointObject{};
    Acquired<IMMDevice> device{Acquire<IMMDevice>(endpoint, Kind::Endpoint)};
    if (!device) return Logged("opening an endpoint's properties", E_INVALIDARG);
    IPropertyStore* found = nullptr;
    const HRESULT result = device->OpenPropertyStore(STGM_READ, &found);
    if (FAILED(result)) return Logged("opening an endpoint's properties", result);
    store = Keep(found, Kind::Store);
    return kEndpointOk;
}

int32_t Win32EndpointVolume::GetInterfaceFriendlyName(EndpointObject store, std::wstring& name) {
    Acquired<IPropertyStore> properties{Acquire<IPropertyStore>(store, Kind::Store)};
    if (!properties) return Logged("reading an interface name", E_INVALIDARG);
    PROPVARIANT value;
    ::PropVariantInit(&value);
    HRESULT result = properties->GetValue(kInterfaceFriendlyName, &value);
    if (SUCCEEDED(result) && value.vt != VT_LPWSTR) result = E_FAIL;  // absent, or not text
    if (SUCCEEDED(result)) name = value.pwszVal ? value.pwszVal : L"";
    ::PropVariantClear(&value);
    return Logged("reading an interface name", result);
}

int32_t Win32EndpointVolume::ActivateVolume(EndpointObject endpoint, EndpointObject& volume) {
    volume = EndpointObject{};
    Acquired<IMMDevice> device{Acquire<IMMDevice>(endpoint, Kind::Endpoint)};
    if (!device) return Logged("activating an endpoint's volume", E_INVALIDARG);
    IAudioEndpointVolume* found = nullptr;
    const HRESULT result =
        device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&found));
    if (FAILED(result)) return Logged("activating an endpoint's volume", result);
    volume = Keep(found, Kind::Volume);
    return kEndpointOk;
}

// The system refuses levels outside 0.0 ... 1.0 itself; the check here keeps
// that so for a NaN too, which no comparison passes.
int32_t Win32EndpointVolume::SetMasterVolumeLevelScalar(EndpointObject volume, float level) {
    Acquired<IAudioEndpointVolume> control{Acquire<IAudioEndpointVolume>(volume, Kind::Volume)};
    if (!control) return Logged("setting a level", E_FAIL);
    if (!(level >= 0.0f && level <= 1.0f)) return Logged("setting a level out of range", E_INVALIDARG);
    return Logged("setting a level", control->SetMasterVolumeLevelScalar(level, nullptr));
}

int32_t Win32EndpointVolume::GetMasterVolumeLevelScalar(EndpointObject volume, float& level) {
    Acquired<IAudioEndpointVolume> control{Acquire<IAudioEndpointVolume>(volume, Kind::Volume)};
    if (!control) return Logged("reading a level", E_FAIL);
    return Logged("reading a level", control->GetMasterVolumeLevelScalar(&level));
}

void Win32EndpointVolume::Release(EndpointObject object) {
    IUnknown* held = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = objects_.find(object.value);
        if (it == objects_.end()) return;
        held = it->second.object;
        objects_.erase(it);
    }
    held->Release();
}

}  // namespace platform::win32
