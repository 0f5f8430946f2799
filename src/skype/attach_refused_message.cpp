#include "skype/attach_refused_message.h"

#include "platform/shell.h"
#include "settings_ui/language_files.h"

namespace skype {

void ShowAttachRefusedMessage() {
    platform::CurrentShell().MessageBox(settings_ui::GetPopupMessage(), L"", platform::MB_ICONWARNING);
}

}  // namespace skype
