#include "main/sim/display_transcriber.h"

#include <cstdio>

#include "main/sim/png_writer.h"

namespace sim {

void DisplayTranscriber::OnLineFlushed(int row) {
    transcript_.Add("screen", std::to_string(row));
    WriteFrameIfChanged();
}

void DisplayTranscriber::OnFrameDrawn() { WriteFrameIfChanged(); }

void DisplayTranscriber::WriteFrameIfChanged() {
    if (!pictureFolder_) return;
    const modes::ScreenImage image = modes::g_VirtualDisplay.Image();
    std::lock_guard<std::mutex> lock(mutex_);
    if (lastWritten_ && *lastWritten_ == image) return;
    // The first frame is written even when black, so a run always shows
    // what the display started with.
    lastWritten_ = image;
    char name[32];
    std::snprintf(name, sizeof(name), "frame-%04d.png", ++frames_);
    WriteMonoPng((*pictureFolder_ / name).string(), modes::kScreenWidth, modes::kScreenHeight,
                 [&](int x, int y) { return image[static_cast<size_t>(y)][static_cast<size_t>(x)]; }, kPngScale);
}

}  // namespace sim
