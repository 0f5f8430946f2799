#pragma once
// The current user's registry: keys by path, DWORD and string values.

#include <cstdint>
#include <map>
#include <mutex>
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
};

// A registry kept in memory (the simulated world's, and the stand-in off
// Windows). Key paths compare without regard to case.
class MemoryRegistry final : public Registry {
public:
    void CreateKey(const std::wstring& path);
    void DeleteKey(const std::wstring& path);
    bool OpenKey(const std::wstring& path) override;
    bool SetValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) override;
    std::optional<RegistryValue> GetValue(const std::wstring& path, const std::wstring& name) override;

private:
    static std::wstring Fold(const std::wstring& text);
    std::mutex mutex_;
    std::map<std::wstring, std::map<std::wstring, RegistryValue>> keys_;
};

Registry& CurrentRegistry();
void InstallRegistry(Registry* registry);  // nullptr: an empty in-memory one

}  // namespace platform
