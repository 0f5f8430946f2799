#pragma once
// The names of the mixer interface's control and line types, for traces.

#include <cstdint>

namespace audio {

// "MIXERCONTROL_CONTROLTYPE_VOLUME" and so on; "---- UNKNOWN CONTROL TYPE ----"
// for a type the interface does not define.
const char* ControlTypeName(uint32_t type);
// "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS" and so on, "No source line" for the
// program's own 0x100B, "---- UNKNOWN LINE TYPE ----" for anything else.
const char* LineTypeName(uint32_t type);

// The program's own line type: no source line, the destination itself.
constexpr uint32_t kNoSourceLine = 0x100B;

}  // namespace audio
