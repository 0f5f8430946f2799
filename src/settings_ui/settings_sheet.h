#pragma once
// The settings sheet with its five pages.

namespace settings_ui {

// Page 0 ... 4: Audio, Phone, Ring Tone, Advanced, About.
void OpenSettingSheet(int page);

}  // namespace settings_ui
