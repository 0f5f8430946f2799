#pragma once
// Directory port: the names of the entries that match a pattern such as
// "<folder>\RingTone\*.wav", one at a time, as the platform's directory
// search hands them out (in no particular order; folders included).

#include <cstdint>
#include <string>

namespace platform {

struct FindHandle {
    int32_t value = -1;
    bool IsValid() const { return value >= 0; }
};

class Directory {
public:
    virtual ~Directory() = default;
    // The first matching entry's bare name; an invalid handle when none.
    virtual FindHandle FindFirst(const std::wstring& pattern, std::wstring& name) = 0;
    // False when there are no more.
    virtual bool FindNext(FindHandle handle, std::wstring& name) = 0;
    virtual void FindClose(FindHandle handle) = 0;
};

// The process-wide directory search (platform/backends.h installs it).
Directory& CurrentDirectory();

}  // namespace platform
