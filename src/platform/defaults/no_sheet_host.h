#pragma once
// Where no sheet can be shown: a sheet closes at once, as if cancelled,
// without a page being shown or a setting touched.

#include "platform/property_sheet.h"
#include "platform/window_messages.h"

namespace platform {

class NoSheetHost final : public SheetHost {
public:
    int RunSheet(WindowHandle, const SheetTemplate&, SheetEvents&) override { return IDCANCEL; }
};

}  // namespace platform
