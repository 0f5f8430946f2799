#include "app/audio_setting_page.h"

#include <string>

#include "audio/sound_device_names.h"
#include "common/settings.h"
#include "platform/wave_devices.h"
#include "settings_ui/page_templates.h"

namespace app {

namespace {
using settings_ui::IDC_LIST_PLAYBACK;
using settings_ui::IDC_LIST_RECORD;
using settings_ui::IDC_SLIDER_1;
using settings_ui::IDC_SLIDER_2;
constexpr int kMaxVolume = 31;

// Fills the list with the devices' names by id and selects the last entry
// named exactly `current`, else the first.
template <typename Count, typename Caps>
void FillDeviceList(platform::SheetView& view, int page, int list, const std::wstring& current, Count count,
                    Caps caps) {
    int selected = -1;
    const uint32_t devices = count();
    for (uint32_t id = 0; id < devices; ++id) {
        std::wstring name;
        caps(id, name);
        view.InsertListItem(page, list, static_cast<int>(id), name);
        if (name == current) selected = static_cast<int>(id);
    }
    view.SelectListItem(page, list, selected >= 0 ? selected : 0);
}

std::wstring SelectedText(platform::SheetView& view, int page, int list) {
    return view.ListItemText(page, list, view.ListSelection(page, list));
}
}  // namespace

CAudioSettingPage::CAudioSettingPage(CSettingDlg& sheet) : CSettingPage(sheet, settings_ui::PAGE_AUDIO) {}

void CAudioSettingPage::OnInitDialog(platform::SheetView& view) {
    auto& settings = common::g_Settings;
    view.SetSliderRange(m_nIndex, IDC_SLIDER_1, 0, kMaxVolume);
    view.SetSliderRange(m_nIndex, IDC_SLIDER_2, 0, kMaxVolume);
    view.SetSliderPos(m_nIndex, IDC_SLIDER_1, settings.VAL_AUDIO_OUT_VOLUME);
    view.SetSliderPos(m_nIndex, IDC_SLIDER_2, settings.VAL_AUDIO_IN_VOLUME);
    std::wstring playback;
    std::wstring record;
    audio::GetDefaultSoundDevices(playback, record);
    auto& devices = platform::CurrentWaveDevices();
    FillDeviceList(
        view, m_nIndex, IDC_LIST_RECORD, record, [&] { return devices.InGetNumDevs(); },
        [&](uint32_t id, std::wstring& name) { devices.InGetDevCaps(id, name); });
    FillDeviceList(
        view, m_nIndex, IDC_LIST_PLAYBACK, playback, [&] { return devices.OutGetNumDevs(); },
        [&](uint32_t id, std::wstring& name) { devices.OutGetDevCaps(id, name); });
    ApplySheetLanguage(view);
}

void CAudioSettingPage::OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) {
    const bool list = (id == IDC_LIST_PLAYBACK || id == IDC_LIST_RECORD) &&
                      event == platform::ControlEvent::SelectionChanged;
    const bool slider = (id == IDC_SLIDER_1 || id == IDC_SLIDER_2) && event == platform::ControlEvent::SliderReleased;
    if (list || slider) SetModified(view);
}

void CAudioSettingPage::OnApply(platform::SheetView& view) {
    auto& settings = common::g_Settings;
    audio::SetDefaultSoundDevices(SelectedText(view, m_nIndex, IDC_LIST_PLAYBACK),
                                  SelectedText(view, m_nIndex, IDC_LIST_RECORD));
    settings.VAL_AUDIO_OUT_VOLUME = view.SliderPos(m_nIndex, IDC_SLIDER_1);
    settings.VAL_AUDIO_IN_VOLUME = view.SliderPos(m_nIndex, IDC_SLIDER_2);
    common::SaveSettings(settings);
}

}  // namespace app
