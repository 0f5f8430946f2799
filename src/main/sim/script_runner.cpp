#include "main/sim/script_runner.h"

#include "common/key_ids.h"
#include "common/settings.h"
#include "main/sim/sheet_commands.h"
#include "main/sim/sound_commands.h"

namespace sim {

namespace {
constexpr uint64_t kDefaultHoldMs = 100;
}

int DefaultCodeForKey(const std::string& keyName) {
    static const common::CAppSettings defaults;
    for (int code = common::kFirstMappedCode; code <= common::kLastMappedCode; ++code) {
        char fallback[16];
        const uint32_t key = static_cast<uint32_t>(defaults.VAL_KEYSCAN[code - common::kFirstMappedCode].load());
        if (keyName == common::KeyName(key, fallback)) return code;
    }
    return 0;
}

int ScriptRunner::Run(const std::vector<ScriptLine>& lines) {
    for (const ScriptLine& line : lines) {
        if (!RunLine(line)) {
            if (!stuck_) world_.Stop();
            return stuck_ ? 3 : 2;
        }
    }
    return Finish();
}

bool ScriptRunner::RunLine(const ScriptLine& line) {
    lineNumber_ = line.number;
    if (stuck_ || line.words.empty() || !Execute(line)) return false;
    world_.Settle();
    return true;
}

int ScriptRunner::Finish() {
    if (stuck_ || !FinishDeliveries()) return 3;
    world_.Stop();
    return 0;
}

// The script does not wait for its deliveries line by line, only here and
// at its end; time runs on meanwhile as the script says.
bool ScriptRunner::FinishDeliveries() {
    std::string problem;
    if (world_.FinishDeliveries(problem)) return true;
    stuck_ = true;
    errors_ << "script line " << lineNumber_ << ": " << problem;
    return false;
}

bool ScriptRunner::Fail(const std::string& message) {
    errors_ << "script line " << lineNumber_ << ": " << message << '\n';
    return false;
}

bool ScriptRunner::Execute(const ScriptLine& line) {
    const auto& w = line.words;
    const std::string& command = w[0];
    if (command == "setting") return Setting(w);
    if (command == "start") {
        if (w.size() != 1) return Fail("start takes no arguments");
        world_.Start();
        return true;
    }
    if (command == "wait") return Wait(w);
    if (command == "handset") return HandsetCommand(w);
    if (command == "skype") return SkypeCommand(w);
    if (command == "sound") {
        std::string error;
        return SoundCommand(world_, w, error) || Fail(error);
    }
    if (command == "sheet") {
        std::string error;
        return SheetCommand(world_, w, error) || Fail(error);
    }
    if (command == "tray") {
        long long id = 0;
        auto& shell = world_.Shell();
        if (w.size() == 3 && w[1] == "rclick" && ParseNumber(w[2], id) && id >= 0) {
            world_.Deliver([&shell, id] { shell.RightClick(static_cast<uint32_t>(id)); });
        } else if (w.size() == 2 && w[1] == "dblclick") {
            world_.Deliver([&shell] { shell.DoubleClick(); });
        } else {
            return Fail("usage: tray rclick <command id> | tray dblclick");
        }
        return true;
    }
    if (command == "shell") {
        if (w.size() != 2 || w[1] != "restart") return Fail("usage: shell restart");
        auto& shell = world_.Shell();
        world_.Deliver([&shell] { shell.Restart(); });
        return true;
    }
    if (command == "quit-message") {
        world_.Deliver([this] { world_.SendQuitMessage(); });
        return true;
    }
    if (command == "second-instance") {
        world_.Deliver([this] { world_.StartSecondInstance(); });
        return true;
    }
    if (command == "exit") {
        if (!FinishDeliveries()) return false;
        world_.Stop();
        return true;
    }
    return Fail("unknown command '" + command + "'");
}

bool ScriptRunner::Setting(const std::vector<std::string>& w) {
    if (w.size() < 3) return Fail("usage: setting <KEY> <value>");
    if (world_.Running()) return Fail("settings are written before start");
    std::string value = w[2];
    for (size_t i = 3; i < w.size(); ++i) value += " " + w[i];
    world_.WriteSetting(w[1], value);
    return true;
}

bool ScriptRunner::Wait(const std::vector<std::string>& w) {
    long long ms = 0;
    if (w.size() != 2 || !ParseNumber(w[1], ms) || ms < 0) return Fail("usage: wait <ms>");
    world_.Advance(static_cast<uint64_t>(ms));
    return true;
}

bool ScriptRunner::HandsetCommand(const std::vector<std::string>& w) {
    if (w.size() < 2) return Fail("usage: handset plug|unplug|report|press|release|key ...");
    auto& handset = world_.Handset();
    auto& bus = world_.Bus();
    const std::string& what = w[1];
    if (what == "plug") {
        world_.Deliver([&handset, &bus] { handset.Plug(bus); });
    } else if (what == "unplug") {
        world_.Deliver([&handset] { handset.Unplug(); });
    } else if (what == "report") {
        std::vector<uint8_t> bytes;
        for (size_t i = 2; i < w.size(); ++i) {
            long long v = 0;
            if (!ParseNumber(w[i], v) || v < 0 || v > 255) return Fail("bad report byte '" + w[i] + "'");
            bytes.push_back(static_cast<uint8_t>(v));
        }
        world_.Deliver([&handset, bytes] { handset.InjectInput(bytes); });
    } else if (what == "press") {
        long long code = 0;
        if (w.size() != 3 || !ParseNumber(w[2], code) || code < 0 || code > 255) {
            return Fail("usage: handset press <code>");
        }
        world_.Deliver([&handset, code] { handset.Press(static_cast<uint8_t>(code)); });
    } else if (what == "release") {
        world_.Deliver([&handset] { handset.Release(); });
    } else if (what == "key") {
        return HandsetKey(w);
    } else {
        return Fail("unknown handset command '" + what + "'");
    }
    return true;
}

bool ScriptRunner::SkypeCommand(const std::vector<std::string>& w) {
    using Answer = world::SkypePeer::AttachAnswer;
    if (w.size() < 2) {
        return Fail("usage: skype start|attach|available|quit|notify|call-in|call-out|answer|end|conference|contact|focus|voicemail|history|balance|dial-fails|window ...");
    }
    auto& peer = world_.Skype();
    const std::string& what = w[1];
    if (what == "start") {
        if (w.size() > 3) return Fail("usage: skype start [<version>]");
        if (w.size() == 3) {
            world::SkypePeer::Profile profile;
            profile.version = w[2];
            world_.Deliver([=, &peer] { peer.SetProfile(profile); });
        }
        world_.Deliver([=, &peer] { peer.Start(); });
    } else if (what == "attach") {
        if (w.size() != 3) return Fail("usage: skype attach 0|1|2|3|none");
        const std::string& s = w[2];
        if (s == "0") {
            world_.Deliver([=, &peer] { peer.SetAttachAnswer(Answer::Success); });
        } else if (s == "1") {
            world_.Deliver([=, &peer] { peer.SetAttachAnswer(Answer::PendingThenSuccess); });
        } else if (s == "2") {
            world_.Deliver([=, &peer] { peer.SetAttachAnswer(Answer::Refused); });
        } else if (s == "3") {
            world_.Deliver([=, &peer] { peer.SetAttachAnswer(Answer::NotAvailable); });
        } else if (s == "none") {
            world_.Deliver([=, &peer] { peer.SetAttachAnswer(Answer::None); });
        } else {
            return Fail("attach status must be 0, 1, 2, 3 or none");
        }
    } else if (what == "available") {
        world_.Deliver([=, &peer] { peer.AnnounceApi(); });
    } else if (what == "quit") {
        world_.Deliver([=, &peer] { peer.Quit(); });
    } else if (what == "call-in" && (w.size() == 4 || w.size() >= 5)) {
        std::string name;
        for (size_t i = 4; i < w.size(); ++i) name += (i > 4 ? " " : "") + w[i];
        world_.Deliver([=, &peer] { peer.CallIn(w[2], w[3], name); });
    } else if (what == "call-out" && w.size() == 4) {
        world_.Deliver([=, &peer] { peer.CallOut(w[2], w[3]); });
    } else if (what == "end" && (w.size() == 3 || w.size() == 4)) {
        world_.Deliver([=, &peer] { peer.EndCall(w[2], w.size() == 4 ? w[3] : ""); });
    } else if (what == "contact" && w.size() >= 4) {
        std::string name;
        for (size_t i = 4; i < w.size(); ++i) name += (i > 4 ? " " : "") + w[i];
        world_.Deliver([=, &peer] { peer.SetContact(w[2], w[3], name); });
    } else if (what == "conference" && w.size() == 4) {
        world_.Deliver([=, &peer] { peer.SetConference(w[2], w[3]); });
    } else if (what == "focus" && w.size() == 3) {
        world_.Deliver([=, &peer] { peer.Focus(w[2]); });
    } else if (what == "voicemail" && (w.size() == 4 || w.size() == 5)) {
        long long seconds = world::SkypePeer::kDefaultVoicemailSeconds;
        if (w.size() == 5 && (!ParseNumber(w[4], seconds) || seconds < 0)) return Fail("bad voicemail length '" + w[4] + "'");
        world_.Deliver([=, &peer] { peer.AddVoicemail(w[2], w[3], static_cast<int>(seconds)); });
    } else if (what == "history") {
        return SkypeHistoryCommand(w);
    } else if (what == "balance" && w.size() == 4) {
        world_.Deliver([=, &peer] { peer.SetBalance(w[2], w[3]); });
    } else if (what == "dial-fails" && w.size() == 3 && (w[2] == "on" || w[2] == "off")) {
        world_.Deliver([=, &peer] { peer.SetDialFails(w[2] == "on"); });
    } else if (what == "answer" && w.size() == 3) {
        world_.Deliver([=, &peer] { peer.Answer(w[2]); });
    } else if (what == "window") {
        return SkypeWindowCommand(w);
    } else if (what == "notify") {
        if (w.size() < 3) return Fail("usage: skype notify <text ...>");
        std::string text = w[2];
        for (size_t i = 3; i < w.size(); ++i) text += " " + w[i];
        world_.Deliver([=, &peer] { peer.Notify(text); });
    } else {
        return Fail("unknown skype command '" + what + "'");
    }
    return true;
}

// skype history <id> <type> <status> <handle> <timestamp>|now [<duration>]
bool ScriptRunner::SkypeHistoryCommand(const std::vector<std::string>& w) {
    static const char usage[] = "usage: skype history <id> <type> <status> <handle> <timestamp>|now [<duration>]";
    if (w.size() != 7 && w.size() != 8) return Fail(usage);
    world::SkypePeer::HistoryEntry entry{w[2], w[3], w[4], w[5], 0, 0};
    const bool now = w[6] == "now";
    long long timestamp = 0, duration = 0;
    if (!now && !ParseNumber(w[6], timestamp)) return Fail(usage);
    if (w.size() == 8 && (!ParseNumber(w[7], duration) || duration < 0)) return Fail(usage);
    entry.timestamp = timestamp;
    entry.duration = static_cast<int>(duration);
    auto& peer = world_.Skype();
    world_.Deliver([=, &peer]() mutable {
        if (now) entry.timestamp = world::SkypePeer::Now();
        peer.AddHistory(entry);
    });
    return true;
}

// skype window main visible|hidden|none, skype window open <class name>
bool ScriptRunner::SkypeWindowCommand(const std::vector<std::string>& w) {
    using MainWindow = world::SkypeClientWindows::MainWindow;
    auto& peer = world_.Skype();
    if (w.size() == 4 && w[2] == "main") {
        if (w[3] == "visible") {
            world_.Deliver([=, &peer] { peer.SetMainWindow(MainWindow::Visible); });
        } else if (w[3] == "hidden") {
            world_.Deliver([=, &peer] { peer.SetMainWindow(MainWindow::Hidden); });
        } else if (w[3] == "none") {
            world_.Deliver([=, &peer] { peer.SetMainWindow(MainWindow::None); });
        } else {
            return Fail("usage: skype window main visible|hidden|none");
        }
    } else if (w.size() == 4 && w[2] == "open") {
        world_.Deliver([=, &peer] { peer.OpenWindow(platform::Utf8ToWide(w[3])); });
    } else {
        return Fail("usage: skype window main visible|hidden|none | skype window open <class name>");
    }
    return true;
}

bool ScriptRunner::HandsetKey(const std::vector<std::string>& w) {
    if (w.size() < 3 || w.size() > 4) return Fail("usage: handset key <KEY_NAME> [<hold ms>]");
    const int code = DefaultCodeForKey(w[2]);
    if (code == 0) return Fail("no key of the default key map is '" + w[2] + "'");
    long long hold = kDefaultHoldMs;
    if (w.size() == 4 && (!ParseNumber(w[3], hold) || hold < 0)) return Fail("bad hold time '" + w[3] + "'");
    auto& handset = world_.Handset();
    world_.Deliver([&handset, code] { handset.Press(static_cast<uint8_t>(code)); });
    world_.Settle();
    world_.Advance(static_cast<uint64_t>(hold));
    world_.Deliver([&handset] { handset.Release(); });
    return true;
}

}  // namespace sim
