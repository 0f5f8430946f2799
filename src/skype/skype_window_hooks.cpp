#include "skype/skype_window_hooks.h"

#include "platform/shell.h"
#include "settings_ui/language_files.h"

namespace skype {

// Skype's windows are not driven yet: the contact list stays as Skype shows it.
void ShowSkypeContacts() {}

void ShowAttachRefusedMessage() {
    platform::CurrentShell().MessageBox(settings_ui::GetPopupMessage(), L"", platform::MB_ICONWARNING);
}

}  // namespace skype
