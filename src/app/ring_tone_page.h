#pragma once
// Ring Tone page: the ring tone with its preview, and the ring volume.

#include <string>

#include "app/setting_page.h"
#include "audio/wave_out.h"

namespace app {

class CRingTonePage final : public CSettingPage {
public:
    explicit CRingTonePage(CSettingDlg& sheet);
    void OnInitDialog(platform::SheetView& view) override;
    void OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) override;
    void OnApply(platform::SheetView& view) override;
    // A preview still playing stops; the playback level stays where it is.
    void OnDestroy() override;

private:
    void OnPlay(platform::SheetView& view);
    // Tells the user which file could not be played.
    void ShowPreviewFailure(const std::wstring& fileName);

    audio::CWaveOut m_Player;
};

}  // namespace app
