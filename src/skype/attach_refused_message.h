#pragma once
// The one message box of the program: Skype refused to let us attach.

namespace skype {

// Tells the user, once per run, that Skype refused the attachment.
void ShowAttachRefusedMessage();

}  // namespace skype
