// The backends on Windows when nothing else is installed. The clock, the
// registry, the system and the code pages are the system's own; the desktop,
// the HID host and the shell are still the portable ones until their Windows
// backends arrive, and the glyph engine is a stand-in.

#include "platform/backends.h"
#include "platform/defaults/empty_hid_host.h"
#include "platform/defaults/no_shell.h"
#include "platform/portable/local_desktop.h"
#include "platform/win32/stand_in_glyphs.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace platform {

const Backends& DefaultBackends() {
    // Never destroyed (see the header): leaked on purpose, still reachable.
    static const Backends* defaults = new Backends{
        new win32::Win32Clock, new LocalDesktop,          new EmptyHidHost,        new win32::Win32Registry,
        new NoShell,           new win32::Win32System,    new win32::StandInGlyphs, new win32::Win32Codec};
    return *defaults;
}

}  // namespace platform
