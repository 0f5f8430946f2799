#pragma once
// The window class and style of each kind of settings-page control, read by
// the resource compiler for the generated dialog templates and by the sheet
// host for the templates it builds in memory, so that both make the same
// windows. Plain C preprocessor text: the resource compiler reads it too.
// A C++ file includes it after platform/win32/windows_api.h.

#ifdef RC_INVOKED
#include <windows.h>
#include <commctrl.h>
#endif

// A page: a child of the sheet, with the caption the tab shows until the
// program names it, in "MS Shell Dlg" at 8 points.
#define CORVANE_PAGE_STYLE (DS_SHELLFONT | WS_CHILD | WS_DISABLED | WS_CAPTION)
#define CORVANE_PAGE_FONT_POINTS 8
#define CORVANE_PAGE_FONT "MS Shell Dlg"

#define CORVANE_LABEL_CLASS "Static"
#define CORVANE_LABEL_STYLE (WS_CHILD | WS_VISIBLE | SS_LEFT)
#define CORVANE_GROUPBOX_CLASS "Button"
#define CORVANE_GROUPBOX_STYLE (WS_CHILD | WS_VISIBLE | BS_GROUPBOX)
#define CORVANE_SLIDER_CLASS "msctls_trackbar32"
#define CORVANE_SLIDER_STYLE (WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ)
// A slider at least this tall has room for a tick at every position (the
// Phone page's contrast, a handful of levels); the shorter volume sliders,
// a hundred positions wide, keep only the end ticks.
#define CORVANE_SLIDER_TICKS_MIN_HEIGHT 20
#define CORVANE_SLIDER_TICKS_STYLE (CORVANE_SLIDER_STYLE | TBS_AUTOTICKS)
#define CORVANE_DROPLIST_CLASS "ComboBox"
#define CORVANE_DROPLIST_STYLE (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST)
#define CORVANE_CHECKBOX_CLASS "Button"
#define CORVANE_CHECKBOX_STYLE (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX)
#define CORVANE_PUSHBUTTON_CLASS "Button"
#define CORVANE_PUSHBUTTON_STYLE (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON)
// The icon comes from the sheet's template once the page exists.
#define CORVANE_ICON_CLASS "Static"
#define CORVANE_ICON_STYLE (WS_CHILD | WS_VISIBLE | SS_ICON)
