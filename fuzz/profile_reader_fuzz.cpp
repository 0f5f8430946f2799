// Feeds arbitrary bytes to the settings and language file reader. The bytes
// as they are (UTF-8, with or without its mark, or UTF-16LE when they begin
// with its mark) become Corvane.ini and the language file, which the program
// reads as it does at start-up and for its texts; behind the UTF-16LE mark
// they are read once more, key by key. The settings load stays with the first
// form: it looks up each of its 47 keys by reading the whole file again, so
// it costs most of an input, and the decoding it would add is the same.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/fuzz_program.h"
#include "common/settings.h"
#include "modes/screen_texts.h"
#include "platform/log.h"
#include "platform/profile.h"
#include "settings_ui/language_files.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "profile_reader_fuzz: %s\n", what);
    std::abort();
}

// The private-profile calls themselves, with the buffer limits they promise.
void ReadKeys(const std::wstring& path) {
    struct Lookup {
        const wchar_t* section;
        const wchar_t* key;
        size_t bufferChars;
    };
    static const Lookup kLookups[] = {{L"SETTING", L"VAL_RINGTONE", common::kRingtoneChars},
                                      {L"Language", L"Dlg_Caption", 255},
                                      {L"KEY", L"VAL_KEYSCAN_1", 2},
                                      {L"setting", L" language_0 ", 1}};
    for (const Lookup& l : kLookups) {
        std::wstring out;
        const size_t n = platform::GetPrivateProfileString(l.section, l.key, L"default", out, l.bufferChars, path);
        if (n != out.size() || n >= l.bufferChars) Fail("a string longer than its buffer");
        (void)platform::GetPrivateProfileInt(l.section, l.key, -7, path);
    }
}

// Each lookup reads and parses the whole file again, as the program does, so
// the target looks up a few keys rather than every text of the program.
void ReadLanguageTexts() {
    if (settings_ui::GetPopupMessage().size() >= 255) Fail("a language text longer than its buffer");
    (void)settings_ui::FormatVersionInfo(settings_ui::GetLanguageText(L"Version_Info"), L"1.0.0");
    // The idle screen keeps its labels to 19 bytes; a label may also have no
    // room at all.
    for (const size_t room : {size_t{19}, size_t{1}}) {
        if (modes::ScreenText(modes::IDS_SCREEN_SETTING, room).size() >= room) Fail("a label longer than its room");
    }
}

std::wstring WriteSettingsFile(const std::string& content) {
    const std::filesystem::path path = fuzzing::ProgramFolder() / "Corvane.ini";
    fuzzing::WriteFile(path, content);
    return platform::Utf8ToWide(path.string());
}

// The language file is the one the settings in force choose.
void WriteLanguageFile(const std::string& content) {
    fuzzing::WriteFile(platform::WideToUtf8(settings_ui::GetLanguageFilePath()), content);
}

void ReadAsSettingsAndLanguage(const std::string& content) {
    ReadKeys(WriteSettingsFile(content));
    common::LoadSettings(common::g_Settings);
    if (common::g_Settings.VAL_RINGTONE.size() >= common::kRingtoneChars) Fail("a ring tone longer than its buffer");
    WriteLanguageFile(content);
    ReadLanguageTexts();
}

void ReadKeyByKey(const std::string& content) {
    ReadKeys(WriteSettingsFile(content));
    WriteLanguageFile(content);
    ReadLanguageTexts();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzzing::BeginInput();
    ReadAsSettingsAndLanguage(bytes);
    fuzzing::BeginInput();
    ReadKeyByKey(std::string("\xFF\xFE", 2) + bytes);
    return 0;
}
