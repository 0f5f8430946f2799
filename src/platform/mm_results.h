#pragma once
// Result codes the platform's mixer and wave interfaces share.

#include <cstdint>

namespace platform {

// Result codes of the mixer and wave interfaces.
constexpr uint32_t kMmNoError = 0;
constexpr uint32_t kMmError = 1;
constexpr uint32_t kMmBadDeviceId = 2;
constexpr uint32_t kMmInvalidHandle = 5;
constexpr uint32_t kMmInvalidParam = 11;

}  // namespace platform
