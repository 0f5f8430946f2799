#include "common/device_names.h"

namespace common {

DeviceName g_OutDeviceName;
DeviceName g_InDeviceName;

std::wstring DeviceName::Get() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_strName;
}

void DeviceName::Set(const std::wstring& name) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_strName = name.substr(0, kDeviceNameChars - 1);
}

}  // namespace common
