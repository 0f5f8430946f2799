#include "platform/sim/unique_folder.h"

#include <random>

namespace platform::sim {

namespace {
constexpr int kAttempts = 32;
}

std::optional<std::filesystem::path> MakeUniqueFolder(const std::string& prefix) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return std::nullopt;
    std::random_device seed;
    std::mt19937_64 random(seed());
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 12; ++i) name += kDigits[random() % (sizeof(kDigits) - 1)];
        // create_directory says false when the folder was already there, so
        // a folder someone else made is never taken.
        if (std::filesystem::create_directory(base / name, ec) && !ec) return base / name;
    }
    return std::nullopt;
}

}  // namespace platform::sim
