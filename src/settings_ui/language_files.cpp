#include "settings_ui/language_files.h"

#include "common/settings.h"

namespace settings_ui {

namespace {
const wchar_t* const kLanguageFiles[kLanguageCount] = {L"Eng.ini", L"Chs.ini", L"Cht.ini", L"Pol.ini", L"Ita.ini"};
const wchar_t kLanguageSection[] = L"Language";
}  // namespace

std::wstring GetLanguageFilePath() {
    const int language = common::g_Settings.VAL_LANGUAGE;
    const bool known = language >= 0 && language < kLanguageCount;
    // Off Windows the folder's separator is the one the executable's path uses.
    const std::wstring folder = common::GetAppFolder();
    const wchar_t separator = !folder.empty() && folder.back() == L'/' ? L'/' : L'\\';
    return folder + L"Language" + separator + kLanguageFiles[known ? language : 0];
}

std::wstring GetLanguageText(const std::wstring& key) {
    common::CIniFile file;
    file.SetPath(GetLanguageFilePath());
    std::wstring text;
    file.ReadString(kLanguageSection, key, text);
    return text;
}

std::wstring GetPopupMessage() { return GetLanguageText(L"Popup_Message_1"); }

std::wstring FormatVersionInfo(const std::wstring& format, const std::wstring& version) {
    // Exactly one directive, "%s": anything else would be a format with
    // arguments that are not there.
    size_t directives = 0;
    size_t at = std::wstring::npos;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        ++directives;
        if (i + 1 < format.size() && format[i + 1] == L's') at = i;
        ++i;
    }
    if (directives != 1 || at == std::wstring::npos) return format;
    return format.substr(0, at) + version + format.substr(at + 2);
}

}  // namespace settings_ui
