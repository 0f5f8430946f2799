#pragma once
// The directory search over the file system off Windows. The pattern's last
// component may hold '*' and '?'; both '/' and '\' separate components, so
// a pattern built the platform's way ("<folder>\RingTone\*.wav") and one
// built with the executable folder's own separator both work.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/directory.h"

namespace platform {

class FileDirectory final : public Directory {
public:
    FindHandle FindFirst(const std::wstring& pattern, std::wstring& name) override;
    bool FindNext(FindHandle handle, std::wstring& name) override;
    void FindClose(FindHandle handle) override;

    // True when `name` matches the wildcard pattern (case-insensitive, as the
    // platform's search is).
    static bool Matches(const std::wstring& pattern, const std::wstring& name);

private:
    std::mutex mutex_;
    std::map<int32_t, std::vector<std::wstring>> searches_;  // names still to hand out
    int32_t next_ = 1;
};

}  // namespace platform
