#include "platform/backends.h"

#include <atomic>

#include "platform/defaults/no_sheet_host.h"
#include "platform/defaults/no_sound_devices.h"
#include "platform/portable/file_directory.h"

namespace platform {

namespace {

// One slot per port; null means the default. Atomic because program threads
// read them while a test may install the next world's set.
struct Slots {
    std::atomic<Clock*> clock{nullptr};
    std::atomic<Desktop*> desktop{nullptr};
    std::atomic<HidHost*> hidHost{nullptr};
    std::atomic<Registry*> registry{nullptr};
    std::atomic<Shell*> shell{nullptr};
    std::atomic<System*> system{nullptr};
    std::atomic<GlyphRenderer*> glyphs{nullptr};
    std::atomic<TextCodec*> codec{nullptr};
    std::atomic<Mixer*> mixer{nullptr};
    std::atomic<WaveDevices*> waveDevices{nullptr};
    std::atomic<EndpointVolume*> endpointVolume{nullptr};
    std::atomic<Directory*> directory{nullptr};
    std::atomic<SheetHost*> sheetHost{nullptr};
};

Slots& Installed() {
    static Slots* slots = new Slots;  // never destroyed, like the defaults
    return *slots;
}

template <typename Port>
Port& InstalledOr(const std::atomic<Port*>& slot, Port* fallback) {
    Port* p = slot.load(std::memory_order_acquire);
    return p ? *p : *fallback;
}

NoSoundDevices& Silence() {
    static NoSoundDevices* none = new NoSoundDevices;  // never destroyed, like the defaults
    return *none;
}

template <typename Port>
Port* OrFallback(Port* port, Port* fallback) {
    return port ? port : fallback;
}

Mixer* DefaultMixer() { return OrFallback<Mixer>(DefaultBackends().mixer, &Silence()); }
WaveDevices* DefaultWaveDevices() { return OrFallback<WaveDevices>(DefaultBackends().waveDevices, &Silence()); }
EndpointVolume* DefaultEndpointVolume() {
    return OrFallback<EndpointVolume>(DefaultBackends().endpointVolume, &Silence());
}
Directory* DefaultDirectory() {
    static FileDirectory* files = new FileDirectory;
    return OrFallback<Directory>(DefaultBackends().directory, files);
}
SheetHost* DefaultSheetHost() {
    static NoSheetHost* none = new NoSheetHost;  // never destroyed, like the defaults
    return OrFallback<SheetHost>(DefaultBackends().sheetHost, none);
}

}  // namespace

Clock& CurrentClock() { return InstalledOr(Installed().clock, DefaultBackends().clock); }
Desktop& CurrentDesktop() { return InstalledOr(Installed().desktop, DefaultBackends().desktop); }
HidHost& CurrentHidHost() { return InstalledOr(Installed().hidHost, DefaultBackends().hidHost); }
Registry& CurrentRegistry() { return InstalledOr(Installed().registry, DefaultBackends().registry); }
Shell& CurrentShell() { return InstalledOr(Installed().shell, DefaultBackends().shell); }
System& CurrentSystem() { return InstalledOr(Installed().system, DefaultBackends().system); }
GlyphRenderer& CurrentGlyphRenderer() { return InstalledOr(Installed().glyphs, DefaultBackends().glyphs); }
TextCodec& CurrentTextCodec() { return InstalledOr(Installed().codec, DefaultBackends().codec); }
Mixer& CurrentMixer() { return InstalledOr(Installed().mixer, DefaultMixer()); }
WaveDevices& CurrentWaveDevices() { return InstalledOr(Installed().waveDevices, DefaultWaveDevices()); }
EndpointVolume& CurrentEndpointVolume() { return InstalledOr(Installed().endpointVolume, DefaultEndpointVolume()); }
Directory& CurrentDirectory() { return InstalledOr(Installed().directory, DefaultDirectory()); }
SheetHost& CurrentSheetHost() { return InstalledOr(Installed().sheetHost, DefaultSheetHost()); }

void InstallBackends(const Backends& backends) {
    Slots& slots = Installed();
    slots.clock.store(backends.clock, std::memory_order_release);
    slots.desktop.store(backends.desktop, std::memory_order_release);
    slots.hidHost.store(backends.hidHost, std::memory_order_release);
    slots.registry.store(backends.registry, std::memory_order_release);
    slots.shell.store(backends.shell, std::memory_order_release);
    slots.system.store(backends.system, std::memory_order_release);
    slots.glyphs.store(backends.glyphs, std::memory_order_release);
    slots.codec.store(backends.codec, std::memory_order_release);
    slots.mixer.store(backends.mixer, std::memory_order_release);
    slots.waveDevices.store(backends.waveDevices, std::memory_order_release);
    slots.endpointVolume.store(backends.endpointVolume, std::memory_order_release);
    slots.directory.store(backends.directory, std::memory_order_release);
    slots.sheetHost.store(backends.sheetHost, std::memory_order_release);
}

Backends InstalledBackends() {
    return Backends{&CurrentClock(),         &CurrentDesktop(),     &CurrentHidHost(),        &CurrentRegistry(),
                    &CurrentShell(),         &CurrentSystem(),      &CurrentGlyphRenderer(),  &CurrentTextCodec(),
                    &CurrentMixer(),         &CurrentWaveDevices(), &CurrentEndpointVolume(), &CurrentDirectory(),
                    &CurrentSheetHost()};
}

ScopedBackends::ScopedBackends(const Backends& backends) {
    const Slots& slots = Installed();
    previous_ = Backends{slots.clock.load(),       slots.desktop.load(),     slots.hidHost.load(),
                         slots.registry.load(),    slots.shell.load(),       slots.system.load(),
                         slots.glyphs.load(),      slots.codec.load(),       slots.mixer.load(),
                         slots.waveDevices.load(), slots.endpointVolume.load(), slots.directory.load(),
                         slots.sheetHost.load()};
    InstallBackends(backends);
}

ScopedBackends::~ScopedBackends() { InstallBackends(previous_); }

}  // namespace platform
