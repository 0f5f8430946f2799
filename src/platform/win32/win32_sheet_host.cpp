// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/win32_sheet_host.h"

#include <algorithm>

#include "platform/win32/page_dialog_template.h"
#include "platform/win32/port_icon.h"
#include "platform/win32/window_handles.h"

namespace platform::win32 {

namespace {

const wchar_t kSheetProperty[] = L"Corvane.Sheet";

class OpenSheet;

struct PageSlot {
    OpenSheet* sheet = nullptr;
    int index = 0;
    HWND window = nullptr;  // set when the page is created
};

// The sheet being opened on this thread: the system's sheet callback carries
// no pointer of ours.
thread_local OpenSheet* t_opening = nullptr;

INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The open sheet as the program drives it, on the thread that runs it.
class OpenSheet final : public SheetView {
public:
    OpenSheet(const SheetTemplate& sheet, SheetEvents& events, Win32SheetHost::PageSource source)
        : template_(sheet), events_(events), source_(source) {}

    int Run(HWND owner);

    void SheetCreated(HWND sheet);
    void PageCreated(PageSlot& slot, HWND window);
    INT_PTR PageMessage(PageSlot& slot, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SheetMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int PageCount() override { return static_cast<int>(slots_.size()); }
    bool PageExists(int page) override { return PageWindow(page) != nullptr; }
    void SetCaption(const std::wstring& caption) override;
    void SetTabText(int page, const std::wstring& text) override;
    void SetSheetButtonText(int button, const std::wstring& text) override;
    void SetControlText(int page, int id, const std::wstring& text) override;
    std::wstring ControlText(int page, int id) override;
    void ShowControl(int page, int id, bool show) override;
    void SetSliderRange(int page, int id, int minimum, int maximum) override;
    void SetSliderPos(int page, int id, int position) override;
    int SliderPos(int page, int id) override;
    int InsertListItem(int page, int id, int index, const std::wstring& text) override;
    void SelectListItem(int page, int id, int index) override;
    int ListSelection(int page, int id) override;
    std::wstring ListItemText(int page, int id, int index) override;
    void SetCheck(int page, int id, bool checked) override;
    bool IsChecked(int page, int id) override;
    void SetModified(int page, bool modified) override;
    void SetCurrentPage(int page) override;
    int CurrentPage() override;
    void PressCancel() override;

private:
    std::vector<PROPSHEETPAGEW> DescribePages();
    PROPSHEETHEADERW DescribeSheet(HWND owner, const std::vector<PROPSHEETPAGEW>& pages);
    HWND PageWindow(int page) const;
    // The control's window when the shown page has it and it is of `kind`.
    HWND Control(int page, int id, ControlKind kind) const;
    HWND Control(int page, int id) const;
    const ControlTemplate* Find(int page, int id) const;
    bool ControlCommand(const PageSlot& slot, int id, int code);
    void SliderScroll(const PageSlot& slot, HWND slider, int code);
    bool Notify(const PageSlot& slot, HWND window, const NMHDR& header, LPARAM lParam);
    bool FirstShownPage(const PageSlot& slot) const;
    void ApplyPages();
    void CancelPages();
    void TellClosed();

    const SheetTemplate& template_;
    SheetEvents& events_;
    Win32SheetHost::PageSource source_;
    std::vector<PageSlot> slots_;
    std::vector<std::vector<uint16_t>> inMemory_;
    HWND sheet_ = nullptr;
    WNDPROC sheetProc_ = nullptr;
    bool closedTold_ = false;
    bool thumbReported_ = false;
    int result_ = IDCANCEL;
};

int OpenSheet::Run(HWND owner) {
    slots_.resize(template_.pages.size());
    for (size_t n = 0; n < slots_.size(); ++n) slots_[n] = PageSlot{this, static_cast<int>(n), nullptr};
    const std::vector<PROPSHEETPAGEW> pages = DescribePages();
    PROPSHEETHEADERW header = DescribeSheet(owner, pages);
    t_opening = this;
    // The system's answer tells whether changes were saved, not which
    // button ended the sheet; the pages' notifications tell that.
    PropertySheetW(&header);
    t_opening = nullptr;
    TellClosed();
    return result_;
}

std::vector<PROPSHEETPAGEW> OpenSheet::DescribePages() {
    HINSTANCE module = GetModuleHandleW(nullptr);
    std::vector<PROPSHEETPAGEW> pages(template_.pages.size());
    inMemory_.resize(template_.pages.size());
    for (size_t n = 0; n < pages.size(); ++n) {
        const PageTemplate& page = template_.pages[n];
        PROPSHEETPAGEW& p = pages[n];
        p.dwSize = sizeof(p);
        p.dwFlags = PSP_USETITLE;
        p.hInstance = module;
        p.pszTitle = page.title.c_str();
        p.pfnDlgProc = PageProc;
        p.lParam = reinterpret_cast<LPARAM>(&slots_[n]);
        const bool resource = source_ == Win32SheetHost::PageSource::ResourceWhenPresent &&
                              FindResourceW(module, MAKEINTRESOURCEW(page.resourceId), RT_DIALOG) != nullptr;
        if (resource) {
            p.pszTemplate = MAKEINTRESOURCEW(page.resourceId);
        } else {
            inMemory_[n] = BuildPageDialogTemplate(page);
            p.dwFlags |= PSP_DLGINDIRECT;
            p.pResource = reinterpret_cast<const DLGTEMPLATE*>(inMemory_[n].data());
        }
    }
    return pages;
}

PROPSHEETHEADERW OpenSheet::DescribeSheet(HWND owner, const std::vector<PROPSHEETPAGEW>& pages) {
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = template_.caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    const bool validStart = template_.startPage >= 0 && static_cast<size_t>(template_.startPage) < pages.size();
    header.nStartPage = validStart ? static_cast<UINT>(template_.startPage) : 0;
    header.ppsp = pages.data();
    header.pfnCallback = SheetCallback;
    if (template_.icon.kind == IconRef::Kind::Resource) {
        header.dwFlags |= PSH_USEICONID;
        header.pszIcon = MAKEINTRESOURCEW(template_.icon.id);
    } else if (template_.icon.kind == IconRef::Kind::Standard) {
        header.dwFlags |= PSH_USEHICON;
        header.hIcon = LoadPortIcon(template_.icon);
    }
    return header;
}

// The sheet exists: seen by the system's callback, or by the first page
// created, whichever comes first. The program hears of it before any page.
void OpenSheet::SheetCreated(HWND sheet) {
    if (sheet_) return;
    sheet_ = sheet;
    // Watched for its end, so that the program hears of it while the pages
    // still answer.
    SetPropW(sheet, kSheetProperty, this);
    sheetProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetProc)));
    events_.OnSheetInit(*this);
}

LRESULT OpenSheet::SheetMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = sheetProc_;
    if (message == WM_DESTROY) {
        TellClosed();
        RemovePropW(window, kSheetProperty);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void OpenSheet::TellClosed() {
    if (closedTold_) return;
    closedTold_ = true;
    events_.OnSheetClosed(*this);
}

void OpenSheet::PageCreated(PageSlot& slot, HWND window) {
    slot.window = window;
    SheetCreated(::GetParent(window));
    const HICON icon = LoadPortIcon(template_.icon);
    for (HWND c = GetWindow(window, GW_CHILD); c && icon; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            SendMessageW(c, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
    }
    events_.OnPageInit(*this, slot.index);
}

INT_PTR OpenSheet::PageMessage(PageSlot& slot, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            return ControlCommand(slot, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_HSCROLL:
            SliderScroll(slot, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            return Notify(slot, slot.window, *reinterpret_cast<const NMHDR*>(lParam), lParam) ? TRUE : FALSE;
        default:
            return FALSE;
    }
}

bool OpenSheet::ControlCommand(const PageSlot& slot, int id, int code) {
    const ControlTemplate* control = Find(slot.index, id);
    if (!control) return false;
    const bool listChosen = control->kind == ControlKind::DropList && code == CBN_SELCHANGE;
    const bool clicked = (control->kind == ControlKind::CheckBox || control->kind == ControlKind::PushButton) &&
                         code == BN_CLICKED;
    if (listChosen) events_.OnControlEvent(*this, slot.index, id, ControlEvent::SelectionChanged);
    if (clicked) events_.OnControlEvent(*this, slot.index, id, ControlEvent::ButtonClicked);
    return listChosen || clicked;
}

// A drag of the thumb ends with its final position and then the end of the
// tracking; keys and clicks beside the thumb end with the latter alone. Either
// way the program hears of one release.
void OpenSheet::SliderScroll(const PageSlot& slot, HWND slider, int code) {
    const int id = GetDlgCtrlID(slider);
    if (!Control(slot.index, id, ControlKind::Slider)) return;
    const bool released = code == TB_THUMBPOSITION || (code == TB_ENDTRACK && !thumbReported_);
    thumbReported_ = code == TB_THUMBPOSITION;
    if (released) events_.OnControlEvent(*this, slot.index, id, ControlEvent::SliderReleased);
}

// The system tells every page that exists of OK, Apply and Cancel, one after
// another; the first of them tells the program for all of them, in page
// order, once a press.
bool OpenSheet::Notify(const PageSlot& slot, HWND window, const NMHDR& header, LPARAM lParam) {
    if (header.code == static_cast<UINT>(PSN_APPLY)) {
        if (FirstShownPage(slot)) {
            if (reinterpret_cast<const PSHNOTIFY*>(lParam)->lParam) result_ = IDOK;
            ApplyPages();
        }
        SetWindowLongPtrW(window, DWLP_MSGRESULT, PSNRET_NOERROR);
        return true;
    }
    if (header.code == static_cast<UINT>(PSN_RESET)) {
        if (FirstShownPage(slot)) CancelPages();
        return true;
    }
    return false;
}

bool OpenSheet::FirstShownPage(const PageSlot& slot) const {
    for (const PageSlot& s : slots_) {
        if (s.window) return &s == &slot;
    }
    return false;
}

// Once every page has taken the press, the system clears the pages' marks
// and disables Apply itself.
void OpenSheet::ApplyPages() {
    for (const PageSlot& s : slots_) {
        if (s.window) events_.OnPageApply(*this, s.index);
    }
}

void OpenSheet::CancelPages() {
    result_ = IDCANCEL;
    for (const PageSlot& s : slots_) {
        if (s.window) events_.OnPageCancel(*this, s.index);
    }
}

HWND OpenSheet::PageWindow(int page) const {
    if (page < 0 || static_cast<size_t>(page) >= slots_.size()) return nullptr;
    return slots_[static_cast<size_t>(page)].window;
}

const ControlTemplate* OpenSheet::Find(int page, int id) const {
    if (!PageWindow(page)) return nullptr;
    const auto& controls = template_.pages[static_cast<size_t>(page)].controls;
    const auto found =
        std::find_if(controls.begin(), controls.end(), [id](const ControlTemplate& c) { return c.id == id; });
    return found == controls.end() ? nullptr : &*found;
}

HWND OpenSheet::Control(int page, int id) const {
    return Find(page, id) ? GetDlgItem(PageWindow(page), id) : nullptr;
}

HWND OpenSheet::Control(int page, int id, ControlKind kind) const {
    const ControlTemplate* control = Find(page, id);
    return control && control->kind == kind ? GetDlgItem(PageWindow(page), id) : nullptr;
}

void OpenSheet::SetCaption(const std::wstring& caption) {
    if (sheet_) SendMessageW(sheet_, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(caption.c_str()));
}

void OpenSheet::SetTabText(int page, const std::wstring& text) {
    if (!sheet_ || page < 0 || page >= PageCount()) return;
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
    std::wstring copy = text;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = copy.data();
    SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
}

void OpenSheet::SetSheetButtonText(int button, const std::wstring& text) {
    const bool known = button == kSheetOkButton || button == kSheetCancelButton || button == kSheetApplyButton;
    if (sheet_ && known) SetWindowTextW(GetDlgItem(sheet_, button), text.c_str());
}

void OpenSheet::SetControlText(int page, int id, const std::wstring& text) {
    const ControlTemplate* control = Find(page, id);
    // An icon's text would name the picture to load.
    if (control && control->kind != ControlKind::Icon) SetWindowTextW(Control(page, id), text.c_str());
}

std::wstring OpenSheet::ControlText(int page, int id) {
    HWND control = Control(page, id);
    return control ? WindowText(control) : std::wstring();
}

void OpenSheet::ShowControl(int page, int id, bool show) {
    if (HWND control = Control(page, id)) ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void OpenSheet::SetSliderRange(int page, int id, int minimum, int maximum) {
    HWND slider = Control(page, id, ControlKind::Slider);
    if (!slider) return;
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, maximum);
}

void OpenSheet::SetSliderPos(int page, int id, int position) {
    if (HWND slider = Control(page, id, ControlKind::Slider)) SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

int OpenSheet::SliderPos(int page, int id) {
    HWND slider = Control(page, id, ControlKind::Slider);
    return slider ? static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)) : 0;
}

int OpenSheet::InsertListItem(int page, int id, int index, const std::wstring& text) {
    HWND list = Control(page, id, ControlKind::DropList);
    if (!list || index < -1) return -1;
    const LRESULT at =
        SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    return at >= 0 ? static_cast<int>(at) : -1;
}

void OpenSheet::SelectListItem(int page, int id, int index) {
    HWND list = Control(page, id, ControlKind::DropList);
    if (!list) return;
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    const bool inRange = index >= 0 && index < count;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(inRange ? index : -1), 0);
}

int OpenSheet::ListSelection(int page, int id) {
    HWND list = Control(page, id, ControlKind::DropList);
    return list ? static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)) : -1;
}

std::wstring OpenSheet::ListItemText(int page, int id, int index) {
    HWND list = Control(page, id, ControlKind::DropList);
    if (!list || index < 0) return {};
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied >= 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void OpenSheet::SetCheck(int page, int id, bool checked) {
    if (HWND box = Control(page, id, ControlKind::CheckBox)) {
        SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool OpenSheet::IsChecked(int page, int id) {
    HWND box = Control(page, id, ControlKind::CheckBox);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OpenSheet::SetModified(int page, bool modified) {
    if (HWND window = PageWindow(page); window && sheet_) {
        SendMessageW(sheet_, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(window), 0);
    }
}

void OpenSheet::SetCurrentPage(int page) {
    if (sheet_ && page >= 0 && page < PageCount()) SendMessageW(sheet_, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
}

int OpenSheet::CurrentPage() {
    if (!sheet_) return -1;
    HWND shown = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (const PageSlot& s : slots_) {
        if (shown && s.window == shown) return s.index;
    }
    return -1;
}

void OpenSheet::PressCancel() {
    if (sheet_ && !closedTold_) SendMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* slot = reinterpret_cast<PageSlot*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(slot));
        slot->sheet->PageCreated(*slot, window);
    }
    auto* slot = reinterpret_cast<PageSlot*>(GetWindowLongPtrW(window, DWLP_USER));
    return slot ? slot->sheet->PageMessage(*slot, message, wParam, lParam) : FALSE;
}

LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* sheet = static_cast<OpenSheet*>(GetPropW(window, kSheetProperty));
    if (!sheet) return DefWindowProcW(window, message, wParam, lParam);
    return sheet->SheetMessage(window, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND window, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && t_opening) t_opening->SheetCreated(window);
    return 0;
}

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES;
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}

}  // namespace

Win32SheetHost::Win32SheetHost(PageSource source) : source_(source) {}

int Win32SheetHost::RunSheet(WindowHandle owner, const SheetTemplate& sheet, SheetEvents& events) {
    if (sheet.pages.empty() || running_.exchange(true)) return IDCANCEL;  // one modal sheet at a time
    InitCommonControlsOnce();
    OpenSheet open(sheet, events, source_);
    const int result = open.Run(owner ? ToHwnd(owner) : nullptr);
    running_ = false;
    return result;
}

}  // namespace platform::win32
