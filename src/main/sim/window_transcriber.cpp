#include "main/sim/window_transcriber.h"

#include <cstdio>

#include "platform/log.h"

namespace sim {

namespace {
constexpr uint32_t kFirstRegisteredMessage = 0xC000;

std::string HexWord(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(value));
    return text;
}
}  // namespace

bool WindowTranscriber::FromCompanion(platform::WindowHandle window) {
    return !peer_.OnPeerThread() && peer_.IsClientWindow(window);
}

std::string WindowTranscriber::ClassOf(platform::WindowHandle window) {
    return platform::WideToUtf8(desktop_.GetClassName(window));
}

void WindowTranscriber::OnMessage(platform::WindowHandle window, uint32_t message, platform::WPARAM wParam,
                                  platform::LPARAM lParam, bool) {
    // Registered messages (0xC000 and up) are broadcasts to every top-level
    // window, not messages aimed at Skype's windows.
    if (message >= kFirstRegisteredMessage || !FromCompanion(window)) return;
    // lParam is shown as the 32 bits a window message carries.
    transcript_.Add("post", ClassOf(window) + " " + platform::MessageName(message) + " " + HexWord(wParam) + " " +
                                HexWord(static_cast<uint32_t>(lParam)));
}

void WindowTranscriber::OnFocus(platform::WindowHandle window) {
    if (!FromCompanion(window)) return;
    transcript_.Add("focus", ClassOf(window));
}

void WindowTranscriber::OnKeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) {
    if (peer_.OnPeerThread()) return;
    transcript_.Add("keybd", std::to_string(virtualKey) + " " + std::to_string(scanCode) + " " + std::to_string(flags));
}

}  // namespace sim
