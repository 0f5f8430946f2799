// The backends off Windows when nothing else is installed: the system clock,
// the in-process desktop, no HID devices, an in-memory registry, no shell,
// glyphs through FreeType and fontconfig, code pages through iconv.

#include "platform/backends.h"
#include "platform/defaults/empty_hid_host.h"
#include "platform/defaults/no_shell.h"
#include "platform/portable/local_desktop.h"
#include "platform/portable/memory_registry.h"
#include "platform/posix/freetype_glyphs.h"
#include "platform/posix/iconv_codec.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/system_clock.h"

namespace platform {

const Backends& DefaultBackends() {
    // Never destroyed (see the header): leaked on purpose, still reachable.
    static const Backends* defaults =
        new Backends{new SystemClock, new LocalDesktop, new EmptyHidHost,          new MemoryRegistry,
                     new NoShell,     new PosixSystem,  new posix::FreeTypeGlyphs, new posix::IconvCodec};
    return *defaults;
}

}  // namespace platform
