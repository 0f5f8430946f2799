#include "audio/endpoint_volume.h"

#include <atomic>
#include <cwchar>
#include <string>

#include "platform/log.h"
#include "platform/system.h"

namespace audio {

namespace {

// The level is kept in single precision but scaled in double, so that a
// level set from a value can read back one lower (24 gives 23).
constexpr double kScaleTop = 31.0;

std::atomic<platform::CriticalSection*> g_handsetLock{nullptr};

platform::CriticalSection& HandsetLock() {
    static platform::CriticalSection* own = new platform::CriticalSection;
    platform::CriticalSection* lock = g_handsetLock.load();
    return lock ? *lock : *own;
}

std::wstring VersionText(const platform::OsVersionInfo& v) {
    wchar_t text[512];
    std::swprintf(text, sizeof(text) / sizeof(text[0]),
                  L"dwMajorVersion = %ld;dwMinorVersion = %ld;dwBuildNumber = %ld;dwPlatformId = %ld;"
                  L"wServicePackMajor = %ld;wServicePackMinor = %ld;szCSDVersion = %ls;wSuiteMask = %ld;"
                  L"wProductType = %ld;",
                  static_cast<long>(v.majorVersion), static_cast<long>(v.minorVersion),
                  static_cast<long>(v.buildNumber), static_cast<long>(v.platformId),
                  static_cast<long>(v.servicePackMajor), static_cast<long>(v.servicePackMinor),
                  v.csdVersion.substr(0, 127).c_str(), static_cast<long>(v.suiteMask),
                  static_cast<long>(v.productType));
    return text;
}

// One endpoint of the collection: its volume object when its device
// interface's name holds "USB". False after a failure (traced).
bool TryEndpoint(platform::EndpointVolume& port, platform::EndpointObject collection, uint32_t index,
                 platform::EndpointObject& volume, bool& found) {
    platform::EndpointObject endpoint, store;
    std::wstring name;
    bool ok = true;
    if (port.Item(collection, index, endpoint) < 0) {
        platform::LogW(L"GetUsbPhoneVolumeCtrl fail 4");
        ok = false;
    } else if (port.OpenPropertyStore(endpoint, store) < 0) {
        platform::LogW(L"GetUsbPhoneVolumeCtrl fail 5");
        ok = false;
    } else if (port.GetInterfaceFriendlyName(store, name) < 0) {
        platform::LogW(L"GetUsbPhoneVolumeCtrl fail 6");
        ok = false;
    } else {
        platform::LogW(L"Find %ls", name.c_str());
        found = name.find(L"USB") != std::wstring::npos;
        platform::EndpointObject activated;
        if (found && port.ActivateVolume(endpoint, activated) >= 0 && activated) volume = activated;
    }
    if (store) port.Release(store);
    if (endpoint) port.Release(endpoint);
    return ok;
}

}  // namespace

void SetHandsetLock(platform::CriticalSection* lock) { g_handsetLock.store(lock); }

int CheckIsVistaOs() {
    platform::LogW(L"Enter CheckIsVistaOs");
    auto& system = platform::CurrentSystem();
    platform::OsVersionInfo version;
    if (!system.GetVersionInfo(version, true)) {
        version = platform::OsVersionInfo{};
        if (!system.GetVersionInfo(version, false)) {
            platform::LogW(L"GetVersionEx Error...");
            return 0;
        }
    }
    platform::LogW(L"%ls", VersionText(version).c_str());
    return version.majorVersion > 5 ? 1 : 0;
}

void SetVistaVolume(platform::EndpointObject endpoint, int value) {
    platform::Guard lock(HandsetLock());
    platform::LogW(L"Enter SetVistaVolume");
    if (!endpoint) return;
    platform::LogW(L"SetMasterVolumeLevelScalar");
    auto& port = platform::CurrentEndpointVolume();
    port.Initialize();
    port.SetMasterVolumeLevelScalar(endpoint, static_cast<float>(value / kScaleTop));
    port.Uninitialize();
}

int GetVistaVolume(platform::EndpointObject endpoint) {
    platform::Guard lock(HandsetLock());
    platform::LogW(L"Enter GetVistaVolume");
    float level = 0.0f;
    if (endpoint) {
        platform::LogW(L"GetMasterVolumeLevelScalar");
        auto& port = platform::CurrentEndpointVolume();
        port.Initialize();
        if (port.GetMasterVolumeLevelScalar(endpoint, level) < 0) level = 0.0f;
        port.Uninitialize();
    }
    const int volume = static_cast<int>(static_cast<double>(level) * kScaleTop);
    platform::LogW(L"GetVistaVolume: vol=%ld", static_cast<long>(volume));
    return volume;
}

void StepVistaVolume(platform::EndpointObject endpoint, bool up) {
    platform::Guard lock(HandsetLock());
    platform::LogW(L"Enter StepVistaVolume: %ls", up ? L"up" : L"down");
    if (!endpoint) return;
    auto& port = platform::CurrentEndpointVolume();
    port.Initialize();
    float level = 0.0f;
    if (port.GetMasterVolumeLevelScalar(endpoint, level) >= 0) {
        level += up ? kVistaKeyStep : -kVistaKeyStep;
        level = level < 0.0f ? 0.0f : (level > 1.0f ? 1.0f : level);
        port.SetMasterVolumeLevelScalar(endpoint, level);
    }
    port.Uninitialize();
}

void GetUsbPhoneVolumeCtrl(platform::EndpointObject& endpoint, uint32_t dataFlow) {
    platform::LogW(L"Enter GetUsbPhoneVolumeCtrl");
    auto& port = platform::CurrentEndpointVolume();
    port.Initialize();
    platform::EndpointObject enumerator, collection;
    uint32_t count = 0;
    bool ok = true;
    if (const int32_t hr = port.CreateEnumerator(enumerator); hr < 0) {
        platform::LogW(L"GetUsbPhoneVolumeCtrl fail 1, error=0x%x", static_cast<unsigned>(hr));
        ok = false;
    } else if (port.EnumActiveEndpoints(enumerator, dataFlow, collection) < 0) {
        platform::LogW(L"GetUsbPhoneVolumeCtrl fail 2");
        ok = false;
    } else if (port.GetCount(collection, count) < 0) {
        platform::LogW(L"GetUsbPhoneVolumeCtrl fail 3");
        ok = false;
    }
    bool found = false;
    for (uint32_t i = 0; ok && !found && i < count; ++i) ok = TryEndpoint(port, collection, i, endpoint, found);
    if (!ok) platform::LogW(L"GetUsbPhoneVolumeCtrl Error!\n");
    if (collection) port.Release(collection);
    if (enumerator) port.Release(enumerator);
    port.Uninitialize();
}

}  // namespace audio
