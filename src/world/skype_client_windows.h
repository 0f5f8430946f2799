#pragma once
// The windows of the Skype-like peer that the companion drives by class
// name: the main form with its conversations control, the call and dial pad
// form with its canvas, dialer control and number field, and any top-level
// window a script opens (call windows, the confirmation dialog). The
// number field keeps what is typed into it and dials it on Enter.
//
// Which windows exist follows the client's version: a 3.x client has only
// its main form; 5.x clients have the whole chain.

#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>

#include "platform/desktop.h"

namespace world {

// The actors speak to the program through the platform's simulated backends.
using platform::LPARAM;
using platform::LRESULT;
using platform::WindowHandle;
using platform::WPARAM;

class SkypeClientWindows {
public:
    enum class MainWindow { Visible, Hidden, None };

    // Called on the peer's thread when Enter dials the number field.
    explicit SkypeClientWindows(std::function<void(const std::string& number)> dial);

    // Version numbers of the client (major, minor), before Create.
    void SetVersion(int major, int minor);
    // Creates the windows; call on the peer's thread.
    void Create();
    // Destroys every window (the client quits).
    void Destroy();

    // The main form shown, hidden (to the tray) or closed. Closing and
    // reopening must happen on the peer's thread.
    void SetMainWindow(MainWindow state);
    // Opens a top-level window of the class that closes on WM_CLOSE (the
    // confirmation dialog also on Escape); on the peer's thread.
    void OpenWindow(const std::wstring& className);

    // What the client's API commands do to its windows. Returns true when
    // the command was about its windows.
    bool OnCommand(const std::string& text);

    bool IsClientWindow(WindowHandle window);
    std::string NumberText();

private:
    LRESULT NumberFieldProc(uint32_t message, WPARAM wParam);
    LRESULT ClosableProc(WindowHandle window, uint32_t message, WPARAM wParam);
    WindowHandle Make(WindowHandle parent, const std::wstring& className,
                      std::function<LRESULT(WindowHandle, uint32_t, WPARAM, LPARAM)> proc);
    void CreateMainForm();
    void AppendToNumber(char c);
    void DialNumber();
    bool Is55OrLater() const;

    std::function<void(const std::string&)> dial_;
    std::mutex mutex_;
    int major_ = 5;
    int minor_ = 5;
    WindowHandle main_;
    WindowHandle numberField_;
    std::set<uint32_t> windows_;
    std::string number_;
    bool dialPadOpen_ = false;
};

}  // namespace world
