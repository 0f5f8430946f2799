#pragma once
// Writes what the companion does to the Skype peer's own windows into the
// transcript: "post" for every message posted or sent to one of them,
// "focus" for SetFocus on one of them, "keybd" for every synthetic key.
// What the peer does to its own windows is not written.

#include "main/sim/transcript.h"
#include "platform/portable/local_desktop.h"
#include "world/skype_peer.h"

namespace sim {

class WindowTranscriber final : public platform::DesktopObserver {
public:
    WindowTranscriber(Transcript& transcript, world::SkypePeer& peer, platform::Desktop& desktop)
        : transcript_(transcript), peer_(peer), desktop_(desktop) {}

    void OnMessage(platform::WindowHandle window, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam,
                   bool sent) override;
    void OnFocus(platform::WindowHandle window) override;
    void OnKeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) override;

private:
    bool FromCompanion(platform::WindowHandle window);
    std::string ClassOf(platform::WindowHandle window);

    Transcript& transcript_;
    world::SkypePeer& peer_;
    platform::Desktop& desktop_;
};

}  // namespace sim
