#pragma once
// A file's bytes as they are on disk (empty when it cannot be read).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace testing_support
