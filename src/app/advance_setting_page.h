#pragma once
// Advanced page: the user-interface language and the start with Windows.

#include <string>

#include "app/setting_page.h"

namespace app {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
constexpr wchar_t kRunValue[] = L"VARNO_CORVANE";

// The Run value's data: the executable's path in quotation marks, so that a
// path with blanks cannot be taken for a shorter program and its arguments.
std::wstring RunValueData(const std::wstring& executable);

class CAdvanceSettingPage final : public CSettingPage {
public:
    explicit CAdvanceSettingPage(CSettingDlg& sheet);
    void OnInitDialog(platform::SheetView& view) override;
    void OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) override;
    // Writes the language at once, sets or deletes the Run value, saves.
    void OnApply(platform::SheetView& view) override;
};

}  // namespace app
