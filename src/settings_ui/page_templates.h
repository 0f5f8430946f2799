#pragma once
// The settings sheet's five page templates, from resources/settings_pages.def.

#include <vector>

#include "platform/property_sheet.h"

namespace settings_ui {

// Page indexes, in tab order.
enum SheetPage { PAGE_AUDIO = 0, PAGE_PHONE = 1, PAGE_RINGTONE = 2, PAGE_ADVANCED = 3, PAGE_ABOUT = 4 };
constexpr int kSheetPageCount = 5;

// Control ids of the templates.
constexpr int IDC_SLIDER_1 = 1003;  // the out volume, contrast or ring volume slider
constexpr int IDC_SLIDER_2 = 1004;  // the in volume slider
constexpr int IDC_CHECK_KEYTONE = 1005;
constexpr int IDC_LIST_LANGUAGE = 1007;
constexpr int IDC_LIST_RINGTONE = 1008;
constexpr int IDC_BUTTON_PLAY = 1009;
constexpr int IDC_LIST_PLAYBACK = 1010;
constexpr int IDC_LIST_RECORD = 1011;
constexpr int IDC_CHECK_AUTORUN = 1043;

// The pages in tab order, each with its controls.
const std::vector<platform::PageTemplate>& PageTemplates();

}  // namespace settings_ui
