// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/testing/sheet_user.h"

#include "platform/property_sheet.h"
#include "platform/win32/window_handles.h"

namespace platform::win32::testing {

namespace {

struct SheetSearch {
    HWND owner = nullptr;  // any owner when null
    HWND found = nullptr;
};

BOOL CALLBACK FindSheet(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<SheetSearch*>(search);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) != L"#32770" || (s.owner && GetWindow(window, GW_OWNER) != s.owner)) return TRUE;
    if (!SendMessageW(window, PSM_GETTABCONTROL, 0, 0)) return TRUE;
    s.found = window;
    return FALSE;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// A combo box hands its scroll bar styles to its drop-down list.
LONG_PTR ListStyle(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(combo, &info) && info.hwndList ? GetWindowLongPtrW(info.hwndList, GWL_STYLE) : 0;
}

std::wstring Words(HWND control) {
    const std::wstring windowClass = ClassOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    std::wstring words = windowClass;
    const auto low = style & 0xF;
    if (windowClass == L"Button") {
        if (low == BS_GROUPBOX) words += L" groupbox";
        if (low == BS_AUTOCHECKBOX) words += L" autocheckbox";
        if (low == BS_PUSHBUTTON) words += L" pushbutton";
    } else if (windowClass == L"Static") {
        words += (style & SS_TYPEMASK) == SS_ICON ? L" icon" : (style & SS_TYPEMASK) == SS_LEFT ? L" left" : L" other";
    } else if (windowClass == L"ComboBox") {
        if ((style & 3) == CBS_DROPDOWNLIST) words += L" dropdownlist";
        if (ListStyle(control) & WS_VSCROLL) words += L" vscroll";
    } else if (windowClass == L"msctls_trackbar32") {
        if ((style & TBS_VERT) == 0) words += L" horizontal";
        if (style & TBS_AUTOTICKS) words += L" ticks";
    }
    if (style & WS_TABSTOP) words += L" tabstop";
    return words;
}

HWND ShownPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

}  // namespace

SheetUser::SheetUser() {
    SheetSearch search;
    EnumThreadWindows(GetCurrentThreadId(), FindSheet, reinterpret_cast<LPARAM>(&search));
    sheet_ = search.found ? ToHandle(search.found) : WindowHandle{};
}

SheetUser SheetUser::OwnedBy(WindowHandle owner) {
    SheetSearch search{ToHwnd(owner), nullptr};
    EnumWindows(FindSheet, reinterpret_cast<LPARAM>(&search));
    return SheetUser(search.found ? ToHandle(search.found) : WindowHandle{});
}

bool SheetUser::ProgramHasDialog(int id) {
    return FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), RT_DIALOG) != nullptr;
}

WindowHandle SheetUser::Owner() const {
    HWND owner = GetWindow(ToHwnd(sheet_), GW_OWNER);
    return owner ? ToHandle(owner) : WindowHandle{};
}

std::wstring SheetUser::Caption() const { return TextOf(ToHwnd(sheet_)); }

bool SheetUser::HasIcon() const {
    HWND sheet = ToHwnd(sheet_);
    return SendMessageW(sheet, WM_GETICON, ICON_BIG, 0) || SendMessageW(sheet, WM_GETICON, ICON_SMALL, 0) ||
           GetClassLongPtrW(sheet, GCLP_HICON);
}

int SheetUser::TabCount() const {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(ToHwnd(sheet_), PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
}

std::wstring SheetUser::TabText(int page) const {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(ToHwnd(sheet_), PSM_GETTABCONTROL, 0, 0));
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    if (!SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item))) return {};
    return item.pszText ? item.pszText : L"";
}

std::wstring SheetUser::ButtonText(int button) const { return TextOf(GetDlgItem(ToHwnd(sheet_), button)); }

bool SheetUser::ButtonEnabled(int button) const {
    HWND item = GetDlgItem(ToHwnd(sheet_), button);
    return item && IsWindowEnabled(item);
}

int SheetUser::ShownTab() const {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(ToHwnd(sheet_), PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
}

std::wstring SheetUser::Describe(int id) const {
    HWND control = GetDlgItem(ShownPage(ToHwnd(sheet_)), id);
    return control ? Words(control) : std::wstring();
}

std::wstring SheetUser::Layout(int id) const {
    HWND page = ShownPage(ToHwnd(sheet_));
    HWND control = GetDlgItem(page, id);
    if (!control) return {};
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
    return Words(control) + L" at " + std::to_wstring(place.left) + L"," + std::to_wstring(place.top) + L" " +
           std::to_wstring(place.right - place.left) + L"x" + std::to_wstring(place.bottom - place.top);
}

std::wstring SheetUser::Text(int id) const { return TextOf(GetDlgItem(ShownPage(ToHwnd(sheet_)), id)); }

bool SheetUser::Visible(int id) const {
    HWND control = GetDlgItem(ShownPage(ToHwnd(sheet_)), id);
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

int SheetUser::SliderMin(int id) const {
    return static_cast<int>(SendDlgItemMessageW(ShownPage(ToHwnd(sheet_)), id, TBM_GETRANGEMIN, 0, 0));
}

int SheetUser::SliderMax(int id) const {
    return static_cast<int>(SendDlgItemMessageW(ShownPage(ToHwnd(sheet_)), id, TBM_GETRANGEMAX, 0, 0));
}

int SheetUser::SliderPos(int id) const {
    return static_cast<int>(SendDlgItemMessageW(ShownPage(ToHwnd(sheet_)), id, TBM_GETPOS, 0, 0));
}

int SheetUser::ListCount(int id) const {
    return static_cast<int>(SendDlgItemMessageW(ShownPage(ToHwnd(sheet_)), id, CB_GETCOUNT, 0, 0));
}

bool SheetUser::Checked(int id) const {
    return SendDlgItemMessageW(ShownPage(ToHwnd(sheet_)), id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool SheetUser::ShowsIcon() const {
    HWND page = ShownPage(ToHwnd(sheet_));
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const bool icon = (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ClassOf(c) == L"Static";
        if (icon && SendMessageW(c, STM_GETICON, 0, 0)) return true;
    }
    return false;
}

void SheetUser::SelectTab(int page) { SendMessageW(ToHwnd(sheet_), PSM_SETCURSEL, static_cast<WPARAM>(page), 0); }

void SheetUser::Slide(int id, int position) {
    HWND page = ShownPage(ToHwnd(sheet_));
    HWND slider = GetDlgItem(page, id);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    const auto at = static_cast<WORD>(position);
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, at), reinterpret_cast<LPARAM>(slider));
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, at), reinterpret_cast<LPARAM>(slider));
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
}

void SheetUser::StepSlider(int id) {
    HWND slider = GetDlgItem(ShownPage(ToHwnd(sheet_)), id);
    // Key messages straight to the control: it moves and reports as it does
    // for a key press, without the keyboard focus that a headless session
    // may not give.
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(slider, WM_KEYUP, VK_RIGHT, 0);
}

void SheetUser::Choose(int id, int index) {
    HWND page = ShownPage(ToHwnd(sheet_));
    HWND list = GetDlgItem(page, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void SheetUser::Click(int id) { SendDlgItemMessageW(ShownPage(ToHwnd(sheet_)), id, BM_CLICK, 0, 0); }

void SheetUser::Press(int button) {
    // Wine's sheet presses Apply on request even while the button is
    // disabled, which no user can do.
    if (!ButtonEnabled(button)) return;
    const WPARAM which = button == kSheetOkButton      ? PSBTN_OK
                         : button == kSheetApplyButton ? PSBTN_APPLYNOW
                                                       : PSBTN_CANCEL;
    SendMessageW(ToHwnd(sheet_), PSM_PRESSBUTTON, which, 0);
}

}  // namespace platform::win32::testing
