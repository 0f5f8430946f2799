#include "main/sim/sim_world.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "app/corvane_app.h"
#include "app/corvane_dlg.h"
#include "common/key_ids.h"
#include "audio/mixer_fader.h"
#include "modes/mode_machine.h"
#include "platform/app_folder.h"
#include "platform/sim/unique_folder.h"
#include "platform/system_info.h"
#include "platform/profile.h"
#include "main/sim/transcript_text.h"

namespace sim {

namespace {

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string out;
    char two[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(two, sizeof(two), "%02x", bytes[i]);
        out += two;
    }
    return out;
}

// Memory addresses differ from run to run; the transcript shows "0x?".
std::string WithoutAddresses(const std::string& text) {
    static const char* const kAddressed[] = {"AddCallObject 0x", "m_Value=0x"};
    for (const std::string prefix : kAddressed) {
        const size_t at = text.find(prefix);
        if (at == std::string::npos) continue;
        size_t end = at + prefix.size();
        while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end]))) ++end;
        return text.substr(0, at + prefix.size()) + "?" + text.substr(end);
    }
    return text;
}

std::string SectionOfKey(const std::string& key) {
    if (key.rfind("VAL_KEYSCAN_", 0) == 0) return "KEY";
    if (key.rfind("VAL_CONTRAST_", 0) == 0) return "LCM";
    return "SETTING";
}

void InstallResources(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    const fs::path resources = CORVANE_RESOURCE_DIR;
    std::error_code ec;
    fs::copy_file(resources / "Corvane.ini", folder / "Corvane.ini", fs::copy_options::overwrite_existing, ec);
    fs::copy(resources / "Language", folder / "Language", fs::copy_options::recursive, ec);
    fs::copy(resources / "RingTone", folder / "RingTone", fs::copy_options::recursive, ec);
    for (const auto& entry : fs::directory_iterator(resources / "KeyTone", ec)) {
        fs::copy_file(entry.path(), folder / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
    }
}

std::filesystem::path MakeProgramFolder() {
    return platform::sim::MakeUniqueFolder("corvane-sim-").value_or(std::filesystem::temp_directory_path());
}

}  // namespace

// Turns what the program does into transcript lines.
class SimWorld::Observer : public platform::LogSink, public modes::ModeObserver {
public:
    Observer(Transcript& transcript, bool logLines, std::string folder)
        : transcript_(transcript), logLines_(logLines), folder_(std::move(folder)) {}

    // The program's folder is a fresh temporary one each run; the transcript
    // names it "$PROGRAM/" so that runs compare equal.
    void Write(platform::LogOutput, const std::string& text) override {
        if (!logLines_) return;
        std::string t = text;
        for (size_t at; (at = t.find(folder_)) != std::string::npos;) t.replace(at, folder_.size(), "$PROGRAM/");
        transcript_.Add("log", TranscriptText(WithoutAddresses(t)));
    }
    void OnModeChanged(int mode) override {
        transcript_.Add("mode", std::to_string(mode) + " " + modes::ModeName(mode));
    }
    void OnKeyDispatched(unsigned key) override { transcript_.Add("key", std::to_string(key)); }

    void OnHandsetEvent(const world::HandsetEvent& event) {
        if (const auto* cmd = std::get_if<world::HandsetCommand>(&event)) {
            transcript_.Add("handset-cmd", cmd->name + " " + std::to_string(cmd->wp1) + " " +
                                               std::to_string(cmd->wp2) + " " + std::to_string(cmd->wp3));
        } else if (const auto* line = std::get_if<world::HandsetScreenLine>(&event)) {
            transcript_.Add("handset-screen", std::to_string(line->line) + " " + Hex(line->upper.data(), 128) + " " +
                                                  Hex(line->lower.data(), 128));
        }
    }

private:
    Transcript& transcript_;
    bool logLines_;
    std::string folder_;
};

SimWorld::SimWorld(const Options& options)
    : options_(options), transcript_([this] { return clock_.GetTickCount64(); }), folder_(MakeProgramFolder()) {
    if (options_.installResources) InstallResources(folder_);
    observer_ = std::make_unique<Observer>(transcript_, options_.logLines, (folder_ / "").string());
    desktop_.SetObserver(&windowTranscriber_);
    shell_.SetTrayListener([this](const platform::sim::SimShell::TrayState& tray) {
        const std::string tip = TranscriptText(platform::WideToUtf8(tray.tip));
        transcript_.Add("tray", tray.shown ? platform::sim::IconName(tray.icon) + " \"" + tip + "\"" : "removed \"\"");
    });
    shell_.SetMessageBoxListener([this](const std::wstring& text) {
        transcript_.Add("msgbox", "\"" + TranscriptText(platform::WideToUtf8(text)) + "\"");
    });
    registry_.CreateKey(L"Software\\Skype\\Phone\\UI");  // Skype is installed
    registry_.CreateKey(L"Software\\Microsoft\\Multimedia\\Sound Mapper\\");
    registry_.CreateKey(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\");
    registry_.SetListener([this](const std::wstring& path, const std::wstring& name,
                                 const std::optional<platform::RegistryValue>& value) {
        TranscribeRegistry(path, name, value);
    });
    sheet_.SetListener([this](const std::wstring& line) {
        transcript_.Add("sheet", TranscriptText(WithProgramFolder(platform::WideToUtf8(line))));
    });
    system_.SetTerminator([this](int code) { transcript_.Add("exit", std::to_string(code)); });
    system_.SetExecutablePath(platform::Utf8ToWide((folder_ / "Corvane.exe").string()));
    app::ResetProcessState();
    platform::AddLogSink(observer_.get());
    modes::SetModeObserver(observer_.get());
    modes::g_VirtualDisplay.SetObserver(&displayTranscriber_);
    handset_.SetEventListener([this](const world::HandsetEvent& e) { observer_->OnHandsetEvent(e); });
    skype_.SetCommandListener([this](const std::string& text) {
        std::string t = text;
        const std::string folder = (folder_ / "").string();
        for (size_t at; (at = t.find(folder)) != std::string::npos;) t.replace(at, folder.size(), "$PROGRAM/");
        transcript_.Add("skype-cmd", TranscriptText(t));
    });
    audio::InstallFaderObserver([this](audio::CMixerFader& fader, int value, int type) {
        transcript_.Add("fader", std::string(fader.Name()) + " " + std::to_string(value) + " " + std::to_string(type));
    });
    sound_.SetEventListener([this](const std::string& channel, const std::string& text) {
        transcript_.Add(channel, TranscriptText(text));
    });
    delivery_.Start();
}

SimWorld::~SimWorld() {
    Stop();
    delivery_.Stop();
    skype_.Quit();
    skype_.SetCommandListener(nullptr);
    audio::InstallFaderObserver(nullptr);
    sound_.SetEventListener(nullptr);
    handset_.SetEventListener(nullptr);
    modes::SetModeObserver(nullptr);
    modes::g_VirtualDisplay.SetObserver(nullptr);
    platform::RemoveLogSink(observer_.get());
    app::ResetProcessState();
    system_.SetTerminator(nullptr);
    shell_.SetTrayListener(nullptr);
    shell_.SetMessageBoxListener(nullptr);
    sheet_.SetListener(nullptr);
    registry_.SetListener(nullptr);
    desktop_.SetObserver(nullptr);
    std::error_code ec;
    if (folder_.filename().string().rfind("corvane-sim-", 0) == 0) std::filesystem::remove_all(folder_, ec);
}

std::string SimWorld::WithProgramFolder(std::string text) const {
    const std::string folder = (folder_ / "").string();
    for (size_t at; (at = text.find(folder)) != std::string::npos;) text.replace(at, folder.size(), "$PROGRAM/");
    return text;
}

// Key and value names in quotes (they may hold blanks); a string in quotes
// with a quote inside it written \", a number in decimal.
void SimWorld::TranscribeRegistry(const std::wstring& path, const std::wstring& name,
                                  const std::optional<platform::RegistryValue>& value) {
    const std::string where = "\"" + platform::WideToUtf8(path) + "\" \"" + platform::WideToUtf8(name) + "\"";
    if (!value) {
        transcript_.Add("registry", "delete " + where);
        return;
    }
    std::string data;
    if (const auto* number = std::get_if<uint32_t>(&*value)) {
        data = std::to_string(*number);
    } else {
        std::string text = WithProgramFolder(platform::WideToUtf8(std::get<std::wstring>(*value)));
        data = "\"";
        for (char c : text) data += c == '"' ? std::string("\\\"") : std::string(1, c);
        data += "\"";
    }
    transcript_.Add("registry", "set " + where + " " + TranscriptText(data));
}

void SimWorld::WriteSetting(const std::string& key, const std::string& value) {
    platform::WritePrivateProfileString(platform::Utf8ToWide(SectionOfKey(key)), platform::Utf8ToWide(key),
                                        platform::Utf8ToWide(value),
                                        platform::Utf8ToWide((folder_ / "Corvane.ini").string()));
}

void SimWorld::Start() {
    if (started_) return;
    started_ = true;
    transcript_.SetOrigin(clock_.GetTickCount64());
    ui_.Start("ui", [] { app::theApp.InitInstance(); });
    clock_.Settle();
}

void SimWorld::StartWithReadyHandset() {
    handset_.Plug(bus_);
    Start();
    handset_.Press(static_cast<uint8_t>(common::HANDSET_CODE_DEVICE_START));
    Advance(100);
    handset_.Release();
    Advance(100);
}

void SimWorld::SendQuitMessage() {
    const std::wstring title = app::kMainWindowTitle;
    desktop_.SendMessage(desktop_.FindWindow(nullptr, &title), app::WM_QUIT_REQUEST, 0, 0);
}

void SimWorld::StartSecondInstance() {
    platform::Thread second;
    second.Start("second-instance", [] {
        app::CCorvaneApp instance;
        instance.InitInstance();
    });
    second.Join();
}

// Lets time run in small steps until done() holds. False when it cannot any
// more: no program thread waits for a time, or an hour of program time has
// passed without it.
bool SimWorld::RunUntil(const std::function<bool()>& done) {
    constexpr uint64_t kStepMs = 10;
    constexpr uint64_t kGiveUpMs = 3600000;
    for (uint64_t waited = 0;; waited += kStepMs) {
        clock_.Settle();
        if (done()) return true;
        if (!clock_.AnyDeadline() || waited >= kGiveUpMs) return false;
        clock_.Advance(kStepMs);
    }
}

bool SimWorld::FinishDeliveries(std::string& problem) {
    if (RunUntil([this] { return delivery_.Done(); })) return true;
    problem = "no progress: a delivery cannot end; program threads:\n" + clock_.DescribeThreads();
    return false;
}

void SimWorld::Stop() {
    if (!started_ || stopped_) return;
    stopped_ = true;
    const std::wstring title = app::kMainWindowTitle;
    desktop_.PostMessage(desktop_.FindWindow(nullptr, &title), platform::WM_CLOSE, 0, 0);
    // Threads may be in the middle of a timed wait; let time run until all end.
    if (!RunUntil([this] { return ui_.Finished(); })) {
        std::fprintf(stderr, "corvane-sim: no progress: the program did not end; program threads:\n%s",
                     clock_.DescribeThreads().c_str());
        std::abort();
    }
    ui_.Join();
}

}  // namespace sim
