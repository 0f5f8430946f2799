// The backends on Windows when nothing else is installed: every port on the
// system's own calls.

#include "platform/backends.h"
#include "platform/win32/gdiplus_glyphs.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_hid_host.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"

namespace platform {

const Backends& DefaultBackends() {
    // Never destroyed (see the header): leaked on purpose, still reachable.
    static const Backends* defaults = new Backends{
        new win32::Win32Clock, new win32::Win32Desktop, new win32::Win32HidHost,  new win32::Win32Registry,
        new win32::Win32Shell, new win32::Win32System,  new win32::GdiplusGlyphs, new win32::Win32Codec};
    return *defaults;
}

}  // namespace platform
