#pragma once
// What the interactive view knows of the run, gathered from the transcript
// as its lines come: the handset's light, ringer, status and screen, the
// current mode, the tray icon and tip, and the latest lines themselves.
// (The display itself is read from the program's image when drawn.)

#include <cstdint>
#include <deque>
#include <optional>
#include <string>


namespace interactive {

class HandsetView {
public:
    static constexpr size_t kKeptLines = 1000;

    // One transcript line, "<ms> <channel> <text>".
    void Take(const std::string& line);

    bool LightOn() const { return light_; }
    bool Ringing() const { return ringing_; }
    // "IDLE", "TALK", "ALERT" (CMD_STATUS_*), or "-" before the first.
    const std::string& Status() const { return status_; }
    bool Started() const { return started_; }
    // "MODE_MAIN (1)", or "-" before the first switch.
    const std::string& Mode() const { return mode_; }
    // The tray icon's name and its tip, as the transcript shows them.
    const std::string& TrayIcon() const { return trayIcon_; }
    const std::string& TrayTip() const { return trayTip_; }
    std::optional<int> ExitCode() const { return exitCode_; }
    // The latest lines, oldest first; screen lines keep only their line number.
    const std::deque<std::string>& Lines() const { return lines_; }

private:
    void TakeCommand(const std::string& text);
    void TakeTray(const std::string& text);
    void Keep(const std::string& line, const std::string& channel);

    bool light_ = false;
    bool ringing_ = false;
    bool started_ = false;
    std::string status_ = "-";
    std::string mode_ = "-";
    std::string trayIcon_ = "-";
    std::string trayTip_;
    std::optional<int> exitCode_;
    std::deque<std::string> lines_;
};

}  // namespace interactive
