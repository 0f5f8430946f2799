#include "platform/win32/win32_registry.h"

#include <cstring>
#include <vector>

#include "platform/log.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

// A key opened for one call and closed when it goes.
class OpenedKey {
public:
    OpenedKey(const std::wstring& path, REGSAM access)
        : status_(::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_)) {}
    ~OpenedKey() {
        if (status_ == ERROR_SUCCESS) ::RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    bool Open() const { return status_ == ERROR_SUCCESS; }
    LSTATUS Status() const { return status_; }
    HKEY Handle() const { return key_; }

private:
    HKEY key_ = nullptr;
    LSTATUS status_;
};

LSTATUS WriteValue(HKEY key, const std::wstring& name, const RegistryValue& value) {
    if (const auto* number = std::get_if<uint32_t>(&value)) {
        const DWORD data = *number;
        return ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    }
    const std::wstring& text = std::get<std::wstring>(value);
    // The terminator is part of the stored string.
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

std::optional<RegistryValue> ReadValue(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    std::vector<BYTE> data(bytes + sizeof(wchar_t), 0);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type == REG_DWORD && bytes == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof(number));
        return RegistryValue{static_cast<uint32_t>(number)};
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(bytes / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        return RegistryValue{text};
    }
    return std::nullopt;
}

}  // namespace

bool Win32Registry::OpenKey(const std::wstring& path) { return OpenedKey(path, KEY_READ).Open(); }

bool Win32Registry::SetValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) {
    const OpenedKey key(path, KEY_SET_VALUE);
    const LSTATUS status = key.Open() ? WriteValue(key.Handle(), name, value) : key.Status();
    if (status == ERROR_SUCCESS) return true;
    LogW(L"Registry: cannot set \"%ls\" under HKEY_CURRENT_USER\\%ls: error %ld\n", name.c_str(), path.c_str(),
         static_cast<long>(status));
    return false;
}

std::optional<RegistryValue> Win32Registry::GetValue(const std::wstring& path, const std::wstring& name) {
    const OpenedKey key(path, KEY_QUERY_VALUE);
    if (!key.Open()) return std::nullopt;
    return ReadValue(key.Handle(), name);
}

bool Win32Registry::DeleteValue(const std::wstring& path, const std::wstring& name) {
    const OpenedKey key(path, KEY_SET_VALUE);
    if (!key.Open()) return false;
    const LSTATUS status = ::RegDeleteValueW(key.Handle(), name.c_str());
    if (status == ERROR_SUCCESS) return true;
    // A value that is not there is no failure worth a line: the caller asked
    // for it to be gone.
    if (status != ERROR_FILE_NOT_FOUND) {
        LogW(L"Registry: cannot delete \"%ls\" under HKEY_CURRENT_USER\\%ls: error %ld\n", name.c_str(),
             path.c_str(), static_cast<long>(status));
    }
    return false;
}

}  // namespace platform::win32
