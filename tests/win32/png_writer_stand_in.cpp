// The Windows test build has no libpng: the display's pictures are not
// written there, and saying so is all this writer does.

#include "main/sim/png_writer.h"

#include "platform/log.h"

namespace sim {

bool WriteMonoPng(const std::string& path, int, int, const std::function<bool(int x, int y)>&, int) {
    platform::LogA("WriteMonoPng: no PNG writer in the Windows build; %s not written\n", path.c_str());
    return false;
}

}  // namespace sim
