#pragma once
// A fresh folder for one test, removed afterwards.

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/log.h"
#include "platform/sim/unique_folder.h"
#include "support/file_bytes.h"

namespace testing_support {

class TempFolder {
public:
    TempFolder() { path_ = platform::sim::MakeUniqueFolder("corvane-test-").value_or(std::filesystem::path()); }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::wstring File(const std::string& name) const { return platform::Utf8ToWide((path_ / name).string()); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary);
        out << bytes;
    }
    std::string Read(const std::string& name) const { return FileBytes(path_ / name); }

private:
    std::filesystem::path path_;
};

}  // namespace testing_support
