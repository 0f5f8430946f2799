#include "audio/mixer_setup.h"

#include "audio/endpoint_volume.h"
#include "audio/mixer_fader.h"
#include "audio/mixer_names.h"
#include "common/settings.h"
#include "platform/log.h"
#include "platform/mixer.h"

namespace audio {

namespace {

// A fader's endpoint found anew; the one found before is released, also
// when none is found any more (the device is gone: the old one is stale).
void FindEndpoint(CMixerFader& fader) {
    platform::EndpointObject found;
    GetUsbPhoneVolumeCtrl(found, fader.m_nDataFlow);
    if (!found && fader.Endpoint()) platform::LogW(L"InitializeMixers: the %ls endpoint is gone", platform::Utf8ToWide(fader.Name()).c_str());
    fader.ReplaceEndpoint(found);
}

}  // namespace

void InitializeMixers(const std::wstring& outDeviceName, platform::WindowHandle window) {
    using namespace platform;
    LogW(L"InitializeMixers: %ls", outDeviceName.c_str());
    for (CMixerFader* f : {&g_OutFader, &g_InFader, &g_OutMute, &g_InMute}) f->Forget();
    g_OutFader.Init(window, kMixerDstSpeakers, kNoSourceLine, outDeviceName);
    if (!g_InFader.Init(window, kMixerDstWaveIn, kNoSourceLine, outDeviceName)) {
        g_InFader.Init(window, kMixerDstWaveIn, kMixerSrcMicrophone, outDeviceName);
    }
    g_OutMute.InitMute(kMixerDstSpeakers, outDeviceName);
    g_InMute.InitMute(kMixerDstWaveIn, outDeviceName);
    g_OutFader.m_nDataFlow = kEndpointRender;
    g_InFader.m_nDataFlow = kEndpointCapture;
    if (CheckIsVistaOs()) {
        FindEndpoint(g_OutFader);
        FindEndpoint(g_InFader);
    }
    g_OutFader.SetFaderValue(common::g_Settings.VAL_AUDIO_OUT_VOLUME, kFaderAbsolute);
    g_InFader.SetFaderValue(common::g_Settings.VAL_AUDIO_IN_VOLUME, kFaderAbsolute);
    g_OutMute.ApplyMuteSetting(common::g_Settings.VAL_AUDIO_OUT_MUTE);
    g_InMute.ApplyMuteSetting(common::g_Settings.VAL_AUDIO_IN_MUTE);
}

void ReleaseMixers() {
    for (CMixerFader* f : {&g_OutFader, &g_InFader, &g_OutMute, &g_InMute}) {
        f->Forget();
        f->ReplaceEndpoint(platform::EndpointObject{});
    }
}

}  // namespace audio
