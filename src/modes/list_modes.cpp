#include "modes/list_modes.h"

#include "audio/mixer_fader.h"
#include "common/key_ids.h"
#include "common/settings.h"
#include "modes/mode_machine.h"

namespace modes {

void RebuildScreenList(DrawRowFunc drawer, const std::vector<std::pair<std::string, std::string>>& rows) {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    g_ScreenList.Clear();
    g_ScreenList.m_pfnDrawRow = drawer;
    for (const auto& [text, id] : rows) g_ScreenList.AddRow(text, id);
}

int SelectedListRow() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    return g_ScreenList.m_nSel;
}

std::string SelectedListId() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    return g_ScreenList.GetId(g_ScreenList.m_nSel);
}

int ListRowCount() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    return g_ScreenList.GetCount();
}

bool MoveListSelection(unsigned key) {
    if (key != common::KEY_UP && key != common::KEY_DOWN) return false;
    {
        platform::Guard guard(g_ModeState.m_DisplayLock);
        // An empty list keeps its selection on the first row.
        if (g_ScreenList.GetCount() == 0) return true;
        if (key == common::KEY_UP) {
            g_ScreenList.MoveUp();
        } else {
            g_ScreenList.MoveDown();
        }
    }
    RefreshModeDisplay();
    return true;
}

namespace {
constexpr int kMaxVolumeStep = 16;
int StepOfVolume(int value) { return ((value + 1) * 16) / 31; }
int VolumeOfStep(int step) { return (step * 31 + 8) / 16; }
}  // namespace

int OutVolumeStep() { return StepOfVolume(common::g_Settings.VAL_AUDIO_OUT_VOLUME); }

int StepOutVolume(int delta) {
    int step = OutVolumeStep() + delta;
    step = step < 0 ? 0 : (step > kMaxVolumeStep ? kMaxVolumeStep : step);
    const int value = VolumeOfStep(step);
    common::g_Settings.VAL_AUDIO_OUT_VOLUME = value;
    audio::SetFaderValue(audio::g_OutFader, value, audio::kFaderAbsolute);
    return value;
}

}  // namespace modes
