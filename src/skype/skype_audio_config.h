#pragma once
// Tells Skype to use the handset's sound devices and the chosen ring tone.

namespace skype {

void ConfigureSkypeAudio();

}  // namespace skype
