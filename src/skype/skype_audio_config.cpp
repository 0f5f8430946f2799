#include "skype/skype_audio_config.h"

#include <string>

#include "app/device_names.h"
#include "app/settings.h"
#include "platform/log.h"
#include "platform/system_info.h"
#include "platform/text_codec.h"
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

std::wstring RingTonePath() {
    const std::wstring folder = app::GetAppFolder();
    const wchar_t separator = !folder.empty() && folder.back() == L'/' ? L'/' : L'\\';
    std::wstring ringtone;
    {
        // The ring-tone page is the only writer of this string.
        ringtone = app::g_Settings.VAL_RINGTONE;
    }
    return folder + L"RingTone" + separator + ringtone;
}

// Formatted in the ANSI code page and sent in UTF-8: characters the ANSI code
// page lacks are replaced on the way (none off Windows, where it is UTF-8).
std::string RingToneCommand() {
    platform::TextCodec& codec = platform::CurrentTextCodec();
    const std::string path = codec.FromWide(platform::CodePage::Ansi, RingTonePath(), platform::kNoByteLimit).bytes;
    const std::string ansi = "SET RINGTONE 1 " + path;
    return platform::WideToUtf8(codec.ToWide(platform::CodePage::Ansi, ansi).text);
}
}  // namespace

void ConfigureSkypeAudio() {
    std::string in = kOldSystemDevice;
    std::string out = kOldSystemDevice;
    if (platform::IsVistaOrLater()) {
        in = platform::WideToUtf8(app::g_InDeviceName.Get());
        out = platform::WideToUtf8(app::g_OutDeviceName.Get());
    }
    Send("SET AUDIO_IN " + in);
    Send("SET AUDIO_OUT " + out);
    Send("SET RINGER " + out);
    Send(RingToneCommand());
}

}  // namespace skype
