#pragma once
// The current user's registry: keys by path, DWORD and string values, set
// and deleted.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace platform {

using RegistryValue = std::variant<uint32_t, std::wstring>;

class Registry {
public:
    virtual ~Registry() = default;
    // True when the key exists (the key is then open for the set calls).
    virtual bool OpenKey(const std::wstring& path) = 0;
    virtual bool SetValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) = 0;
    virtual std::optional<RegistryValue> GetValue(const std::wstring& path, const std::wstring& name) = 0;
    // False when the key or the value is not there.
    virtual bool DeleteValue(const std::wstring& path, const std::wstring& name) = 0;
};

// The process-wide registry (platform/backends.h installs it).
Registry& CurrentRegistry();

}  // namespace platform
