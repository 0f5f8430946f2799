#include "app/ring_tone_page.h"

#include "audio/mixer_fader.h"
#include "audio/ring_tones.h"
#include "common/settings.h"
#include "platform/shell.h"
#include "settings_ui/language_files.h"
#include "settings_ui/page_templates.h"
#include "skype/skype_audio_config.h"

namespace app {

namespace {
using settings_ui::IDC_BUTTON_PLAY;
using settings_ui::IDC_LIST_RINGTONE;
using settings_ui::IDC_SLIDER_1;
constexpr int kMaxVolume = 31;

void SetPlaybackLevel(int value) { audio::SetFaderValue(audio::g_OutFader, value, audio::kFaderAbsolute); }

std::wstring SelectedRingTone(platform::SheetView& view, int page) {
    return view.ListItemText(page, IDC_LIST_RINGTONE, view.ListSelection(page, IDC_LIST_RINGTONE));
}
}  // namespace

CRingTonePage::CRingTonePage(CSettingDlg& sheet) : CSettingPage(sheet, settings_ui::PAGE_RINGTONE) {}

void CRingTonePage::OnInitDialog(platform::SheetView& view) {
    const std::vector<std::wstring> names = audio::ListRingTones();
    int selected = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        view.InsertListItem(m_nIndex, IDC_LIST_RINGTONE, static_cast<int>(i), names[i]);
        if (names[i] == common::g_Settings.VAL_RINGTONE) selected = static_cast<int>(i);
    }
    view.SelectListItem(m_nIndex, IDC_LIST_RINGTONE, selected);
    view.SetSliderRange(m_nIndex, IDC_SLIDER_1, 0, kMaxVolume);
    view.SetSliderPos(m_nIndex, IDC_SLIDER_1, common::g_Settings.VAL_RINGTONE_VOLUME);
    ApplySheetLanguage(view);
}

void CRingTonePage::OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) {
    if (id == IDC_LIST_RINGTONE && event == platform::ControlEvent::SelectionChanged) {
        // The playback level stays at the ring volume the user is trying.
        if (m_Player.IsPlaying()) m_Player.Stop();
        SetModified(view);
    } else if (id == IDC_SLIDER_1 && event == platform::ControlEvent::SliderReleased) {
        SetModified(view);
        // The handset follows the slider at once, so the user hears the ring volume.
        SetPlaybackLevel(view.SliderPos(m_nIndex, IDC_SLIDER_1));
    } else if (id == IDC_BUTTON_PLAY && event == platform::ControlEvent::ButtonClicked) {
        OnPlay(view);
    }
}

// The one button starts and stops the preview.
void CRingTonePage::OnPlay(platform::SheetView& view) {
    SetPlaybackLevel(view.SliderPos(m_nIndex, IDC_SLIDER_1));
    if (m_Player.IsPlaying()) {
        m_Player.Stop();
        SetPlaybackLevel(common::g_Settings.VAL_AUDIO_OUT_VOLUME);
        return;
    }
    const std::wstring name = SelectedRingTone(view, m_nIndex);
    if (!audio::PreviewRingTone(m_Player, name)) ShowPreviewFailure(name);
}

void CRingTonePage::ShowPreviewFailure(const std::wstring& fileName) {
    const std::wstring format = settings_ui::GetLanguageText(L"RingTone_Play_Failed");
    const size_t at = format.find(L"%s");
    const std::wstring text =
        at == std::wstring::npos ? fileName : format.substr(0, at) + fileName + format.substr(at + 2);
    platform::CurrentShell().MessageBox(text, settings_ui::GetLanguageText(L"Dlg_Caption"), platform::MB_ICONWARNING);
}

void CRingTonePage::OnApply(platform::SheetView& view) {
    auto& settings = common::g_Settings;
    if (m_Player.IsPlaying()) {
        m_Player.Stop();
        SetPlaybackLevel(settings.VAL_AUDIO_OUT_VOLUME);
    }
    // With no ring tones to choose from, the stored one stays.
    const std::wstring chosen = SelectedRingTone(view, m_nIndex);
    if (!chosen.empty()) settings.VAL_RINGTONE = chosen.substr(0, common::kRingtoneChars - 1);
    settings.VAL_RINGTONE_VOLUME = view.SliderPos(m_nIndex, IDC_SLIDER_1);
    skype::ConfigureSkypeAudio();
    common::SaveSettings(settings);
    SetPlaybackLevel(settings.VAL_AUDIO_OUT_VOLUME);
}

void CRingTonePage::OnDestroy() {
    if (m_Player.IsPlaying()) m_Player.Stop();
}

}  // namespace app
