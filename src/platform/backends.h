#pragma once
// Every process-wide backend behind the ports, installed and removed as one
// set, so that no test or world can leave one of them behind by forgetting a
// line. Install only while no program thread runs.

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/directory.h"
#include "platform/endpoint_volume.h"
#include "platform/glyph_renderer.h"
#include "platform/hid_host.h"
#include "platform/mixer.h"
#include "platform/property_sheet.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/text_codec.h"
#include "platform/wave_devices.h"

namespace platform {

// A null member stands for this build's default backend of that port.
struct Backends {
    Clock* clock = nullptr;
    Desktop* desktop = nullptr;
    HidHost* hidHost = nullptr;
    Registry* registry = nullptr;
    Shell* shell = nullptr;
    System* system = nullptr;
    GlyphRenderer* glyphs = nullptr;
    TextCodec* codec = nullptr;
    Mixer* mixer = nullptr;
    WaveDevices* waveDevices = nullptr;
    EndpointVolume* endpointVolume = nullptr;
    Directory* directory = nullptr;
    SheetHost* sheetHost = nullptr;
};

// This build's defaults, chosen by its backend family; a family that has no
// sound backends of its own leaves them null and gets a sound system without
// devices and the portable directory search; one without a sheet host gets
// sheets that close at once. They are never
// destroyed: the program's static objects still reach them at process end
// (the handset objects close their handles through the HID host).
const Backends& DefaultBackends();

// Replaces the whole set at once.
void InstallBackends(const Backends& backends);
// The set in use, with the defaults filled in.
Backends InstalledBackends();

// Installs a set for its lifetime and puts the previous set back after.
class ScopedBackends {
public:
    explicit ScopedBackends(const Backends& backends);
    ~ScopedBackends();
    ScopedBackends(const ScopedBackends&) = delete;
    ScopedBackends& operator=(const ScopedBackends&) = delete;

private:
    Backends previous_;
};

}  // namespace platform
