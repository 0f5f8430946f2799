#include "platform/win32/win32_mixer.h"

#include "platform/log.h"
#include "platform/win32/fixed_field_text.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/window_handles.h"

namespace platform::win32 {

static_assert(kMixerInvalidLine == MIXERR_INVALLINE && kMixerInvalidControl == MIXERR_INVALCONTROL);
static_assert(kMixerDstFirst == MIXERLINE_COMPONENTTYPE_DST_FIRST &&
              kMixerDstSpeakers == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS &&
              kMixerDstWaveIn == MIXERLINE_COMPONENTTYPE_DST_WAVEIN &&
              kMixerDstLast == MIXERLINE_COMPONENTTYPE_DST_LAST);
static_assert(kMixerSrcFirst == MIXERLINE_COMPONENTTYPE_SRC_FIRST &&
              kMixerSrcMicrophone == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE &&
              kMixerSrcLast == MIXERLINE_COMPONENTTYPE_SRC_LAST);
static_assert(kMixerControlVolume == MIXERCONTROL_CONTROLTYPE_VOLUME &&
              kMixerControlMute == MIXERCONTROL_CONTROLTYPE_MUTE);
static_assert(kMixerControlFlagUniform == MIXERCONTROL_CONTROLF_UNIFORM &&
              kMixerControlFlagMultiple == MIXERCONTROL_CONTROLF_MULTIPLE);
// Every value type of a control (boolean, signed, unsigned) is 32 bits, as
// the port's values are.
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == sizeof(uint32_t) &&
              sizeof(MIXERCONTROLDETAILS_SIGNED) == sizeof(uint32_t) &&
              sizeof(MIXERCONTROLDETAILS_BOOLEAN) == sizeof(uint32_t));

namespace {

DWORD OpenFlags(MixerOpenBy by, WindowHandle callback) {
    DWORD flags = MIXER_OBJECTF_MIXER;
    if (by == MixerOpenBy::WaveOutId) flags = MIXER_OBJECTF_WAVEOUT;
    if (by == MixerOpenBy::WaveInId) flags = MIXER_OBJECTF_WAVEIN;
    return callback ? flags | CALLBACK_WINDOW : flags;
}

const char* OpenedBy(MixerOpenBy by) {
    if (by == MixerOpenBy::WaveOutId) return "wave-out device";
    if (by == MixerOpenBy::WaveInId) return "wave-in device";
    return "mixer";
}

HMIXEROBJ Object(void* system) { return reinterpret_cast<HMIXEROBJ>(system); }

// Signed and decibel controls keep their range in the signed members.
bool HasSignedRange(DWORD type) {
    const DWORD units = type & MIXERCONTROL_CT_UNITS_MASK;
    return units == MIXERCONTROL_CT_UNITS_SIGNED || units == MIXERCONTROL_CT_UNITS_DECIBELS;
}

MixerControl Converted(const MIXERCONTROLW& system) {
    MixerControl control;
    control.id = system.dwControlID;
    control.type = system.dwControlType;
    control.flags = system.fdwControl;
    control.multipleItems = system.cMultipleItems;
    if (HasSignedRange(system.dwControlType)) {
        control.minimum = system.Bounds.lMinimum;
        control.maximum = system.Bounds.lMaximum;
    } else {
        control.minimum = system.Bounds.dwMinimum;
        control.maximum = system.Bounds.dwMaximum;
    }
    control.steps = system.Metrics.cSteps;
    return control;
}

}  // namespace

uint32_t Win32Mixer::GetNumDevs() { return ::mixerGetNumDevs(); }

uint32_t Win32Mixer::Open(MixerHandle& handle, uint32_t id, MixerOpenBy by, WindowHandle callback) {
    handle = kInvalidMixerHandle;
    HMIXER system = nullptr;
    const DWORD_PTR window = callback ? reinterpret_cast<DWORD_PTR>(ToHwnd(callback)) : 0;
    const MMRESULT result = ::mixerOpen(&system, id, window, 0, OpenFlags(by, callback));
    if (result != MMSYSERR_NOERROR) {
        LogA("Mixer: cannot open the mixer of %s %u (result %u)\n", OpenedBy(by), id, result);
        return result;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    handle = MixerHandle{nextHandle_++};
    mixers_[handle.value] = system;
    return kMmNoError;
}

void* Win32Mixer::SystemOf(MixerHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = mixers_.find(handle.value);
    if (it != mixers_.end()) return it->second;
    LogA("Mixer: handle %d is not open\n", handle.value);
    return nullptr;
}

uint32_t Win32Mixer::Close(MixerHandle handle) {
    void* system = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = mixers_.find(handle.value);
        if (it == mixers_.end()) {
            LogA("Mixer: handle %d is not open\n", handle.value);
            return kMmInvalidHandle;
        }
        system = it->second;
        mixers_.erase(it);
    }
    const MMRESULT result = ::mixerClose(static_cast<HMIXER>(system));
    if (result != MMSYSERR_NOERROR) LogA("Mixer: cannot close a mixer (result %u)\n", result);
    return result;
}

uint32_t Win32Mixer::GetDevCaps(MixerHandle handle, MixerCaps& caps) {
    void* system = SystemOf(handle);
    if (!system) return kMmInvalidHandle;
    MIXERCAPSW found{};
    const MMRESULT result = ::mixerGetDevCapsW(reinterpret_cast<UINT_PTR>(system), &found, sizeof(found));
    if (result != MMSYSERR_NOERROR) {
        LogA("Mixer: no caps of an open mixer (result %u)\n", result);
        return result;
    }
    caps.productName = BoundedText(found.szPname, kProductNameChars);
    caps.destinations = found.cDestinations;
    return kMmNoError;
}

uint32_t Win32Mixer::LineInfo(MixerHandle handle, uint32_t destination, uint32_t source, bool ofSource,
                              MixerLine& line) {
    void* system = SystemOf(handle);
    if (!system) return kMmInvalidHandle;
    MIXERLINEW found{};
    found.cbStruct = sizeof(found);
    found.dwDestination = destination;
    found.dwSource = source;
    const DWORD which = ofSource ? MIXER_GETLINEINFOF_SOURCE : MIXER_GETLINEINFOF_DESTINATION;
    const MMRESULT result = ::mixerGetLineInfoW(Object(system), &found, MIXER_OBJECTF_HMIXER | which);
    if (result != MMSYSERR_NOERROR) return result;
    line.destination = found.dwDestination;
    line.source = ofSource ? found.dwSource : 0;
    line.lineId = found.dwLineID;
    line.componentType = found.dwComponentType;
    line.channels = found.cChannels;
    line.connections = found.cConnections;
    line.controls = found.cControls;
    line.name = BoundedText(found.szName);
    return kMmNoError;
}

uint32_t Win32Mixer::GetDestinationLine(MixerHandle handle, uint32_t destination, MixerLine& line) {
    return LineInfo(handle, destination, 0, false, line);
}

uint32_t Win32Mixer::GetSourceLine(MixerHandle handle, uint32_t destination, uint32_t source, MixerLine& line) {
    return LineInfo(handle, destination, source, true, line);
}

uint32_t Win32Mixer::GetLineControlByType(MixerHandle handle, uint32_t lineId, uint32_t controlType,
                                          MixerControl& control) {
    void* system = SystemOf(handle);
    if (!system) return kMmInvalidHandle;
    MIXERCONTROLW found{};
    found.cbStruct = sizeof(found);
    MIXERLINECONTROLSW request{};
    request.cbStruct = sizeof(request);
    request.dwLineID = lineId;
    request.dwControlType = controlType;
    request.cControls = 1;
    request.cbmxctrl = sizeof(found);
    request.pamxctrl = &found;
    const MMRESULT result =
        ::mixerGetLineControlsW(Object(system), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (result != MMSYSERR_NOERROR) return result;
    control = Converted(found);
    return kMmNoError;
}

uint32_t Win32Mixer::Details(MixerHandle handle, const MixerControlDetails& details, bool set) {
    void* system = SystemOf(handle);
    if (!system) return kMmInvalidHandle;
    if (!details.values || details.channels == 0) {
        LogA("Mixer: control %u asked for without room for its values\n", details.controlId);
        return kMmInvalidParam;
    }
    MIXERCONTROLDETAILS request{};
    request.cbStruct = sizeof(request);
    request.dwControlID = details.controlId;
    request.cChannels = details.channels;
    request.cMultipleItems = details.multipleItems;
    request.cbDetails = sizeof(uint32_t);
    request.paDetails = details.values;
    const DWORD flags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    return set ? ::mixerSetControlDetails(Object(system), &request, flags)
               : ::mixerGetControlDetailsW(Object(system), &request, flags);
}

uint32_t Win32Mixer::GetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    return Details(handle, details, false);
}

uint32_t Win32Mixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    return Details(handle, details, true);
}

}  // namespace platform::win32
