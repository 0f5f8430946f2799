#pragma once
// The call history as the handset's lists show it.

#include <string>
#include <vector>

#include "skype/call_list.h"

namespace modes {

// Newest first by timestamp; records with the same timestamp in no
// particular order.
void SortNewestFirst(std::vector<skype::CCallObject>& records);

// The icon of a history list mode (and of the detail opened from it); -1
// for any other mode.
int HistoryIconOfMode(int mode);

// Switches to the history list mode, which rebuilds its list, with the
// entry of that call id selected at the top of the screen (when it is still
// there) from its first redraw on.
void ReopenHistoryListAt(int mode, const std::string& callId);

// Calls the partner of the history record with that id, after the key
// tone; nothing when the record is gone.
void CallBackRecord(const std::string& callId);

}  // namespace modes
