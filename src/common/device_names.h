#pragma once
// The handset's playback and recording device names, at most 49 characters
// each. Written by the user-interface thread, read by the key-event thread.

#include <mutex>
#include <string>

namespace common {

constexpr size_t kDeviceNameChars = 50;  // terminator included

class DeviceName {
public:
    std::wstring Get() const;
    // Cleared, then the name cut to 49 characters.
    void Set(const std::wstring& name);

private:
    mutable std::mutex m_Mutex;
    std::wstring m_strName;
};

extern DeviceName g_OutDeviceName;
extern DeviceName g_InDeviceName;

}  // namespace common
