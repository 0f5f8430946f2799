#include "audio/wave_out.h"

#include "platform/log.h"

namespace audio {

uint32_t CWaveDevice::GetDevice() const {
    if (m_strName.empty()) return platform::kWaveMapper;
    auto& devices = platform::CurrentWaveDevices();
    const uint32_t count = devices.OutGetNumDevs();
    for (uint32_t id = 0; id < count; ++id) {
        std::wstring name;
        if (devices.OutGetDevCaps(id, name) == platform::kMmNoError && name.substr(0, 31) == m_strName) return id;
    }
    return platform::kWaveMapper;
}

CWaveOut::~CWaveOut() { Stop(); }

bool CWaveOut::Open() {
    if (m_hWaveOut.IsValid()) {
        platform::LogW(L"CWaveOut::Open: the device of the last sound is closed first");
        Stop();
        if (m_hWaveOut.IsValid()) return false;
    }
    platform::WaveOutHandle handle;
    m_nResult = platform::CurrentWaveDevices().OutOpen(handle, m_Device.GetDevice(), m_Wave.m_Format, &OnWaveDone, 0);
    if (m_nResult == platform::kMmNoError) m_hWaveOut = handle;
    return m_nResult == platform::kMmNoError;
}

bool CWaveOut::Play() {
    if (m_hWaveOut.IsValid()) {
        m_dwPos = m_dwEnd.load();
        m_nResult = platform::CurrentWaveDevices().OutReset(m_hWaveOut);
        if (m_nResult != platform::kMmNoError) return false;
    }
    m_dwPos = 0;
    m_dwEnd = m_Wave.DataBytes();
    m_nCurHdr = kHeaders - 1;
    for (int i = 0; i < kHeaders; ++i) {
        if (!QueueChunk()) return false;
    }
    return true;
}

bool CWaveOut::QueueChunk() {
    std::lock_guard<std::mutex> lock(m_QueueMutex);
    const uint32_t pos = m_dwPos;
    const uint32_t left = m_dwEnd - pos;
    const uint32_t n = left < m_dwChunk ? left : m_dwChunk;
    if (n == 0) return false;
    const int32_t index = m_nCurHdr == kHeaders - 1 ? 0 : m_nCurHdr + 1;
    m_nCurHdr = index;
    platform::WaveHeader& header = m_Hdr[index];
    header.data = m_Wave.m_Buffer.Samples() + pos;
    header.bufferLength = n;
    header.flags = 0;
    header.user = reinterpret_cast<uintptr_t>(this);
    auto& devices = platform::CurrentWaveDevices();
    m_nResult = devices.OutPrepareHeader(m_hWaveOut, header);
    if (m_nResult != platform::kMmNoError) return false;
    m_nResult = devices.OutWrite(m_hWaveOut, header);
    if (m_nResult == platform::kMmNoError) {
        m_dwPos = pos + n;
        return true;
    }
    devices.OutUnprepareHeader(m_hWaveOut, header);
    header.data = nullptr;
    header.bufferLength = 0;
    header.flags = 0;
    header.user = 0;
    m_nCurHdr = index - 1;  // the same header is used next
    return false;
}

void CWaveOut::Done(platform::WaveHeader& header) {
    if (header.flags & platform::kWaveHeaderDone) {
        header.flags = 0;
        m_nResult = platform::CurrentWaveDevices().OutUnprepareHeader(m_hWaveOut, header);
        if (m_nResult != platform::kMmNoError) return;
        header.data = nullptr;
    }
    if (m_dwPos < m_dwEnd) QueueChunk();
}

void CWaveOut::OnWaveDone(platform::WaveOutHandle device, uint32_t message, uintptr_t, platform::WaveHeader* header,
                          uintptr_t) {
    if (message != platform::kWaveOutDone || !device.IsValid() || !header || header->user == 0) return;
    reinterpret_cast<CWaveOut*>(header->user)->Done(*header);
}

void CWaveOut::Stop() {
    if (!m_hWaveOut.IsValid()) return;
    m_dwPos = m_dwEnd.load();
    auto& devices = platform::CurrentWaveDevices();
    m_nResult = devices.OutReset(m_hWaveOut);
    if (m_nResult != platform::kMmNoError) return;
    m_nResult = devices.OutClose(m_hWaveOut);
    if (m_nResult == platform::kMmNoError) m_hWaveOut = platform::kInvalidWaveOutHandle;
}

bool CWaveOut::IsPlaying() const {
    const int32_t index = m_nCurHdr;
    if (index < 0) return false;
    const uint32_t flags = m_Hdr[index].flags;
    return flags != 0 && !(flags & platform::kWaveHeaderDone);
}

}  // namespace audio
