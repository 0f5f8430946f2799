#pragma once
// The property-sheet port on the system's modal property sheet: a page is
// the module's dialog resource of the page's id when there is one, else a
// dialog template built in memory from the page's template; the controls'
// notifications become the port's events.
//
// Port header only: the system's headers stay inside the .cpp.

#include <atomic>

#include "platform/property_sheet.h"

namespace platform::win32 {

class Win32SheetHost final : public SheetHost {
public:
    enum class PageSource { ResourceWhenPresent, InMemory };

    explicit Win32SheetHost(PageSource source = PageSource::ResourceWhenPresent);

    int RunSheet(WindowHandle owner, const SheetTemplate& sheet, SheetEvents& events) override;

private:
    PageSource source_;
    std::atomic<bool> running_{false};
};

}  // namespace platform::win32
