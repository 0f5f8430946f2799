// Feeds arbitrary bytes to the notification parser as Skype notifications.

#include <cstddef>
#include <cstdint>
#include <string>

#include "skype/skype_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A notification reaches the parser as the text up to its first zero.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    skype::ProcessSkypeMessage(text);
    return 0;
}
