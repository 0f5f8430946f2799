#include "settings_ui/sheet_language.h"

#include "settings_ui/language_files.h"
#include "settings_ui/page_templates.h"

namespace settings_ui {

namespace {

struct ControlText {
    int page;
    int id;
    const wchar_t* key;
};

const wchar_t* const kTabKeys[kSheetPageCount] = {L"Page_Audio_Setting", L"Page_Phone_Setting",
                                                  L"Page_RingTone_Setting", L"Page_Advance_Setting", L"Page_About"};

// In page order, as the pages are labelled.
const ControlText kControlTexts[] = {
    {PAGE_AUDIO, 1023, L"Volume_Setting"},
    {PAGE_AUDIO, 1024, L"DefaultSoundDevice_Setting"},
    {PAGE_AUDIO, 1026, L"Audio_Out"},
    {PAGE_AUDIO, 1025, L"Audio_Out"},
    {PAGE_AUDIO, 1027, L"Audio_In"},
    {PAGE_AUDIO, 1028, L"Audio_In"},
    {PAGE_AUDIO, 1029, L"Low"},
    {PAGE_AUDIO, 1030, L"Low"},
    {PAGE_AUDIO, 1031, L"High"},
    {PAGE_AUDIO, 1032, L"High"},
    {PAGE_PHONE, 1033, L"LCM"},
    {PAGE_PHONE, 1034, L"Contrast"},
    {PAGE_PHONE, 1036, L"Low"},
    {PAGE_PHONE, 1037, L"High"},
    {PAGE_PHONE, 1035, L"KeyTone"},
    {PAGE_PHONE, IDC_CHECK_KEYTONE, L"Enable_KeyTone"},
    {PAGE_RINGTONE, 1038, L"RingTone_Setting"},
    {PAGE_RINGTONE, 1039, L"RingTone"},
    {PAGE_RINGTONE, 1040, L"Ring_Volume"},
    {PAGE_RINGTONE, 1036, L"Low"},
    {PAGE_RINGTONE, 1037, L"High"},
    {PAGE_RINGTONE, IDC_BUTTON_PLAY, L"Button_Play"},
    {PAGE_ADVANCED, 1041, L"Language"},
    {PAGE_ADVANCED, 1042, L"Startup"},
    {PAGE_ADVANCED, IDC_CHECK_AUTORUN, L"Auto_Run"},
    {PAGE_ABOUT, 1044, L"Copyright_Info"},
};

constexpr int kVersionLabel = 1045;

void LabelPage(platform::SheetView& sheet, int page) {
    for (const ControlText& c : kControlTexts) {
        if (c.page == page) sheet.SetControlText(page, c.id, GetLanguageText(c.key));
    }
    if (page == PAGE_ABOUT) {
        sheet.SetControlText(page, kVersionLabel, FormatVersionInfo(GetLanguageText(L"Version_Info"), kProgramVersion));
    }
}

}  // namespace

void SetTabText(platform::SheetView& sheet, int index, const std::wstring& text) {
    // The tab control's item buffer holds 1024 characters.
    constexpr size_t kTabTextChars = 1024;
    sheet.SetTabText(index, text.substr(0, kTabTextChars - 1));
}

void ApplySheetLanguage(platform::SheetView& sheet) {
    sheet.SetCaption(GetLanguageText(L"Dlg_Caption"));
    for (int page = 0; page < kSheetPageCount; ++page) SetTabText(sheet, page, GetLanguageText(kTabKeys[page]));
    for (int page = 0; page < kSheetPageCount; ++page) {
        if (sheet.PageExists(page)) LabelPage(sheet, page);
    }
    sheet.SetSheetButtonText(platform::kSheetOkButton, GetLanguageText(L"Button_OK"));
    sheet.SetSheetButtonText(platform::kSheetCancelButton, GetLanguageText(L"Button_Cancel"));
    sheet.SetSheetButtonText(platform::kSheetApplyButton, GetLanguageText(L"Button_Apply"));
}

}  // namespace settings_ui
