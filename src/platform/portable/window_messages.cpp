#include "platform/window_messages.h"

#include <cstdio>

namespace platform {

std::string MessageName(uint32_t message) {
    struct Named {
        uint32_t message;
        const char* name;
    };
    static constexpr Named kNames[] = {
        {WM_NULL, "WM_NULL"},           {WM_DESTROY, "WM_DESTROY"},       {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_CLOSE, "WM_CLOSE"},         {WM_QUIT, "WM_QUIT"},             {WM_COPYDATA, "WM_COPYDATA"},
        {WM_KEYDOWN, "WM_KEYDOWN"},     {WM_KEYUP, "WM_KEYUP"},           {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"},   {WM_COMMAND, "WM_COMMAND"},
        {WM_TIMER, "WM_TIMER"},         {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_DEVICECHANGE, "WM_DEVICECHANGE"},
    };
    for (const Named& n : kNames) {
        if (n.message == message) return n.name;
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%04X", message);
    return hex;
}

}  // namespace platform
