#pragma once
// What the Skype link asks of the rest of the program when Skype attaches or
// refuses.

namespace skype {

// Brings Skype's contact list forward after attaching.
void ShowSkypeContacts();
// Tells the user, once per run, that Skype refused the attachment.
void ShowAttachRefusedMessage();

}  // namespace skype
