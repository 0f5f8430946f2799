#include "platform/portable/memory_registry.h"

#include <cwctype>

namespace platform {

std::wstring MemoryRegistry::Fold(const std::wstring& text) {
    std::wstring out = text;
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

void MemoryRegistry::CreateKey(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    keys_[Fold(path)];
}

void MemoryRegistry::DeleteKey(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    keys_.erase(Fold(path));
}

bool MemoryRegistry::OpenKey(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return keys_.count(Fold(path)) != 0;
}

bool MemoryRegistry::SetValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = keys_.find(Fold(path));
        if (it == keys_.end()) return false;
        it->second[Fold(name)] = value;
    }
    Tell(path, name, value);
    return true;
}

bool MemoryRegistry::DeleteValue(const std::wstring& path, const std::wstring& name) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = keys_.find(Fold(path));
        if (it == keys_.end() || it->second.erase(Fold(name)) == 0) return false;
    }
    Tell(path, name, std::nullopt);
    return true;
}

void MemoryRegistry::SetListener(Listener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

void MemoryRegistry::Tell(const std::wstring& path, const std::wstring& name,
                          const std::optional<RegistryValue>& value) {
    Listener listener;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        listener = listener_;
    }
    if (listener) listener(path, name, value);
}

std::optional<RegistryValue> MemoryRegistry::GetValue(const std::wstring& path, const std::wstring& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = keys_.find(Fold(path));
    if (it == keys_.end()) return std::nullopt;
    auto v = it->second.find(Fold(name));
    if (v == it->second.end()) return std::nullopt;
    return v->second;
}

}  // namespace platform
