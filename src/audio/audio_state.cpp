#include "audio/audio_state.h"

#include "audio/key_tone_library.h"
#include "audio/mixer_setup.h"

namespace audio {

void ResetAudioState() {
    ResetKeyTones();
    ReleaseMixers();
}

}  // namespace audio
