#include "skype/skype_window_hooks.h"

namespace skype {

// Skype's windows are not driven yet, and the refusal text comes from the
// language files, which are not read yet: both do nothing for now.
void ShowSkypeContacts() {}
void ShowAttachRefusedMessage() {}

}  // namespace skype
