// Feeds arbitrary bytes to the notification parser as Skype notifications:
// the input is a series of notifications separated by zero bytes, parsed in
// turn with Skype attached, so that a call can ring, be answered and end
// within one input. Every input starts from the program's starting state.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/fuzz_program.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"

namespace {

// Skype's API window: takes every command the program sends and checks that
// it arrives as one text with its terminating zero.
platform::LRESULT SkypeApiWindow(platform::WindowHandle, uint32_t message, platform::WPARAM,
                                 platform::LPARAM lParam) {
    if (message != platform::WM_COPYDATA) return 0;
    const auto* record = reinterpret_cast<const platform::CopyDataStruct*>(lParam);
    const char* text = record ? static_cast<const char*>(record->lpData) : nullptr;
    if (text == nullptr || record->cbData == 0 || std::strlen(text) + 1 != record->cbData) {
        std::fprintf(stderr, "skype_message_fuzz: a command without its terminating zero\n");
        std::abort();
    }
    return 1;
}

void AttachSkype() {
    const platform::WindowHandle api = fuzzing::Desktop().CreateWindow(L"Fuzz.SkypeApi", L"", SkypeApiWindow);
    skype::g_SkypeMonitor.m_hSkypeWnd = api.value;
    skype::g_SkypeMonitor.SetInlineBatches(true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::BeginInput();
    AttachSkype();
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= input.size();) {
        size_t end = input.find('\0', start);
        if (end == std::string::npos) end = input.size();
        skype::ProcessSkypeMessage(input.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
