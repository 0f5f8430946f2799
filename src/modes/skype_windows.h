#pragma once
// Driving Skype's own windows: the API has no command that types into
// Skype's dial pad, and older clients ignore some of its button commands,
// so keys and clicks are posted to Skype's windows, found by class name.
// A missing window ends an operation quietly at that point.

#include "platform/desktop.h"

namespace modes {

platform::WindowHandle FindSkypeMainWindow();
bool IsSkype55OrLater();
// Major version 3, and major version 2 or 3.
bool IsSkype3();
bool IsSkype2Or3();

void ClickDialerEdit();
void TypeIntoDialer(char c);
void DialFromDialer();
void OpenDialPad(bool click);
void ToggleSkypeFocus();
void ShowSkypeContacts();
void CloseSkypeCallWindows();

}  // namespace modes
