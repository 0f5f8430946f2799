#pragma once
// The current user's registry on Windows (HKEY_CURRENT_USER). Each call
// opens the key, does its work and closes it again; a key that cannot be
// opened or written is logged and answered with false or nothing.

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry final : public Registry {
public:
    bool OpenKey(const std::wstring& path) override;
    bool SetValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) override;
    std::optional<RegistryValue> GetValue(const std::wstring& path, const std::wstring& name) override;
    bool DeleteValue(const std::wstring& path, const std::wstring& name) override;
};

}  // namespace platform::win32
