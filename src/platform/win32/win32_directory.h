#pragma once
// The directory search on Windows: the system's own search, so that its
// wildcard rules (and its short-name matches) are the ones the program sees.

#include <map>
#include <mutex>
#include <string>

#include "platform/directory.h"

namespace platform::win32 {

class Win32Directory final : public Directory {
public:
    ~Win32Directory() override;
    FindHandle FindFirst(const std::wstring& pattern, std::wstring& name) override;
    bool FindNext(FindHandle handle, std::wstring& name) override;
    void FindClose(FindHandle handle) override;

private:
    struct Search {
        void* system;  // the system's search handle
        std::wstring pattern;
    };
    std::mutex mutex_;
    std::map<int32_t, Search> searches_;
    int32_t next_ = 1;
};

}  // namespace platform::win32
