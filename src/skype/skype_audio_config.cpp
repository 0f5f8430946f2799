#include "skype/skype_audio_config.h"

namespace skype {

// The audio commands need the handset's device names, which nothing finds
// yet; until then Skype keeps its own audio settings.
void ConfigureSkypeAudio() {}

}  // namespace skype
