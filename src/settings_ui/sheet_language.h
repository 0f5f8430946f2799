#pragma once
// The settings sheet's texts in the current language.

#include "platform/property_sheet.h"

namespace settings_ui {

constexpr wchar_t kProgramVersion[] = L"1.2";

// Title, the five tabs, the controls of every page shown so far and the
// sheet's three buttons, each from its key in the language file; a missing
// key leaves an empty text. The caller then tells the main window, whose
// tray tip follows the language.
void ApplySheetLanguage(platform::SheetView& sheet);

// Replaces the text of tab `index`.
void SetTabText(platform::SheetView& sheet, int index, const std::wstring& text);

}  // namespace settings_ui
