#pragma once
// What the list modes (menus, history lists, conference) share: the one
// screen list is drawn by whichever thread redraws, so the modes touch it
// only under the display lock, and rows name their records by id.

#include <string>
#include <utility>
#include <vector>

#include "modes/screen_list.h"

namespace modes {

// Empties the screen list and fills it with (text, id) rows.
void RebuildScreenList(DrawRowFunc drawer, const std::vector<std::pair<std::string, std::string>>& rows);
int SelectedListRow();
// The selected row's id; empty when the list is empty.
std::string SelectedListId();
int ListRowCount();
// KEY_UP / KEY_DOWN move the selection and redraw; false for other keys.
bool MoveListSelection(unsigned key);

// The volume keys of the talking, volume and voicemail screens: two steps of
// the handset's 0 ... 16 scale up (+2) or down (-2), stored in the settings
// and applied to the playback fader. Returns the new 0 ... 31 value.
int StepOutVolume(int delta);
// The 0 ... 16 step of the stored playback volume.
int OutVolumeStep();

}  // namespace modes
