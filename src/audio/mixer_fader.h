#pragma once
// The handset's volume faders and mute switches. The volume scale is 0 ... 31
// everywhere; a fader converts it to its control's range, or on platforms
// that keep volume per endpoint to the endpoint's level.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "audio/mixer_base.h"
#include "platform/endpoint_volume.h"

namespace audio {

// SetFaderValue types.
constexpr int kFaderStepUp = 0;         // 25 steps of the control up
constexpr int kFaderStepDown = 1;       // 25 steps down
constexpr int kFaderAbsoluteSteps = 2;  // value 0 ... 31 in whole steps
constexpr int kFaderAbsolute = 4;       // value 0 ... 31 over the full range
constexpr uint32_t kFaderKeySteps = 25;

class CMixerFader : public CMixerBase {
public:
    explicit CMixerFader(const char* name, uint32_t dataFlow = platform::kEndpointRender);
    ~CMixerFader() override;
    const char* Name() const { return m_strName; }

    // Opens the named mixer with notifications to `window` and finds the
    // volume control of the line.
    bool Init(platform::WindowHandle window, uint32_t destinationType, uint32_t sourceType, const std::wstring& name);
    // Opens the named mixer without notifications and finds the mute
    // control of the destination line.
    bool InitMute(uint32_t destinationType, const std::wstring& name);
    void SetFaderValue(int value, int type);
    // The mute switch's value; 0 when the values cannot be read.
    uint32_t GetMuteValue();
    // Writes the mute switch (setting value 1 mutes, anything else unmutes).
    void ApplyMuteSetting(int setting);
    // The first channel's raw value; false when it cannot be read.
    bool ReadFirstValue(uint32_t& value);
    // Closes the mixer and forgets the value arrays (the endpoint stays).
    void Forget();
    // Keeps `endpoint` (none: clears), releasing the one held before.
    void ReplaceEndpoint(platform::EndpointObject endpoint);
    platform::EndpointObject Endpoint();

    uint32_t m_nRange = 0;
    uint32_t m_nStepSize = 0;
    uint32_t m_nSteps = 0;
    int32_t m_nPos = 0;
    float m_fBalance = 0.0f;
    uint32_t m_nMuteIndex = 0;
    uint32_t* m_Value = nullptr;
    uint32_t* m_pMuteValues = nullptr;
    platform::EndpointObject m_pEndpointVolume;
    uint32_t m_nDataFlow;

private:
    uint32_t RawValue(int value, int type) const;
    void WriteBalanced(uint32_t raw);
    void ReadPosition();

    const char* m_strName;
    // Faders are moved from the key-event, Skype and user-interface threads.
    std::recursive_mutex m_Mutex;
};

extern CMixerFader g_OutFader;
extern CMixerFader g_InFader;
extern CMixerFader g_OutMute;
extern CMixerFader g_InMute;

// The forms the rest of the program calls.
void SetFaderValue(CMixerFader& fader, int value, int type);
int GetMuteValue(CMixerFader& mute);
// The handset's playback level, 0 ... 31.
int GetOutVolume();

// Sees every SetFaderValue call (the simulator's transcript, tests); empty:
// none.
using FaderObserver = std::function<void(CMixerFader& fader, int value, int type)>;
void InstallFaderObserver(FaderObserver observer);

}  // namespace audio
