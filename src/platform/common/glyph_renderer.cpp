#include "platform/glyph_renderer.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<GlyphRenderer*> g_renderer{nullptr};
}  // namespace

GlyphRenderer& CurrentGlyphRenderer() {
    GlyphRenderer* renderer = g_renderer.load(std::memory_order_acquire);
    return renderer ? *renderer : DefaultGlyphRenderer();
}

void InstallGlyphRenderer(GlyphRenderer* renderer) { g_renderer.store(renderer, std::memory_order_release); }

}  // namespace platform
