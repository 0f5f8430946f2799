#pragma once
// The one way a Win32 backend takes the system's headers.
//
// The ports keep the documented names, and the system's headers define many
// of the same names as macros. This file includes every system header the
// backends use, records the system's value of each name our ports also
// declare, removes those macros, and then checks against the ports that each
// of our constants equals the system's. Backends include this file and no
// system header of their own; they call the system's functions by their
// explicit ...W names (CreateWindowExW, SendMessageW, ...). Inside namespace
// platform a leftover use of a removed name, such as a system macro that
// expands to WM_USER + n, finds our constant of the same value.

#ifndef _WIN32
#error "platform/win32/windows_api.h is for Windows builds only"
#endif

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <dbt.h>
#include <mmsystem.h>
#include <setupapi.h>
// The HID headers declare their functions without C linkage for C++.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
#include <shlwapi.h>
#include <gdiplus.h>
#include <objbase.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>
// clang-format on

// Every constant a port declares under the system's name.
#define CORVANE_SYSTEM_CONSTANTS(X)                                                                      \
    X(WM_NULL) X(WM_DESTROY) X(WM_SETFOCUS) X(WM_CLOSE) X(WM_QUIT) X(WM_WINDOWPOSCHANGING) X(WM_COPYDATA) \
    X(WM_KEYDOWN) X(WM_KEYUP) X(WM_CHAR) X(WM_SYSKEYDOWN) X(WM_SYSKEYUP) X(WM_INITDIALOG) X(WM_COMMAND)   \
    X(WM_TIMER) X(WM_LBUTTONDOWN) X(WM_LBUTTONUP) X(WM_LBUTTONDBLCLK) X(WM_RBUTTONUP) X(WM_DEVICECHANGE) \
    X(WM_USER) X(WM_APP) X(MM_MIXM_CONTROL_CHANGE) X(IDOK) X(IDCANCEL) X(MK_LBUTTON) X(VK_BACK)          \
    X(VK_ESCAPE) X(VK_RETURN) X(VK_MULTIPLY) X(KEYEVENTF_KEYUP) X(NIF_MESSAGE) X(NIF_ICON) X(NIF_TIP)                 \
    X(MB_ICONWARNING) X(DBT_DEVICEARRIVAL) X(DBT_DEVICEQUERYREMOVE) X(DBT_DEVICEREMOVECOMPLETE)          \
    X(DBT_DEVTYP_DEVICEINTERFACE)

// The system's values, taken while the macros still exist. The standard
// icon ids wrap their numbers in a resource-name cast, which a constant
// cannot hold: for the moment of reading them the cast is left out.
namespace platform::win32::system_value {
#define CORVANE_RECORD(name) constexpr auto name##_ = name;
CORVANE_SYSTEM_CONSTANTS(CORVANE_RECORD)
#pragma push_macro("MAKEINTRESOURCE")
#undef MAKEINTRESOURCE
#define MAKEINTRESOURCE(id) (id)
CORVANE_RECORD(IDI_HAND)
CORVANE_RECORD(IDI_ASTERISK)
#pragma pop_macro("MAKEINTRESOURCE")
#undef CORVANE_RECORD
}  // namespace platform::win32::system_value

// Window messages, keys and dialog ids.
#undef WM_NULL
#undef WM_DESTROY
#undef WM_SETFOCUS
#undef WM_CLOSE
#undef WM_QUIT
#undef WM_WINDOWPOSCHANGING
#undef WM_COPYDATA
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_CHAR
#undef WM_SYSKEYDOWN
#undef WM_SYSKEYUP
#undef WM_INITDIALOG
#undef WM_COMMAND
#undef WM_TIMER
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_LBUTTONDBLCLK
#undef WM_RBUTTONUP
#undef WM_DEVICECHANGE
#undef WM_USER
#undef WM_APP
#undef MM_MIXM_CONTROL_CHANGE
#undef IDOK
#undef IDCANCEL
#undef MK_LBUTTON
#undef VK_BACK
#undef VK_ESCAPE
#undef VK_RETURN
#undef VK_MULTIPLY
#undef KEYEVENTF_KEYUP
// The shell.
#undef NIF_MESSAGE
#undef NIF_ICON
#undef NIF_TIP
#undef MB_ICONWARNING
#undef IDI_HAND
#undef IDI_ASTERISK
// Device changes.
#undef DBT_DEVICEARRIVAL
#undef DBT_DEVICEQUERYREMOVE
#undef DBT_DEVICEREMOVECOMPLETE
#undef DBT_DEVTYP_DEVICEINTERFACE
// Functions the ports name after the system's calls; backends call the ...W forms.
#undef CreateWindow
#undef RegisterWindowMessage
#undef SetWindowText
#undef FindWindow
#undef GetClassName
#undef PostMessage
#undef SendMessage
#undef MessageBox
#undef GetPrivateProfileInt
#undef GetPrivateProfileString
#undef WritePrivateProfileString
#undef RegisterDeviceNotification
#undef ReplaceFile

#define CORVANE_WINDOWS_API_TAKEN 1

#include "platform/desktop.h"
#include "platform/device_change.h"
#include "platform/hid_host.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/window_messages.h"

// Ours equal the system's; a name missing from the removals above fails here
// too, since it would still be a number.
#define CORVANE_CHECK(name)                                                                  \
    static_assert(static_cast<long long>(platform::name) ==                                  \
                      static_cast<long long>(platform::win32::system_value::name##_),       \
                  #name " differs from the system's value");
CORVANE_SYSTEM_CONSTANTS(CORVANE_CHECK)
CORVANE_CHECK(IDI_HAND)
CORVANE_CHECK(IDI_ASTERISK)
#undef CORVANE_CHECK
