// The backends on Windows when nothing else is installed: every port on the
// system's own calls.

#include "platform/backends.h"
#include "platform/win32/gdiplus_glyphs.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_directory.h"
#include "platform/win32/win32_endpoint_volume.h"
#include "platform/win32/win32_hid_host.h"
#include "platform/win32/win32_mixer.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_sheet_host.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_wave_devices.h"

namespace platform {

const Backends& DefaultBackends() {
    // Never destroyed (see the header): leaked on purpose, still reachable.
    static const Backends* defaults = new Backends{.clock = new win32::Win32Clock,
                                                   .desktop = new win32::Win32Desktop,
                                                   .hidHost = new win32::Win32HidHost,
                                                   .registry = new win32::Win32Registry,
                                                   .shell = new win32::Win32Shell,
                                                   .system = new win32::Win32System,
                                                   .glyphs = new win32::GdiplusGlyphs,
                                                   .codec = new win32::Win32Codec,
                                                   .mixer = new win32::Win32Mixer,
                                                   .waveDevices = new win32::Win32WaveDevices,
                                                   .endpointVolume = new win32::Win32EndpointVolume,
                                                   .directory = new win32::Win32Directory,
                                                   .sheetHost = new win32::Win32SheetHost};
    return *defaults;
}

}  // namespace platform
