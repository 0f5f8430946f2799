#include "skype/skype_audio_config.h"

#include <string>

#include "audio/endpoint_volume.h"
#include "common/device_names.h"
#include "common/settings.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace skype {

namespace {
constexpr size_t kCommandBytes = 255;  // 254 bytes and a terminator
const char kOldSystemDevice[] = "USB PHONE";

// Cuts a command to 254 bytes without ending inside a UTF-8 character.
std::string CutCommand(const std::string& command) {
    if (command.size() < kCommandBytes) return command;
    size_t length = kCommandBytes - 1;
    while (length > 0 && (static_cast<unsigned char>(command[length]) & 0xC0) == 0x80) --length;
    return command.substr(0, length);
}

void Send(const std::string& command) { SendMessageToSkype(CutCommand(command)); }

// The ring tone's path goes to Skype in UTF-8 as it is; no narrower code
// page on the way, so no character of the name is lost.
std::string RingTonePath() {
    const std::wstring folder = common::GetAppFolder();
    const wchar_t separator = !folder.empty() && folder.back() == L'/' ? L'/' : L'\\';
    std::wstring ringtone;
    {
        // The ring-tone page is the only writer of this string.
        ringtone = common::g_Settings.VAL_RINGTONE;
    }
    return platform::WideToUtf8(folder + L"RingTone" + separator + ringtone);
}
}  // namespace

void ConfigureSkypeAudio() {
    std::string in = kOldSystemDevice;
    std::string out = kOldSystemDevice;
    if (audio::CheckIsVistaOs()) {
        in = platform::WideToUtf8(common::g_InDeviceName.Get());
        out = platform::WideToUtf8(common::g_OutDeviceName.Get());
    }
    Send("SET AUDIO_IN " + in);
    Send("SET AUDIO_OUT " + out);
    Send("SET RINGER " + out);
    Send("SET RINGTONE 1 " + RingTonePath());
}

}  // namespace skype
