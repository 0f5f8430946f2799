#include "main/interactive/controller.h"

#include <algorithm>

#include "common/settings.h"
#include "main/interactive/text_cells.h"
#include "skype/skype_monitor.h"

namespace interactive {

namespace {

using Named = TerminalKey::Named;

void DropLastCharacter(std::string& text) {
    if (text.empty()) return;
    size_t at = text.size() - 1;
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
    text.erase(at);
}

}  // namespace

bool Controller::OnKey(TerminalKey key) {
    if (key.named == Named::Resize || Scroll(key)) return true;
    if (commandOpen_) return OnCommandKey(key);
    message_.clear();
    if (showHelp_) {
        showHelp_ = false;
        return true;
    }
    const KeyAction action = keypad_.Take(key);
    switch (action.kind) {
        case KeyAction::Kind::Quit: return false;
        case KeyAction::Kind::AwaitLongPress: message_ = "long press: now the key"; break;
        case KeyAction::Kind::OpenCommandLine:
            commandOpen_ = true;
            command_.clear();
            historyAt_ = history_.size();
            break;
        case KeyAction::Kind::Press: {
            std::string error;
            if (!session_.Run(action.scriptLine, error)) message_ = error;
            break;
        }
        case KeyAction::Kind::None: break;
    }
    return true;
}

bool Controller::Scroll(TerminalKey key) {
    constexpr size_t kPage = 10;
    const size_t kept = view_.Lines().size();
    if (key.named == Named::PageUp) {
        transcriptBack_ = std::min(transcriptBack_ + kPage, kept > 0 ? kept - 1 : 0);
    } else if (key.named == Named::PageDown) {
        transcriptBack_ = transcriptBack_ > kPage ? transcriptBack_ - kPage : 0;
    } else {
        return false;
    }
    return true;
}

bool Controller::OnCommandKey(TerminalKey key) {
    switch (key.named) {
        case Named::Enter: return RunTypedCommand();
        case Named::Escape: commandOpen_ = false; return true;
        case Named::Backspace:
        case Named::Delete: DropLastCharacter(command_); return true;
        case Named::Up: RecallHistory(-1); return true;
        case Named::Down: RecallHistory(1); return true;
        case Named::None: break;
        default: return true;
    }
    if (key.character == 3) return false;  // Ctrl-C
    if (key.character >= 0x20) command_ += EncodeUtf8(key.character);
    return true;
}

bool Controller::RunTypedCommand() {
    commandOpen_ = false;
    if (!command_.empty()) history_.push_back(command_);
    const CommandOutcome outcome = RunCommandLine(session_, command_);
    message_ = outcome.message;
    showHelp_ = outcome.showHelp;
    return !outcome.quit;
}

void Controller::RecallHistory(int step) {
    if (history_.empty()) return;
    if (step < 0 && historyAt_ > 0) --historyAt_;
    if (step > 0 && historyAt_ < history_.size()) ++historyAt_;
    command_ = historyAt_ < history_.size() ? history_[historyAt_] : "";
}

void Controller::CatchUp() {
    for (const std::string& line : world_.Log().LinesFrom(transcriptRead_)) {
        view_.Take(line);
        ++transcriptRead_;
        // Scrolled back, the pane keeps showing the same lines.
        if (transcriptBack_ > 0) transcriptBack_ = std::min(transcriptBack_ + 1, view_.Lines().size() - 1);
    }
}

// Read while the world is settled: no program thread runs meanwhile.
PaneFacts Controller::Facts() const {
    PaneFacts facts;
    facts.ms = world_.Log().ElapsedMs();
    facts.programRunning = world_.Running();
    facts.handsetPlugged = world_.Handset().IsPlugged();
    facts.hasDisplay = common::g_Settings.VAL_ENABLE_LCM == 1;
    facts.display = HandsetPixels(modes::g_VirtualDisplay.Image());
    facts.skypeRunning = world_.Skype().Running();
    facts.skypeAttached = skype::g_SkypeMonitor.IsAttached();
    facts.skypeUser = skype::g_SkypeMonitor.UserHandle();
    for (const skype::CCallObject& call : skype::g_SkypeMonitor.m_CurrCallList.Snapshot()) {
        facts.calls.push_back({call.m_szCallId, call.m_szStatus, call.m_szPartnerHandle});
    }
    facts.transcriptBack = transcriptBack_;
    facts.commandOpen = commandOpen_;
    facts.command = command_;
    facts.message = message_;
    if (showHelp_) facts.overlay = CommandHelp();
    return facts;
}

std::vector<std::string> Controller::Pane(int width, int height) { return ComposePane(view_, Facts(), width, height); }

}  // namespace interactive
