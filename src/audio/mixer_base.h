#pragma once
// One control of a mixer device, found by the device's product name, the
// line's component types and the control's type; and the device-name lists
// of the wave devices' mixers.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/mixer.h"

namespace audio {

constexpr size_t kMaxDeviceNames = 8;

class CMixerBase {
public:
    CMixerBase();
    virtual ~CMixerBase();
    CMixerBase(const CMixerBase&) = delete;
    CMixerBase& operator=(const CMixerBase&) = delete;

    bool OpenMixerByName(platform::WindowHandle window, const std::wstring& name);
    bool FindLineControl(uint32_t destinationType, uint32_t sourceType, uint32_t controlType);
    // Closes the mixer and frees the value array.
    void CloseMixer();

    // Fills the device-name list with the mixer names of the wave-out
    // (wave-in) devices, at most eight.
    void GetSysWaveOutSoundDeviceNames();
    void GetSysWaveInSoundDeviceNames();

    platform::MixerHandle m_hMixer;
    platform::MixerControl m_Control;
    int32_t m_nChannels = 0;
    platform::MixerControlDetails m_Details;
    std::vector<uint32_t> m_pValues;  // empty: none
    std::wstring m_DeviceNames[kMaxDeviceNames];
    uint32_t m_nDeviceNames = 0;

protected:
    bool ReadValues();
    bool WriteValues();

private:
    bool FindLine(uint32_t destinationType, uint32_t sourceType, platform::MixerLine& line);
    bool PrepareValues();
    void ClearNames();
    void ListDeviceNames(uint32_t count, platform::MixerOpenBy by);
};

// A narrow trace formatted into a buffer of 2048 bytes, as the mixer's
// warnings are.
void MixerTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace audio
