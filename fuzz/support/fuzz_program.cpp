#include "fuzz_program.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "app/corvane_app.h"
#include "platform/backends.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/unique_folder.h"
#include "platform/log.h"

namespace fuzzing {

namespace {

namespace fs = std::filesystem;

// The folder lives as long as the process; libFuzzer ends by exit(), which
// runs this destructor.
class TemporaryFolder {
public:
    TemporaryFolder() {
        const auto made = platform::sim::MakeUniqueFolder("corvane-fuzz-");
        if (!made) {
            std::perror("corvane fuzz: cannot make a temporary folder");
            std::abort();
        }
        path_ = *made;
    }
    ~TemporaryFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

struct Process {
    Process() { system.SetExecutablePath(platform::Utf8ToWide((folder.Path() / "Corvane.exe").string())); }
    FuzzClock clock;
    TemporaryFolder folder;
    platform::sim::SimSystem system;
    std::unique_ptr<platform::LocalDesktop> desktop;
};

Process& TheProcess() {
    static Process process;
    return process;
}

}  // namespace

void BeginInput(platform::HidHost* hidHost) {
    Process& p = TheProcess();
    if (p.desktop == nullptr) platform::InstallBackends({.clock = &p.clock, .system = &p.system});
    // The reset may still close windows and timers of the previous input's
    // desktop and handles of its HID host, so those go only afterwards.
    app::ResetProcessState();
    auto fresh = std::make_unique<platform::LocalDesktop>();
    platform::InstallBackends({.clock = &p.clock, .desktop = fresh.get(), .hidHost = hidHost, .system = &p.system});
    p.desktop = std::move(fresh);
    p.clock.Restart();
}

FuzzClock& Clock() { return TheProcess().clock; }

platform::LocalDesktop& Desktop() { return *TheProcess().desktop; }

const fs::path& ProgramFolder() { return TheProcess().folder.Path(); }

void InstallResources() {
    const fs::path resources = CORVANE_RESOURCE_DIR;
    std::error_code ec;
    fs::copy_file(resources / "Corvane.ini", ProgramFolder() / "Corvane.ini", fs::copy_options::overwrite_existing,
                  ec);
    if (!ec) fs::copy(resources / "Language", ProgramFolder() / "Language", fs::copy_options::recursive, ec);
    if (ec) {
        std::fprintf(stderr, "corvane fuzz: cannot install the resources: %s\n", ec.message().c_str());
        std::abort();
    }
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "corvane fuzz: cannot write %s\n", path.c_str());
        std::abort();
    }
}

}  // namespace fuzzing
