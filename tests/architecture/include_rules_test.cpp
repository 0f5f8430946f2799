// The layout's two include rules, checked over the whole source tree:
// - system headers of the windowing, HID, audio, text-rendering, code-page
//   and operating-system kind appear only in the platform's backend folders;
// - each subsystem includes only the subsystems below it, so none of them
//   include each other in circles.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folders whose files may take the system's own headers.
const std::vector<std::string> kBackendFolders = {"platform/posix/", "platform/win32/", "platform/linux/"};

// The header kinds kept behind the ports, by the start of their include name.
const std::vector<std::pair<std::string, std::string>> kSystemHeaders = {
    {"windows.h", "windowing"},   {"winuser.h", "windowing"},  {"shellapi.h", "windowing"},
    {"commctrl.h", "windowing"},  {"prsht.h", "windowing"},    {"dbt.h", "windowing"},
    {"objbase.h", "windowing"},   {"gdiplus", "windowing"},    {"X11/", "windowing"},
    {"hidsdi.h", "HID"},          {"setupapi.h", "HID"},       {"hidapi", "HID"},
    {"linux/hidraw.h", "HID"},    {"libudev.h", "HID"},        {"mmsystem.h", "audio"},
    {"mmdeviceapi.h", "audio"},   {"endpointvolume.h", "audio"}, {"alsa/", "audio"},
    {"ft2build.h", "FreeType"},   {"freetype", "FreeType"},    {"FT_", "FreeType"},
    {"fontconfig/", "FreeType"},  {"iconv.h", "iconv"},        {"unistd.h", "operating-system"},
    {"fcntl.h", "operating-system"}, {"sys/", "operating-system"}, {"pthread.h", "operating-system"},
    {"dlfcn.h", "operating-system"},
};

// The terminal library is for the interactive simulator alone, and there
// for the one file that draws and reads keys.
const std::vector<std::string> kTerminalHeaders = {"curses.h", "ncurses", "ncursesw/", "term.h", "langinfo.h"};
const std::string kTerminalFile = "main/interactive/terminal.cpp";

// Which top-level folders of src/ each folder may include. Every entry lists
// only folders listed before it, so the graph has no cycles.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"platform", {"platform"}},
    {"common", {"platform", "common"}},
    {"handset", {"platform", "common", "handset"}},
    {"audio", {"platform", "common", "audio"}},
    {"settings_ui", {"platform", "common", "settings_ui"}},
    {"skype", {"platform", "common", "handset", "audio", "settings_ui", "skype"}},
    {"modes", {"platform", "common", "handset", "audio", "settings_ui", "skype", "modes"}},
    {"app", {"platform", "common", "handset", "audio", "settings_ui", "skype", "modes", "app"}},
    {"world", {"platform", "world"}},
    {"main", {"platform", "common", "handset", "audio", "settings_ui", "skype", "modes", "app", "world", "main"}},
};

bool InBackendFolder(const std::string& path) {
    return std::any_of(kBackendFolders.begin(), kBackendFolders.end(),
                       [&](const std::string& folder) { return path.rfind(folder, 0) == 0; });
}

// The problems of one file, given its path below src/ and its text.
std::vector<std::string> Violations(const std::string& path, const std::string& text) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"]?)([^>"\s]+)[>"]?)");
    std::vector<std::string> found;
    const std::string folder = path.substr(0, path.find('/'));
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        const std::string name = m[2];
        const bool quoted = m[1] == "\"";
        if (!quoted && path != kTerminalFile) {
            for (const std::string& prefix : kTerminalHeaders) {
                if (name.rfind(prefix, 0) == 0) found.push_back(path + ": terminal header " + name);
            }
        }
        if (!quoted && !InBackendFolder(path)) {
            for (const auto& [prefix, kind] : kSystemHeaders) {
                if (name.rfind(prefix, 0) == 0) found.push_back(path + ": " + kind + " header " + name);
            }
        }
        const size_t slash = name.find('/');
        if (!quoted || slash == std::string::npos) continue;
        const std::string target = name.substr(0, slash);
        const auto allowed = kMayInclude.find(folder);
        if (allowed != kMayInclude.end() && kMayInclude.count(target) && !allowed->second.count(target)) {
            found.push_back(path + ": " + folder + "/ includes " + name);
        }
    }
    return found;
}

TEST(IncludeRulesTest, RulesCatchWhatTheyAreFor) {
    struct Case {
        std::string path;
        std::string text;
        bool flagged;
    };
    const Case cases[] = {
        {"modes/text_renderer.cpp", "#include <ft2build.h>\n", true},
        {"modes/text_renderer.cpp", "#include FT_FREETYPE_H\n", true},
        {"skype/contact_list.cpp", "  #  include <iconv.h>\n", true},
        {"app/corvane_dlg.cpp", "#include <windows.h>\n", true},
        {"platform/portable/profile.cpp", "#include <unistd.h>\n", true},
        {"platform/sim/virtual_clock.cpp", "#include <sys/time.h>\n", true},
        {"platform/posix/file_replace.cpp", "#include <unistd.h>\n", false},
        {"platform/win32/windows_api.h", "#include <windows.h>\n", false},
        {"modes/mode_machine.cpp", "#include <vector>\n#include \"skype/skype_monitor.h\"\n", false},
        {"skype/skype_parser.cpp", "#include \"modes/mode_machine.h\"\n", true},
        {"common/settings.cpp", "#include \"app/corvane_dlg.h\"\n", true},
        {"platform/portable/log.cpp", "#include \"common/settings.h\"\n", true},
        {"world/skype_peer.cpp", "#include \"skype/skype_monitor.h\"\n", true},
        {"main/sim/sim_world.cpp", "#include \"world/skype_peer.h\"\n#include \"app/corvane_app.h\"\n", false},
        {"app/corvane_dlg.cpp", "// #include <windows.h> in a comment\n", false},
        {"main/interactive/terminal.cpp", "#include <curses.h>\n", false},
        {"main/interactive/pane.cpp", "#include <curses.h>\n", true},
        {"platform/posix/system_clock.cpp", "#include <ncursesw/curses.h>\n", true},
        {"modes/virtual_display.cpp", "#include <term.h>\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " | " + c.text);
        EXPECT_EQ(!Violations(c.path, c.text).empty(), c.flagged);
    }
}

TEST(IncludeRulesTest, SourceTreeKeepsThem) {
    const fs::path src = fs::path(CORVANE_SOURCE_DIR) / "src";
    std::vector<std::string> problems;
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        ++files;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string path = fs::relative(entry.path(), src).generic_string();
        for (const std::string& p : Violations(path, text.str())) problems.push_back(p);
    }
    EXPECT_GT(files, 50u) << "the source tree was not found";
    for (const std::string& p : problems) ADD_FAILURE() << p;
}

}  // namespace
