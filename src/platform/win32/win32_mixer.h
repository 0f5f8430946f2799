#pragma once
// The mixers on Windows: the system's legacy mixer calls, with our handle
// numbers standing for the system's handles. Change notices go by the
// system straight to the callback window.

#include <map>
#include <mutex>

#include "platform/mixer.h"

namespace platform::win32 {

class Win32Mixer final : public Mixer {
public:
    uint32_t GetNumDevs() override;
    uint32_t Open(MixerHandle& handle, uint32_t id, MixerOpenBy by, WindowHandle callback) override;
    uint32_t Close(MixerHandle handle) override;
    uint32_t GetDevCaps(MixerHandle handle, MixerCaps& caps) override;
    uint32_t GetDestinationLine(MixerHandle handle, uint32_t destination, MixerLine& line) override;
    uint32_t GetSourceLine(MixerHandle handle, uint32_t destination, uint32_t source, MixerLine& line) override;
    uint32_t GetLineControlByType(MixerHandle handle, uint32_t lineId, uint32_t controlType,
                                  MixerControl& control) override;
    uint32_t GetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;
    uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;

private:
    // The system's handle, or null for one never opened (or closed).
    void* SystemOf(MixerHandle handle);
    uint32_t LineInfo(MixerHandle handle, uint32_t destination, uint32_t source, bool ofSource, MixerLine& line);
    uint32_t Details(MixerHandle handle, const MixerControlDetails& details, bool set);

    std::mutex mutex_;
    std::map<int32_t, void*> mixers_;
    int32_t nextHandle_ = 1;
};

}  // namespace platform::win32
