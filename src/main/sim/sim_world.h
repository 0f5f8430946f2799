#pragma once
// The simulated world around one run of the companion: virtual clock,
// desktop, HID bus with the handset, a folder of its own for the program's
// files, and the transcript of what happens.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "main/sim/delivery_thread.h"
#include "main/sim/display_transcriber.h"
#include "main/sim/transcript.h"
#include "main/sim/window_transcriber.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/portable/local_desktop.h"
#include "platform/portable/memory_registry.h"
#include "platform/sim/sim_sheet_host.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_sound_system.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/virtual_clock.h"
#include "platform/sim/virtual_hid_bus.h"
#include "platform/sync.h"
#include "world/skype_peer.h"
#include "world/virtual_handset.h"

namespace sim {

class SimWorld {
public:
    struct Options {
        static Options WithLogLines() {
            Options o;
            o.logLines = true;
            return o;
        }
        bool logLines = false;  // debug log lines into the transcript
        // Places the default settings file and the language files beside the
        // program, as its installation does.
        bool installResources = true;
        // Where each changed display image is written as a PNG (none: not written).
        std::optional<std::filesystem::path> pictureFolder;
    };

    explicit SimWorld(const Options& options);
    ~SimWorld();
    SimWorld(const SimWorld&) = delete;
    SimWorld& operator=(const SimWorld&) = delete;

    platform::sim::VirtualClock& Clock() { return clock_; }
    platform::LocalDesktop& Desktop() { return desktop_; }
    platform::sim::VirtualHidBus& Bus() { return bus_; }
    world::VirtualHandset& Handset() { return handset_; }
    world::SkypePeer& Skype() { return skype_; }
    platform::MemoryRegistry& Registry() { return registry_; }
    platform::sim::SimShell& Shell() { return shell_; }
    platform::sim::SimSystem& System() { return system_; }
    platform::sim::SimSoundSystem& Sound() { return sound_; }
    platform::sim::SimSheetHost& Sheet() { return sheet_; }
    Transcript& Log() { return transcript_; }
    const std::filesystem::path& ProgramFolder() const { return folder_; }

    // Writes one key of the settings file (before Start).
    void WriteSetting(const std::string& key, const std::string& value);

    // Starts the companion on its user-interface thread and lets it settle.
    void Start();
    // Plugs the handset, starts the program and lets the handset report its
    // start, as a real one does once it is ready.
    void StartWithReadyHandset();
    bool Running() const { return started_ && !stopped_; }
    // Ends the main window and waits (in virtual time) for every thread.
    void Stop();
    // Sends the quit request (WM_USER + 1) to the window titled "VARNO-CORVANE".
    void SendQuitMessage();
    // Starts the program a second time, as a second process would; it must
    // find the first one and end at once.
    void StartSecondInstance();

    void Advance(uint64_t ms) { clock_.Advance(ms); }
    void Settle() { clock_.Settle(); }

    // Runs an action of the outside world on the world's own thread, after
    // those delivered before it (see DeliveryThread).
    void Deliver(std::function<void()> action) { delivery_.Deliver(std::move(action)); }
    // Lets time run until every delivered action has ended. False, with the
    // program threads' states in `problem`, when none can end any more.
    bool FinishDeliveries(std::string& problem);

private:
    class Observer;

    bool RunUntil(const std::function<bool()>& done);
    // Text with the program's folder named "$PROGRAM/", as runs compare equal.
    std::string WithProgramFolder(std::string text) const;
    void TranscribeRegistry(const std::wstring& path, const std::wstring& name,
                            const std::optional<platform::RegistryValue>& value);

    Options options_;
    platform::sim::VirtualClock clock_;
    platform::LocalDesktop desktop_;
    platform::sim::VirtualHidBus bus_;
    world::VirtualHandset handset_;
    world::SkypePeer skype_;
    platform::MemoryRegistry registry_;
    platform::sim::SimShell shell_;
    platform::sim::SimSystem system_;
    platform::sim::SimSoundSystem sound_;
    platform::sim::SimSheetHost sheet_;
    // The world's backends, in place from construction to destruction.
    platform::ScopedBackends backends_{{.clock = &clock_,
                                        .desktop = &desktop_,
                                        .hidHost = &bus_,
                                        .registry = &registry_,
                                        .shell = &shell_,
                                        .system = &system_,
                                        .mixer = &sound_,
                                        .waveDevices = &sound_,
                                        .endpointVolume = &sound_,
                                        .sheetHost = &sheet_}};
    Transcript transcript_;
    std::unique_ptr<Observer> observer_;
    WindowTranscriber windowTranscriber_{transcript_, skype_, desktop_};
    DisplayTranscriber displayTranscriber_{transcript_, options_.pictureFolder};
    std::filesystem::path folder_;
    platform::Thread ui_;
    DeliveryThread delivery_;
    bool started_ = false;
    bool stopped_ = false;
};

}  // namespace sim
