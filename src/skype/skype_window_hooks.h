#pragma once
// What the Skype link asks of the rest of the program when Skype attaches or
// refuses.

namespace skype {

// Tells the user, once per run, that Skype refused the attachment.
void ShowAttachRefusedMessage();

}  // namespace skype
