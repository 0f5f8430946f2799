#pragma once
// Window message numbers and related constants, with their documented values.
//
// The system's headers define these names as macros. A Win32 backend takes
// those headers only through platform/win32/windows_api.h, which records the
// system's values, removes the macros and checks that ours are equal; taking
// <windows.h> directly would turn the names below into numbers.
#include "platform/system_names_guard.h"

#include <cstdint>
#include <string>

namespace platform {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_WINDOWPOSCHANGING = 0x0046;
constexpr uint32_t WM_COPYDATA = 0x004A;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_DEVICECHANGE = 0x0219;
constexpr uint32_t WM_USER = 0x0400;
constexpr uint32_t WM_APP = 0x8000;
// A mixer control changed (sent to the window a mixer was opened with).
constexpr uint32_t MM_MIXM_CONTROL_CHANGE = 0x3D1;

// Dialog results and the command ids of a dialog's two standard buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr uint8_t VK_BACK = 0x08;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_MULTIPLY = 0x6A;
constexpr uint32_t KEYEVENTF_KEYUP = 0x0002;

// The name of a message number, for logs and transcripts ("0x1234" when
// it has none here).
std::string MessageName(uint32_t message);

}  // namespace platform
