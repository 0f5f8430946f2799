#pragma once
// The user-interface texts of the chosen language, read from the language
// files each time they are needed, so a change of language shows at once.

#include <string>

namespace settings_ui {

constexpr int kLanguageCount = 5;

// GetAppFolder() + "Language\" + the file of VAL_LANGUAGE (English for any
// value outside 0 ... 4).
std::wstring GetLanguageFilePath();
// The key's text in section "Language"; empty when the file, the key or the
// text is missing.
std::wstring GetLanguageText(const std::wstring& key);
// The text of "Popup_Message_1".
std::wstring GetPopupMessage();
// The "Version_Info" text with the version in the place of its one "%s"; a
// text with any other directive is shown as it stands.
std::wstring FormatVersionInfo(const std::wstring& format, const std::wstring& version);

}  // namespace settings_ui
