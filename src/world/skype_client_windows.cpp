#include "world/skype_client_windows.h"

#include <vector>

namespace world {

using namespace platform;

namespace {

const WindowRect kDialerRect{400, 300, 601, 360};
const std::wstring kConfirmDialogClass = L"TskConfirmForm.UnicodeClass";

std::wstring MainFormClass(int major) { return major <= 3 ? L"tSkMainForm.UnicodeClass" : L"tSkMainForm"; }

// "BTN_PRESSED x" with x a key of the dial pad.
bool DialPadButton(const std::string& text, char& key) {
    const std::string prefix = "BTN_PRESSED ";
    if (text.size() != prefix.size() + 1 || text.compare(0, prefix.size(), prefix) != 0) return false;
    key = text.back();
    return (key >= '0' && key <= '9') || key == '*' || key == '#' || key == '+';
}

}  // namespace

SkypeClientWindows::SkypeClientWindows(std::function<void(const std::string&)> dial) : dial_(std::move(dial)) {}

void SkypeClientWindows::SetVersion(int major, int minor) {
    std::lock_guard<std::mutex> lock(mutex_);
    major_ = major;
    minor_ = minor;
}

bool SkypeClientWindows::Is55OrLater() const { return major_ > 5 || (major_ == 5 && minor_ > 4); }

WindowHandle SkypeClientWindows::Make(WindowHandle parent, const std::wstring& className,
                                      std::function<LRESULT(WindowHandle, uint32_t, WPARAM, LPARAM)> proc) {
    auto& desktop = CurrentDesktop();
    WindowHandle w;
    if (parent) {
        w = desktop.CreateChildWindow(parent, className, L"", std::move(proc));
    } else {
        w = desktop.CreateWindow(className, L"", std::move(proc));
    }
    desktop.ShowWindow(w, true);
    std::lock_guard<std::mutex> lock(mutex_);
    windows_.insert(w.value);
    return w;
}

void SkypeClientWindows::Create() { CreateMainForm(); }

void SkypeClientWindows::CreateMainForm() {
    int major;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (main_) return;
        major = major_;
    }
    auto ignore = [](WindowHandle, uint32_t, WPARAM, LPARAM) -> LRESULT { return 0; };
    const WindowHandle main = Make(WindowHandle{}, MainFormClass(major), ignore);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        main_ = main;
    }
    if (major <= 3) return;
    Make(main, L"TConversationsControl", ignore);
    const WindowHandle form = Make(main, L"TCallPhonesForm", ignore);
    const WindowHandle canvas = Make(form, L"TCallPhonesCanvas", ignore);
    const WindowHandle dialer = Make(canvas, L"TDialerControl", ignore);
    CurrentDesktop().SetWindowRect(dialer, kDialerRect);
    const WindowHandle field = Make(dialer, L"TskRichEdit_", [this](WindowHandle, uint32_t m, WPARAM wp, LPARAM) {
        return NumberFieldProc(m, wp);
    });
    std::lock_guard<std::mutex> lock(mutex_);
    numberField_ = field;
}

void SkypeClientWindows::Destroy() {
    std::set<uint32_t> windows;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        windows.swap(windows_);
        main_ = WindowHandle{};
        numberField_ = WindowHandle{};
        dialPadOpen_ = false;
    }
    for (uint32_t w : windows) CurrentDesktop().DestroyWindow(WindowHandle{w});
}

void SkypeClientWindows::SetMainWindow(MainWindow state) {
    if (state == MainWindow::None) {
        Destroy();
        return;
    }
    CreateMainForm();
    WindowHandle main;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        main = main_;
    }
    CurrentDesktop().ShowWindow(main, state == MainWindow::Visible);
}

void SkypeClientWindows::OpenWindow(const std::wstring& className) {
    Make(WindowHandle{}, className,
         [this](WindowHandle w, uint32_t m, WPARAM wp, LPARAM) { return ClosableProc(w, m, wp); });
}

LRESULT SkypeClientWindows::ClosableProc(WindowHandle window, uint32_t message, WPARAM wParam) {
    const bool escape = message == WM_KEYDOWN && wParam == VK_ESCAPE &&
                        CurrentDesktop().GetClassName(window) == kConfirmDialogClass;
    if (message != WM_CLOSE && !escape) return 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        windows_.erase(window.value);
    }
    CurrentDesktop().DestroyWindow(window);
    return 0;
}

LRESULT SkypeClientWindows::NumberFieldProc(uint32_t message, WPARAM wParam) {
    if (message == WM_CHAR && (wParam == '#' || wParam == '+')) {
        AppendToNumber(static_cast<char>(wParam));
    } else if (message == WM_KEYDOWN) {
        if (wParam >= '0' && wParam <= '9') {
            AppendToNumber(static_cast<char>(wParam));
        } else if (wParam == VK_MULTIPLY) {
            AppendToNumber('*');
        } else if (wParam == VK_BACK) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!number_.empty()) number_.pop_back();
        } else if (wParam == VK_RETURN) {
            DialNumber();
        }
    }
    return 0;
}

void SkypeClientWindows::AppendToNumber(char c) {
    std::lock_guard<std::mutex> lock(mutex_);
    number_ += c;
}

void SkypeClientWindows::DialNumber() {
    std::string number;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        number.swap(number_);
    }
    if (!number.empty() && dial_) dial_(number);
}

bool SkypeClientWindows::OnCommand(const std::string& text) {
    WindowHandle main, focusTarget;
    bool buttonsType, canOpenDialPad;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        main = main_;
        // Brought forward, the client gives the keyboard to the dial pad's
        // number field while the dial pad is open.
        focusTarget = dialPadOpen_ && numberField_ ? numberField_ : main_;
        // Clients from 5.5 on ignore the dial pad's button commands.
        buttonsType = !Is55OrLater();
        canOpenDialPad = major_ > 3;
    }
    char key = 0;
    if (text == "SET WINDOWSTATE NORMAL" || text == "Open Contacts") {
        if (main) CurrentDesktop().ShowWindow(main, true);
    } else if (text == "MINIMIZE") {
        if (main) CurrentDesktop().ShowWindow(main, false);
    } else if (text == "FOCUS") {
        if (focusTarget) CurrentDesktop().SetFocus(focusTarget);
    } else if (text == "OPEN DIALPAD") {
        if (!canOpenDialPad) return false;
        std::lock_guard<std::mutex> lock(mutex_);
        dialPadOpen_ = true;
    } else if (text == "BTN_PRESSED NO") {
        std::lock_guard<std::mutex> lock(mutex_);
        number_.clear();
    } else if (DialPadButton(text, key)) {
        if (buttonsType) AppendToNumber(key);
    } else if (text == "BTN_PRESSED YES") {
        // A number typed in is dialled; otherwise the peer decides.
        if (NumberText().empty()) return false;
        DialNumber();
    } else {
        return false;
    }
    return true;
}

bool SkypeClientWindows::IsClientWindow(WindowHandle window) {
    std::lock_guard<std::mutex> lock(mutex_);
    return windows_.count(window.value) != 0;
}

std::string SkypeClientWindows::NumberText() {
    std::lock_guard<std::mutex> lock(mutex_);
    return number_;
}

}  // namespace world
