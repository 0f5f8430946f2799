#include "platform/system_info.h"

#include <atomic>

namespace platform {

namespace {
// Off Windows there is no older system to stand in for: take the newer one.
constexpr int kDefault = 1;
std::atomic<int> g_vistaOrLater{kDefault};
}  // namespace

bool IsVistaOrLater() { return g_vistaOrLater.load() != 0; }

void OverrideVistaOrLater(bool vistaOrLater, bool reset) { g_vistaOrLater = reset ? kDefault : (vistaOrLater ? 1 : 0); }

}  // namespace platform
