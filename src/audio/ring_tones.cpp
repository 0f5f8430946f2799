#include "audio/ring_tones.h"

#include <algorithm>

#include "common/device_names.h"
#include "common/settings.h"
#include "platform/directory.h"
#include "platform/log.h"

namespace audio {

namespace {

// Off Windows the folder's separator is the one the executable's path uses.
std::wstring RingToneFolder() {
    const std::wstring folder = common::GetAppFolder();
    const wchar_t separator = !folder.empty() && folder.back() == L'/' ? L'/' : L'\\';
    return folder + L"RingTone" + separator;
}

}  // namespace

std::wstring RingTonePath(const std::wstring& fileName) { return RingToneFolder() + fileName; }

std::vector<std::wstring> ListRingTones() {
    auto& directory = platform::CurrentDirectory();
    std::vector<std::wstring> names;
    std::wstring name;
    const platform::FindHandle search = directory.FindFirst(RingToneFolder() + L"*.wav", name);
    if (!search.IsValid()) return names;
    do {
        names.push_back(name);
    } while (directory.FindNext(search, name));
    directory.FindClose(search);
    // wchar_t compares as code units: upper-case letters sort first.
    std::sort(names.begin(), names.end());
    return names;
}

bool PreviewRingTone(CWaveOut& player, const std::wstring& fileName) {
    CWave wave;
    if (wave.Load(RingTonePath(fileName)) != WaveLoadResult::Ok) {
        platform::LogW(L"PreviewRingTone: %ls cannot be played", fileName.c_str());
        return false;
    }
    CWaveDevice device;
    device.m_strName = common::g_OutDeviceName.Get();
    player.Stop();
    player.m_Wave = wave;
    player.m_Device = device;
    player.Open();
    player.Play();
    return true;
}

}  // namespace audio
