#include "platform/portable/file_directory.h"

#include <cwctype>
#include <filesystem>

#include "platform/text_codec.h"

namespace platform {

namespace {

wchar_t Fold(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

bool MatchFrom(const std::wstring& p, size_t pi, const std::wstring& n, size_t ni) {
    for (; pi < p.size(); ++pi, ++ni) {
        if (p[pi] == L'*') {
            for (size_t skip = ni; skip <= n.size(); ++skip) {
                if (MatchFrom(p, pi + 1, n, skip)) return true;
            }
            return false;
        }
        if (ni >= n.size()) return false;
        if (p[pi] != L'?' && Fold(p[pi]) != Fold(n[ni])) return false;
    }
    return ni == n.size();
}

std::vector<std::wstring> Search(const std::wstring& pattern) {
    const size_t cut = pattern.find_last_of(L"/\\");
    std::wstring folder = cut == std::wstring::npos ? L"." : pattern.substr(0, cut);
    for (wchar_t& c : folder) {
        if (c == L'\\') c = L'/';
    }
    const std::wstring wildcard = cut == std::wstring::npos ? pattern : pattern.substr(cut + 1);
    std::vector<std::wstring> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(WideToUtf8(folder), ec)) {
        const std::wstring name = Utf8ToWide(entry.path().filename().string());
        if (FileDirectory::Matches(wildcard, name)) found.push_back(name);
    }
    return found;
}

}  // namespace

bool FileDirectory::Matches(const std::wstring& pattern, const std::wstring& name) {
    return MatchFrom(pattern, 0, name, 0);
}

FindHandle FileDirectory::FindFirst(const std::wstring& pattern, std::wstring& name) {
    std::vector<std::wstring> found = Search(pattern);
    if (found.empty()) return FindHandle{};
    name = found.front();
    found.erase(found.begin());
    std::lock_guard<std::mutex> lock(mutex_);
    const int32_t id = next_++;
    searches_[id] = std::move(found);
    return FindHandle{id};
}

bool FileDirectory::FindNext(FindHandle handle, std::wstring& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = searches_.find(handle.value);
    if (it == searches_.end() || it->second.empty()) return false;
    name = it->second.front();
    it->second.erase(it->second.begin());
    return true;
}

void FileDirectory::FindClose(FindHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    searches_.erase(handle.value);
}

}  // namespace platform
