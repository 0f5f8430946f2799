#include "audio/mixer_base.h"

#include <cstdarg>
#include <cstdio>
#include <cwctype>
#include <new>

#include "audio/mixer_names.h"
#include "platform/log.h"
#include "platform/text_codec.h"

namespace audio {

namespace {

constexpr size_t kTraceBytes = 2048;

// The control's units (bits 16 to 23 of its type): boolean, signed,
// unsigned, decibels or percent.
bool KnownUnits(uint32_t type) {
    const uint32_t units = (type >> 16) & 0xFF;
    return units >= 0x01 && units <= 0x05;
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    }
    return true;
}

}  // namespace

void MixerTrace(const char* format, ...) {
    char buffer[kTraceBytes];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    platform::LogA("%s", buffer);
}

CMixerBase::CMixerBase() = default;

CMixerBase::~CMixerBase() {
    ClearNames();
    CloseMixer();
}

void CMixerBase::CloseMixer() {
    if (m_hMixer.IsValid()) platform::CurrentMixer().Close(m_hMixer);
    m_hMixer = platform::kInvalidMixerHandle;
    m_pValues.clear();
    m_Details.values = nullptr;
}

bool CMixerBase::OpenMixerByName(platform::WindowHandle window, const std::wstring& name) {
    auto& mixer = platform::CurrentMixer();
    CloseMixer();
    const uint32_t count = mixer.GetNumDevs();
    for (uint32_t id = 0; id < count; ++id) {
        platform::MixerHandle handle;
        if (mixer.Open(handle, id, platform::MixerOpenBy::MixerId, window) != platform::kMmNoError) continue;
        platform::MixerCaps caps;
        if (mixer.GetDevCaps(handle, caps) == platform::kMmNoError && EqualIgnoringCase(caps.productName, name)) {
            m_hMixer = handle;
            return true;
        }
        mixer.Close(handle);
    }
    m_hMixer = platform::kInvalidMixerHandle;
    return false;
}

bool CMixerBase::FindLine(uint32_t destinationType, uint32_t sourceType, platform::MixerLine& line) {
    auto& mixer = platform::CurrentMixer();
    platform::MixerCaps caps;
    bool found = mixer.GetDevCaps(m_hMixer, caps) == platform::kMmNoError;
    for (uint32_t d = 0; found; ++d) {
        if (d >= caps.destinations || mixer.GetDestinationLine(m_hMixer, d, line) != platform::kMmNoError) {
            found = false;
        } else if (line.componentType == destinationType) {
            break;
        }
    }
    if (!found) {
        MixerTrace("Warning: the destination line \n%s\nwas not found.", LineTypeName(destinationType));
        return false;
    }
    if (sourceType == kNoSourceLine) return true;
    const platform::MixerLine destination = line;
    for (uint32_t s = 0; s < destination.connections; ++s) {
        if (mixer.GetSourceLine(m_hMixer, destination.destination, s, line) != platform::kMmNoError) break;
        if (line.componentType == sourceType) return true;
    }
    MixerTrace("Warning: the source line \n%s\n not found.\n\n(Associated to Destination line \n%s)",
               LineTypeName(sourceType), platform::WideToUtf8(destination.name).c_str());
    return false;
}

bool CMixerBase::PrepareValues() {
    m_Details.controlId = m_Control.id;
    m_Details.channels = (m_Control.flags & platform::kMixerControlFlagUniform) ? 1u
                                                                                 : static_cast<uint32_t>(m_nChannels);
    m_Details.multipleItems = m_Control.multipleItems;
    if (!KnownUnits(m_Control.type)) {
        MixerTrace("Control uses unknown units.");
        return false;
    }
    const size_t items = (m_Control.flags & platform::kMixerControlFlagMultiple) ? m_Control.multipleItems : 1u;
    m_pValues.clear();
    try {
        m_pValues.assign(items * m_Details.channels, 0);
    } catch (const std::bad_alloc&) {
        MixerTrace("Memory allocation error.");
        return false;
    }
    m_Details.values = m_pValues.empty() ? nullptr : m_pValues.data();
    return true;
}

bool CMixerBase::FindLineControl(uint32_t destinationType, uint32_t sourceType, uint32_t controlType) {
    platform::MixerLine line;
    bool ok = FindLine(destinationType, sourceType, line);
    if (ok) {
        m_nChannels = static_cast<int32_t>(line.channels);
        if (line.controls == 0) {
            MixerTrace("No controls available for this audio line: %s", platform::WideToUtf8(line.name).c_str());
            ok = false;
        }
    }
    if (ok && platform::CurrentMixer().GetLineControlByType(m_hMixer, line.lineId, controlType, m_Control) !=
                  platform::kMmNoError) {
        MixerTrace(
            "Could not find specified mixer control. Associated Windows control will be disabled.\nControl type: "
            "%s,\n\nDest line type: %s,\nSrc  line type: %s\n",
            ControlTypeName(controlType), LineTypeName(destinationType), LineTypeName(sourceType));
        ok = false;
    }
    if (ok) ok = PrepareValues();
    if (!ok) CloseMixer();
    return ok;
}

bool CMixerBase::ReadValues() {
    if (!m_hMixer.IsValid() || m_pValues.empty()) return false;
    return platform::CurrentMixer().GetControlDetails(m_hMixer, m_Details) == platform::kMmNoError;
}

bool CMixerBase::WriteValues() {
    if (!m_hMixer.IsValid() || m_pValues.empty()) return false;
    return platform::CurrentMixer().SetControlDetails(m_hMixer, m_Details) == platform::kMmNoError;
}

}  // namespace audio
