#pragma once
// A registry kept in memory: the simulated world's, and the stand-in off
// Windows. Key paths and value names compare without regard to case.

#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/registry.h"

namespace platform {

class MemoryRegistry final : public Registry {
public:
    void CreateKey(const std::wstring& path);
    void DeleteKey(const std::wstring& path);
    bool OpenKey(const std::wstring& path) override;
    bool SetValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) override;
    std::optional<RegistryValue> GetValue(const std::wstring& path, const std::wstring& name) override;
    bool DeleteValue(const std::wstring& path, const std::wstring& name) override;

    // Sees every value written (the value) or deleted (nullopt), as the
    // program named the key and the value; called with no lock held.
    using Listener = std::function<void(const std::wstring& path, const std::wstring& name,
                                        const std::optional<RegistryValue>& value)>;
    void SetListener(Listener listener);

private:
    void Tell(const std::wstring& path, const std::wstring& name, const std::optional<RegistryValue>& value);
    Listener listener_;
    static std::wstring Fold(const std::wstring& text);
    std::mutex mutex_;
    std::map<std::wstring, std::map<std::wstring, RegistryValue>> keys_;
};

}  // namespace platform
