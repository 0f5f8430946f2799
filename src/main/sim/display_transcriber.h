#pragma once
// Shows the handset display of a simulated run: "<ms> screen <line>" in the
// transcript for every line FlushLine handles, and, when a picture folder is
// given, the whole display image as a numbered PNG file every time it
// changes ("frame-0001.png", ...), four times enlarged.

#include <filesystem>
#include <mutex>
#include <optional>

#include "main/sim/transcript.h"
#include "modes/virtual_display.h"

namespace sim {

class DisplayTranscriber final : public modes::DisplayObserver {
public:
    static constexpr int kPngScale = 4;

    DisplayTranscriber(Transcript& transcript, std::optional<std::filesystem::path> pictureFolder)
        : transcript_(transcript), pictureFolder_(std::move(pictureFolder)) {}

    void OnLineFlushed(int row) override;
    void OnFrameDrawn() override;

private:
    void WriteFrameIfChanged();

    Transcript& transcript_;
    std::optional<std::filesystem::path> pictureFolder_;
    std::mutex mutex_;
    std::optional<modes::ScreenImage> lastWritten_;
    int frames_ = 0;
};

}  // namespace sim
