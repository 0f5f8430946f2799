#pragma once
// Saves a one-bit image (the handset display) as a greyscale PNG, enlarged
// so it can be looked at: lit pixels light grey on near-black.

#include <functional>
#include <string>

namespace sim {

constexpr unsigned char kPngLitGrey = 0xE0;
constexpr unsigned char kPngDarkGrey = 0x10;

// Each source pixel becomes a scale x scale block. Returns false (and logs)
// on a bad size or scale, or when the file cannot be written.
bool WriteMonoPng(const std::string& path, int width, int height, const std::function<bool(int x, int y)>& isLit,
                  int scale);

}  // namespace sim
