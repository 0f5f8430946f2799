#include "modes/skype_windows.h"

#include <initializer_list>

#include "modes/mode_machine.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"

namespace modes {

namespace {

using platform::CurrentDesktop;
using platform::WindowHandle;
using ClassNames = std::initializer_list<const wchar_t*>;

constexpr ClassNames kMainWindow = {L"tSkMainForm.UnicodeClass", L"tSkMainForm", L"TZapMainForm.UnicodeClass",
                                    L"TZapMainForm"};
constexpr ClassNames kCallPhonesForm = {L"TCallPhonesForm.UnicodeClass", L"TCallPhonesForm",
                                        L"TskCallPhonesForm.UnicodeClass", L"TskCallPhonesForm"};
constexpr ClassNames kCallPhonesCanvas = {L"TCallPhonesCanvas.UnicodeClass", L"TCallPhonesCanvas"};
constexpr ClassNames kDialerControl = {L"TDialerControl.UnicodeClass", L"TDialerControl"};
constexpr ClassNames kNumberField = {L"TskRichEdit_.UnicodeClass", L"TskRichEdit_"};
constexpr ClassNames kConversationsControl = {L"TConversationsControl.UnicodeClass", L"TConversationsControl"};

// Call windows that hanging up tidies away; Skype may open them again while
// the rounds run, which is why there are so many.
constexpr ClassNames kCallWindows = {
    L"TConversationForm.UnicodeClass", L"TConversationForm",   L"TCallPhonesForm.UnicodeClass",
    L"TCallPhonesForm",                L"TskCallPhonesForm.UnicodeClass", L"TskCallPhonesForm",
    L"THomeForm",                      L"THomeForm.UnicodeClass",         L"TMyselfProfileForm",
    L"TMyselfProfileForm.UnicodeClass", L"TFeedbackForm",                 L"TFeedbackForm.UnicodeClass",
    L"TCallFailureForm",               L"TCallFailureForm.UnicodeClass"};
constexpr ClassNames kCallQualityWindows = {L"TskCallQualityForm.UnicodeClass", L"TskCallQualityForm",
                                            L"TCallQualityForm.UnicodeClass", L"TCallQualityForm"};
constexpr int kCloseRounds = 100;
constexpr uint32_t kCloseRoundMs = 20;

constexpr platform::LPARAM kKeyUpBits = static_cast<platform::LPARAM>(0xC0000000u);
constexpr platform::LPARAM kCharBits = static_cast<platform::LPARAM>(0xC0000001u);
constexpr platform::LPARAM kAltDownBits = 0x20000000;
constexpr platform::LPARAM kAltUpBits = static_cast<platform::LPARAM>(0xE0000000u);
constexpr int kDialerClickY = 21;

WindowHandle FindTopLevel(ClassNames classes) {
    for (const wchar_t* name : classes) {
        const std::wstring className(name);
        if (WindowHandle w = CurrentDesktop().FindWindow(&className, nullptr)) return w;
    }
    return WindowHandle{};
}

WindowHandle FindChild(WindowHandle parent, ClassNames classes) {
    if (!parent) return WindowHandle{};
    for (const wchar_t* name : classes) {
        if (WindowHandle w = CurrentDesktop().FindChildWindow(parent, name)) return w;
    }
    return WindowHandle{};
}

// The call and dial pad form: a child of the main window in newer clients,
// a window of its own in older ones.
WindowHandle FindCallPhonesForm() {
    if (WindowHandle w = FindChild(FindSkypeMainWindow(), kCallPhonesForm)) return w;
    return FindTopLevel(kCallPhonesForm);
}

WindowHandle FindDialerControl() {
    return FindChild(FindChild(FindCallPhonesForm(), kCallPhonesCanvas), kDialerControl);
}

WindowHandle FindNumberField() { return FindChild(FindDialerControl(), kNumberField); }

void Post(WindowHandle w, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
    CurrentDesktop().PostMessage(w, message, wParam, lParam);
}

void PostKey(WindowHandle w, platform::WPARAM key) {
    Post(w, platform::WM_KEYDOWN, key, 0);
    Post(w, platform::WM_KEYUP, key, kKeyUpBits);
}

// Alt + digit: Skype's shortcuts for its side panels.
void PostAltDigit(WindowHandle w, char digit) {
    Post(w, platform::WM_SYSKEYDOWN, static_cast<platform::WPARAM>(digit), kAltDownBits);
    Post(w, platform::WM_SYSKEYUP, static_cast<platform::WPARAM>(digit), kAltUpBits);
}

long SkypeMajorVersion() {
    long numbers[4] = {};
    skype::SkypeVersionNumbers(numbers);
    return numbers[0];
}

void Send(const char* text) { skype::SendMessageToSkype(text); }

void CloseTopLevelWindows(ClassNames classes) {
    for (const wchar_t* name : classes) {
        const std::wstring className(name);
        if (WindowHandle w = CurrentDesktop().FindWindow(&className, nullptr)) Post(w, platform::WM_CLOSE, 0, 0);
    }
}

}  // namespace

WindowHandle FindSkypeMainWindow() { return FindTopLevel(kMainWindow); }

bool IsSkype55OrLater() {
    long numbers[4] = {};
    skype::SkypeVersionNumbers(numbers);
    return numbers[0] > 5 || (numbers[0] == 5 && numbers[1] > 4);
}

bool IsSkype3() { return SkypeMajorVersion() == 3; }

bool IsSkype2Or3() {
    const long major = SkypeMajorVersion();
    return major == 2 || major == 3;
}

void ClickDialerEdit() {
    const WindowHandle dialer = FindDialerControl();
    if (!dialer) return;
    platform::WindowRect rect;
    CurrentDesktop().GetWindowRect(dialer, rect);
    const int x = (rect.right - rect.left) / 2;
    const auto position = static_cast<platform::LPARAM>((static_cast<uint32_t>(x) & 0xFFFF) |
                                                        (static_cast<uint32_t>(kDialerClickY) << 16));
    Post(dialer, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, position);
    Post(dialer, platform::WM_LBUTTONUP, 0, position);
}

void TypeIntoDialer(char c) {
    const WindowHandle field = FindNumberField();
    if (!field) return;
    platform::LogA("*****show dtmf in  edit call********\n");
    CurrentDesktop().SetFocus(field);
    if (c >= '0' && c <= '9') {
        PostKey(field, static_cast<platform::WPARAM>(c));
    } else if (c == '*') {
        PostKey(field, platform::VK_MULTIPLY);
    } else if (c == '#' || c == '+') {
        Post(field, platform::WM_CHAR, static_cast<platform::WPARAM>(c), kCharBits);
    }
}

void DialFromDialer() {
    const WindowHandle field = FindNumberField();
    if (!field) return;
    platform::LogA("*****dial edit call********\n");
    CurrentDesktop().SetFocus(field);
    if (IsSkype55OrLater()) {
        ClickDialerEdit();
        platform::Sleep(100);
    }
    PostKey(field, platform::VK_RETURN);
}

void OpenDialPad(bool click) {
    if (IsSkype3()) return;
    Send("OPEN DIALPAD");
    platform::Sleep(100);
    Send("BTN_PRESSED NO");
    Send("BTN_RELEASED NO");
    platform::Sleep(400);
    if (click && IsSkype55OrLater()) ClickDialerEdit();
}

void ToggleSkypeFocus() {
    const WindowHandle main = FindSkypeMainWindow();
    if (!main) return;
    if (!CurrentDesktop().IsWindowVisible(main)) {
        ShowSkypeContacts();  // which also puts the toggle back to 0
        return;
    }
    Send("SET WINDOWSTATE NORMAL");
    platform::Sleep(100);
    if (IsSkype2Or3()) {
        Send("BTN_PRESSED SKYPE");
        Send("BTN_RELEASED SKYPE");
        return;
    }
    const WindowHandle conversations = FindChild(main, kConversationsControl);
    if (!conversations) return;
    const int toggle = g_ModeState.m_nPanelToggle;
    if (toggle == 0) {
        PostAltDigit(conversations, '2');
        g_ModeState.m_nPanelToggle = 1;
    } else if (toggle == 1) {
        PostAltDigit(conversations, '1');
        g_ModeState.m_nPanelToggle = 0;
    }
}

void ShowSkypeContacts() {
    if (IsSkype2Or3()) {
        Send("Open Contacts");
    } else {
        const WindowHandle main = FindSkypeMainWindow();
        Send("SET WINDOWSTATE NORMAL");
        platform::Sleep(50);
        // Without a main window the control is looked for among the
        // top-level windows instead.
        const WindowHandle conversations =
            main ? FindChild(main, kConversationsControl) : FindTopLevel(kConversationsControl);
        if (conversations) {
            PostAltDigit(conversations, '1');
        }
    }
    g_ModeState.m_nPanelToggle = 0;
}

void CloseSkypeCallWindows() {
    for (int round = 0; round < kCloseRounds; ++round) {
        CloseTopLevelWindows(kCallWindows);
        platform::Sleep(kCloseRoundMs);
    }
    CloseTopLevelWindows(kCallQualityWindows);
}

}  // namespace modes
