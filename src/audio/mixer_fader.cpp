#include "audio/mixer_fader.h"

#include "audio/endpoint_volume.h"
#include "audio/mixer_names.h"
#include "platform/log.h"
#include "platform/mixer.h"

namespace audio {

CMixerFader g_OutFader("out", platform::kEndpointRender);
CMixerFader g_InFader("in", platform::kEndpointCapture);
CMixerFader g_OutMute("out");
CMixerFader g_InMute("in");

namespace {

constexpr uint32_t kVolumeScaleTop = 31;

std::mutex g_observerMutex;
FaderObserver g_observer;

void Observe(CMixerFader& fader, int value, int type) {
    FaderObserver observer;
    {
        std::lock_guard<std::mutex> lock(g_observerMutex);
        observer = g_observer;
    }
    if (observer) observer(fader, value, type);
}

}  // namespace

CMixerFader::CMixerFader(const char* name, uint32_t dataFlow) : m_nDataFlow(dataFlow), m_strName(name) {}

CMixerFader::~CMixerFader() { CloseMixer(); }

void CMixerFader::Forget() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    CloseMixer();
    m_Value = nullptr;
    m_pMuteValues = nullptr;
}

void CMixerFader::ReadPosition() {
    // A balance read from another device before must not carry over.
    m_fBalance = 0.0f;
    if (!ReadValues()) return;
    if (m_Details.channels >= 2) {
        const uint32_t m = m_pValues[0] > m_pValues[1] ? m_pValues[0] : m_pValues[1];
        if (m > 0) {
            m_fBalance = static_cast<float>(static_cast<int64_t>(m_pValues[1]) - static_cast<int64_t>(m_pValues[0])) /
                         static_cast<float>(m);
        }
        m_nPos = static_cast<int32_t>(m / m_nStepSize);
    } else {
        m_nPos = static_cast<int32_t>(m_pValues[0] / m_nStepSize);
    }
}

bool CMixerFader::Init(platform::WindowHandle window, uint32_t destinationType, uint32_t sourceType,
                       const std::wstring& name) {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    platform::LogW(L"CMixerFader::Init 0");
    m_Value = nullptr;
    if (!OpenMixerByName(window, name)) {
        MixerTrace("Could not open mixer device");
        platform::LogW(L"CMixerFader::Init 1");
        return false;
    }
    if (!FindLineControl(destinationType, sourceType, platform::kMixerControlVolume)) {
        platform::LogW(L"CMixerFader::Init 1");
        return false;
    }
    m_nRange = static_cast<uint32_t>(m_Control.maximum - m_Control.minimum);
    m_nSteps = m_Control.steps;
    if (m_nSteps == 0 || m_nRange / m_nSteps == 0) {
        // No step size to divide by: the control cannot be moved in steps.
        platform::LogW(L"CMixerFader::Init: the volume control has %u steps over %u; it is not used", m_nSteps,
                       m_nRange);
        CloseMixer();
        return false;
    }
    m_nStepSize = m_nRange / m_nSteps;
    m_Value = m_pValues.data();
    platform::LogW(L"CMixerFader::Init: m_Value=0x%x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_Value)));
    ReadPosition();
    return true;
}

bool CMixerFader::InitMute(uint32_t destinationType, const std::wstring& name) {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_nMuteIndex = 0;
    m_pMuteValues = nullptr;
    if (!OpenMixerByName(platform::WindowHandle{}, name)) {
        MixerTrace("Could not open mixer device");
        return false;
    }
    if (!FindLineControl(destinationType, kNoSourceLine, platform::kMixerControlMute)) return false;
    if ((m_Control.flags & platform::kMixerControlFlagMultiple) && static_cast<int32_t>(m_Control.multipleItems) <= 0) {
        MixerTrace("Invalid control index passed: %d", 0);
        CloseMixer();
        return false;
    }
    m_pMuteValues = m_pValues.data();
    ReadValues();
    return true;
}

uint32_t CMixerFader::RawValue(int value, int type) const {
    const uint32_t v = static_cast<uint32_t>(value);
    const uint32_t pos = static_cast<uint32_t>(m_nPos);
    switch (type) {
        case kFaderStepUp: {
            const uint32_t up = pos + kFaderKeySteps < m_nSteps ? pos + kFaderKeySteps : m_nSteps;
            return up * m_nStepSize;
        }
        case kFaderStepDown:
            return m_nPos - static_cast<int32_t>(kFaderKeySteps) > 0 ? (pos - kFaderKeySteps) * m_nStepSize : 0;
        case kFaderAbsoluteSteps:
            return static_cast<uint32_t>(uint64_t{v} * m_nSteps * m_nStepSize / kVolumeScaleTop);
        case kFaderAbsolute:
            return static_cast<uint32_t>(uint64_t{v} * m_nRange / kVolumeScaleTop);
        default:
            return 0;
    }
}

// The balance between the first two channels is kept; others are written
// back as read.
void CMixerFader::WriteBalanced(uint32_t raw) {
    if (m_Details.channels < 2) {
        m_pValues[0] = raw;
    } else if (m_fBalance > 0.0f) {
        m_pValues[1] = raw;
        m_pValues[0] = static_cast<uint32_t>((1.0f - m_fBalance) * static_cast<float>(raw));
    } else {
        m_pValues[0] = raw;
        m_pValues[1] = static_cast<uint32_t>((1.0f + m_fBalance) * static_cast<float>(raw));
    }
    if (WriteValues()) m_nPos = static_cast<int32_t>(raw / m_nStepSize);
}

void CMixerFader::SetFaderValue(int value, int type) {
    Observe(*this, value, type);
    platform::LogW(L"SetFaderValue ;type=%d, value = %ld", type, static_cast<long>(value));
    platform::LogW(L"SetFaderValue Step 0");
    if (CheckIsVistaOs()) {
        if (type == kFaderAbsoluteSteps || type == kFaderAbsolute) SetVistaVolume(Endpoint(), value);
        if (type == kFaderStepUp || type == kFaderStepDown) StepVistaVolume(Endpoint(), type == kFaderStepUp);
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (m_Value == nullptr || m_pValues.empty()) {
        platform::LogW(L"SetFaderValue Step 1");
        return;
    }
    platform::LogW(L"SetFaderValue Step 2");
    WriteBalanced(RawValue(value, type));
}

uint32_t CMixerFader::GetMuteValue() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!ReadValues() || m_nMuteIndex >= m_pValues.size()) return 0;
    return m_pValues[m_nMuteIndex];
}

void CMixerFader::ApplyMuteSetting(int setting) {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!ReadValues() || m_nMuteIndex >= m_pValues.size()) return;
    m_pValues[m_nMuteIndex] = setting == 1 ? 1 : 0;
    WriteValues();
}

bool CMixerFader::ReadFirstValue(uint32_t& value) {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!ReadValues()) return false;
    value = m_pValues[0];
    return true;
}

void CMixerFader::ReplaceEndpoint(platform::EndpointObject endpoint) {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (m_pEndpointVolume && !(m_pEndpointVolume == endpoint)) {
        platform::CurrentEndpointVolume().Release(m_pEndpointVolume);
    }
    m_pEndpointVolume = endpoint;
}

platform::EndpointObject CMixerFader::Endpoint() {
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_pEndpointVolume;
}

void SetFaderValue(CMixerFader& fader, int value, int type) { fader.SetFaderValue(value, type); }

int GetMuteValue(CMixerFader& mute) { return static_cast<int>(mute.GetMuteValue()); }

int GetOutVolume() {
    if (CheckIsVistaOs()) return GetVistaVolume(g_OutFader.Endpoint());
    uint32_t raw = 0;
    if (!g_OutFader.ReadFirstValue(raw)) return 0;
    return (31 * static_cast<int32_t>(raw) + 32767) / 65535;
}

void InstallFaderObserver(FaderObserver observer) {
    std::lock_guard<std::mutex> lock(g_observerMutex);
    g_observer = std::move(observer);
}

}  // namespace audio
