#pragma once
// The audio subsystem's process-wide state back at its start: key tones
// stopped, mixers closed, endpoints released.

namespace audio {

void ResetAudioState();

}  // namespace audio
