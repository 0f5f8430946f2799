#pragma once
// A settings page as the system's extended dialog template, built in memory
// from the port's page template: the page when the program's module has no
// dialog resource of that id.
//
// Include after platform/win32/windows_api.h.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/property_sheet.h"

namespace platform::win32 {

struct ControlClass {
    std::wstring windowClass;
    uint32_t style = 0;
};

// The window class and style a control of the template gets.
ControlClass ControlClassOf(const ControlTemplate& control);

// The template, DWORD-aligned as the system reads it (a vector of 16-bit
// words starts on an allocation boundary).
std::vector<uint16_t> BuildPageDialogTemplate(const PageTemplate& page);

}  // namespace platform::win32
