#include "standin_script.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "main/sim/script.h"
#include "platform/text_codec.h"
#include "platform/window_messages.h"

namespace standin {

namespace {

using Answer = world::SkypePeer::AttachAnswer;
using MainWindow = world::SkypeClientWindows::MainWindow;

const wchar_t kCompanionTitle[] = L"VARNO-CORVANE";
constexpr uint32_t kQuitRequest = platform::WM_USER + 1;
constexpr auto kWindowPoll = std::chrono::milliseconds(20);

// The words from `first` on, joined by blanks.
std::string Rest(const std::vector<std::string>& w, size_t first) {
    std::string text;
    for (size_t i = first; i < w.size(); ++i) text += (i > first ? " " : "") + w[i];
    return text;
}

bool AttachAnswerOf(const std::string& word, Answer& answer) {
    static const std::vector<std::pair<std::string, Answer>> answers = {
        {"0", Answer::Success},      {"1", Answer::PendingThenSuccess}, {"2", Answer::Refused},
        {"3", Answer::NotAvailable}, {"none", Answer::None}};
    for (const auto& [name, value] : answers) {
        if (name == word) {
            answer = value;
            return true;
        }
    }
    return false;
}

}  // namespace

StandinScript::StandinScript(world::SkypePeer& peer, uint32_t waitLimitMs) : peer_(peer), waitLimitMs_(waitLimitMs) {
    peer_.SetCommandListener([this](const std::string& text) { OnCommand(text); });
}

bool StandinScript::OpenRecord(const std::string& path) {
    record_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    return record_.is_open();
}

void StandinScript::OnCommand(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.push_back(text);
    if (record_.is_open()) record_ << text << std::endl;
    arrived_.notify_all();
}

bool StandinScript::Run(const std::string& text, std::string& failure) {
    for (const sim::ScriptLine& line : sim::ParseScript(text)) {
        if (!Step(line.words, failure)) {
            failure = "line " + std::to_string(line.number) + ": " + failure;
            return false;
        }
    }
    return true;
}

bool StandinScript::Step(const std::vector<std::string>& w, std::string& failure) {
    const std::string& command = w[0];
    long long number = 0;
    if (command == "await" && (w.size() == 2 || w.size() == 3)) {
        if (w.size() == 3 && (!sim::ParseNumber(w[2], number) || number < 1)) number = 0;
        if (w.size() == 2) number = 1;
        if (number == 0) {
            failure = "the count must be a number from 1";
            return false;
        }
        return Await(w[1], number, failure);
    }
    if ((command == "await-window" || command == "await-no-window") && w.size() == 2) {
        return AwaitWindow(platform::Utf8ToWide(w[1]), command == "await-window", failure);
    }
    if (command == "pause" && w.size() == 2 && sim::ParseNumber(w[1], number) && number >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(number));
        return true;
    }
    if (command == "quit-message" && w.size() == 1) {
        auto& desktop = platform::CurrentDesktop();
        const std::wstring title = kCompanionTitle;
        const platform::WindowHandle companion = desktop.FindWindow(nullptr, &title);
        if (companion && desktop.PostMessage(companion, kQuitRequest, 0, 0)) return true;
        failure = "no window titled VARNO-CORVANE";
        return false;
    }
    return PeerStep(w, failure);
}

bool StandinScript::PeerStep(const std::vector<std::string>& w, std::string& failure) {
    const std::string& c = w[0];
    const size_t n = w.size();
    Answer answer;
    if (c == "attach" && n == 2 && AttachAnswerOf(w[1], answer)) {
        peer_.SetAttachAnswer(answer);
    } else if (c == "start" && n <= 2) {
        if (n == 2) {
            world::SkypePeer::Profile profile;
            profile.version = w[1];
            peer_.SetProfile(profile);
        }
        peer_.Start();
    } else if (c == "available" && n == 1) {
        peer_.AnnounceApi();
    } else if (c == "quit" && n == 1) {
        peer_.Quit();
    } else if (c == "notify" && n >= 2) {
        peer_.Notify(Rest(w, 1));
    } else if (c == "call-in" && n >= 3) {
        peer_.CallIn(w[1], w[2], Rest(w, 3));
    } else if (c == "call-out" && n == 3) {
        peer_.CallOut(w[1], w[2]);
    } else if (c == "end" && (n == 2 || n == 3)) {
        peer_.EndCall(w[1], n == 3 ? w[2] : "");
    } else if (c == "answer" && n == 2) {
        peer_.Answer(w[1]);
    } else if (c == "contact" && n >= 3) {
        peer_.SetContact(w[1], w[2], Rest(w, 3));
    } else if (c == "focus" && n == 2) {
        peer_.Focus(w[1]);
    } else if (c == "voicemail" && n == 3) {
        peer_.AddVoicemail(w[1], w[2]);
    } else if (c == "conference" && n == 3) {
        peer_.SetConference(w[1], w[2]);
    } else if (c == "window" && n == 3 && w[1] == "open") {
        peer_.OpenWindow(platform::Utf8ToWide(w[2]));
    } else if (c == "window" && n == 3 && w[1] == "main" && (w[2] == "visible" || w[2] == "hidden" || w[2] == "none")) {
        peer_.SetMainWindow(w[2] == "visible" ? MainWindow::Visible
                                              : (w[2] == "hidden" ? MainWindow::Hidden : MainWindow::None));
    } else {
        failure = "unknown command or wrong arguments: " + Rest(w, 0);
        return false;
    }
    return true;
}

bool StandinScript::Await(const std::string& command, long long count, std::string& failure) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool arrived = arrived_.wait_for(lock, std::chrono::milliseconds(waitLimitMs_), [&] {
        return std::count(received_.begin(), received_.end(), command) >= count;
    });
    if (arrived) return true;
    failure = "\"" + command + "\" did not arrive " + std::to_string(count) + " time(s) within " +
              std::to_string(waitLimitMs_) + " ms";
    return false;
}

// Windows of other processes come and go without telling us: looked for
// again every few milliseconds until the limit.
bool StandinScript::AwaitWindow(const std::wstring& title, bool present, std::string& failure) {
    auto& desktop = platform::CurrentDesktop();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitLimitMs_);
    while (static_cast<bool>(desktop.FindWindow(nullptr, &title)) != present) {
        if (std::chrono::steady_clock::now() > limit) {
            failure = std::string("the window ") + (present ? "did not appear" : "did not go away") + " in time";
            return false;
        }
        std::this_thread::sleep_for(kWindowPoll);
    }
    return true;
}

}  // namespace standin
