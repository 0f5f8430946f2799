#include "platform/sim/sim_sheet_host.h"

#include <algorithm>

#include "platform/desktop.h"

namespace platform::sim {

namespace {
constexpr uint32_t WM_SHEET_ACTION = WM_APP + 0x100;
constexpr uint32_t WM_SHEET_REFRESH = WM_APP + 0x101;
// The nested loop's own quit; any other code is a quit meant for the loop
// around it, which gets it again once the sheet is closed.
constexpr int kSheetQuitCode = 0x5EE7;

int ButtonSlot(int button) {
    if (button == kSheetOkButton) return 0;
    if (button == kSheetCancelButton) return 1;
    if (button == kSheetApplyButton) return 2;
    return -1;
}

std::wstring StateText(const SimSheetHost::ControlState& c) {
    switch (c.control.kind) {
        case ControlKind::Slider:
            return std::to_wstring(c.position);
        case ControlKind::DropList:
            return std::to_wstring(c.selection);
        case ControlKind::CheckBox:
            return c.checked ? L"on" : L"off";
        default:
            return L"-";
    }
}

std::wstring ShownText(const SimSheetHost::ControlState& c) {
    if (c.control.kind != ControlKind::DropList) return c.text;
    const bool selected = c.selection >= 0 && static_cast<size_t>(c.selection) < c.items.size();
    return selected ? c.items[static_cast<size_t>(c.selection)] : std::wstring();
}

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }
}  // namespace

const char* ControlKindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "label";
        case ControlKind::GroupBox: return "group";
        case ControlKind::Slider: return "slider";
        case ControlKind::DropList: return "list";
        case ControlKind::CheckBox: return "check";
        case ControlKind::PushButton: return "button";
        case ControlKind::Icon: return "icon";
    }
    return "control";
}

int SimSheetHost::RunSheet(WindowHandle, const SheetTemplate& sheet, SheetEvents& events) {
    auto& desktop = CurrentDesktop();
    const WindowHandle window = desktop.CreateWindow(
        L"#32770", sheet.caption, [this](WindowHandle, uint32_t m, WPARAM, LPARAM) { return WindowProc(m); });
    if (!Begin(window, sheet, events)) {
        desktop.DestroyWindow(window);
        return IDCANCEL;
    }
    const int start = sheet.startPage >= 0 && static_cast<size_t>(sheet.startPage) < sheet.pages.size()
                          ? sheet.startPage : 0;
    Tell(L"open " + std::to_wstring(start));
    events.OnSheetInit(*this);
    Show(start);
    return Finish(desktop.RunMessageLoop());
}

bool SimSheetHost::Begin(WindowHandle window, const SheetTemplate& sheet, SheetEvents& events) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) return false;  // one modal sheet at a time
    Open o;
    o.window = window;
    o.events = &events;
    o.caption = sheet.caption;
    o.buttons[0] = L"OK";
    o.buttons[1] = L"Cancel";
    o.buttons[2] = L"&Apply";
    for (const PageTemplate& p : sheet.pages) {
        Page page;
        page.page = p;
        page.tab = p.title;
        o.pages.push_back(std::move(page));
    }
    open_ = std::move(o);
    return true;
}

int SimSheetHost::Finish(int loopCode) {
    int result = IDCANCEL;
    bool outerQuit = true;
    SheetEvents* events = nullptr;
    WindowHandle window;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        outerQuit = !open_->ended || loopCode != kSheetQuitCode;
        if (open_->ended) result = open_->result;
        events = open_->events;
        window = open_->window;
    }
    events->OnSheetClosed(*this);
    Tell(result == IDOK ? L"closed ok" : L"closed cancel");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_.reset();
        actions_.clear();
    }
    auto& desktop = CurrentDesktop();
    desktop.DestroyWindow(window);
    if (outerQuit) desktop.PostQuitMessage(loopCode);
    return result;
}

void SimSheetHost::SetListener(std::function<void(const std::wstring& line)> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

void SimSheetHost::Tell(const std::wstring& line) {
    std::function<void(const std::wstring&)> listener;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        listener = listener_;
    }
    if (listener) listener(line);
}

// ---- the program's side ----

SimSheetHost::ControlState* SimSheetHost::Find(int page, int id) {
    if (!open_ || page < 0 || static_cast<size_t>(page) >= open_->pages.size()) return nullptr;
    for (ControlState& c : open_->pages[static_cast<size_t>(page)].controls) {
        if (c.control.id == id) return &c;
    }
    return nullptr;
}

void SimSheetHost::Changed(int page) {
    if (!open_ || page != open_->current) return;
    open_->changed = true;
    if (open_->refreshPending) return;
    open_->refreshPending = true;
    CurrentDesktop().PostMessage(open_->window, WM_SHEET_REFRESH, 0, 0);
}

int SimSheetHost::PageCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ ? static_cast<int>(open_->pages.size()) : 0;
}

bool SimSheetHost::PageExists(int page) {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ && page >= 0 && static_cast<size_t>(page) < open_->pages.size() &&
           open_->pages[static_cast<size_t>(page)].created;
}

void SimSheetHost::SetCaption(const std::wstring& caption) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) open_->caption = caption;
}

void SimSheetHost::SetTabText(int page, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || page < 0 || static_cast<size_t>(page) >= open_->pages.size()) return;
    std::wstring& tab = open_->pages[static_cast<size_t>(page)].tab;
    if (tab == text) return;
    tab = text;
    Changed(page);
}

void SimSheetHost::SetSheetButtonText(int button, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int slot = ButtonSlot(button);
    if (open_ && slot >= 0) open_->buttons[slot] = text;
}

void SimSheetHost::SetControlText(int page, int id, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    ControlState* c = Find(page, id);
    if (!c || c->text == text) return;
    c->text = text;
    Changed(page);
}

std::wstring SimSheetHost::ControlText(int page, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const ControlState* c = Find(page, id);
    return c ? c->text : std::wstring();
}

void SimSheetHost::ShowControl(int page, int id, bool show) {
    std::lock_guard<std::mutex> lock(mutex_);
    ControlState* c = Find(page, id);
    if (!c || c->visible == show) return;
    c->visible = show;
    Changed(page);
}

void SimSheetHost::SetSliderRange(int page, int id, int minimum, int maximum) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ControlState* c = Find(page, id)) {
        c->minimum = minimum;
        c->maximum = maximum;
        c->position = std::clamp(c->position, minimum, maximum);
    }
}

void SimSheetHost::SetSliderPos(int page, int id, int position) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ControlState* c = Find(page, id)) c->position = std::clamp(position, c->minimum, c->maximum);
}

int SimSheetHost::SliderPos(int page, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const ControlState* c = Find(page, id);
    return c ? c->position : 0;
}

int SimSheetHost::InsertListItem(int page, int id, int index, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    ControlState* c = Find(page, id);
    if (!c || index < -1 || index > static_cast<int>(c->items.size())) return -1;
    if (index == -1) index = static_cast<int>(c->items.size());
    c->items.insert(c->items.begin() + index, text);
    if (c->selection >= index) ++c->selection;
    return index;
}

void SimSheetHost::SelectListItem(int page, int id, int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    ControlState* c = Find(page, id);
    if (!c) return;
    c->selection = index >= 0 && static_cast<size_t>(index) < c->items.size() ? index : -1;
}

int SimSheetHost::ListSelection(int page, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const ControlState* c = Find(page, id);
    return c ? c->selection : -1;
}

std::wstring SimSheetHost::ListItemText(int page, int id, int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    const ControlState* c = Find(page, id);
    if (!c || index < 0 || static_cast<size_t>(index) >= c->items.size()) return {};
    return c->items[static_cast<size_t>(index)];
}

void SimSheetHost::SetCheck(int page, int id, bool checked) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ControlState* c = Find(page, id)) c->checked = checked;
}

bool SimSheetHost::IsChecked(int page, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const ControlState* c = Find(page, id);
    return c && c->checked;
}

void SimSheetHost::SetModified(int page, bool modified) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_ && page >= 0 && static_cast<size_t>(page) < open_->pages.size()) {
        open_->pages[static_cast<size_t>(page)].modified = modified;
    }
}

void SimSheetHost::SetCurrentPage(int page) { Show(page); }

int SimSheetHost::CurrentPage() {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ ? open_->current : -1;
}

void SimSheetHost::PressCancel() {
    SheetEvents* events = nullptr;
    int pages = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_ || open_->ended) return;
        events = open_->events;
        pages = static_cast<int>(open_->pages.size());
    }
    for (int page = 0; page < pages; ++page) {
        if (PageExists(page)) events->OnPageCancel(*this, page);
    }
    End(IDCANCEL);
}

// ---- the sheet's thread ----

void SimSheetHost::Show(int page) {
    SheetEvents* events = nullptr;
    bool create = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_ || page < 0 || static_cast<size_t>(page) >= open_->pages.size()) return;
        Page& p = open_->pages[static_cast<size_t>(page)];
        if (!p.created) {
            p.created = true;
            for (const ControlTemplate& t : p.page.controls) {
                ControlState c;
                c.control = t;
                c.text = t.text;
                p.controls.push_back(std::move(c));
            }
            create = true;
        }
        open_->current = page;
        events = open_->events;
        Changed(page);
    }
    if (create) events->OnPageInit(*this, page);
}

void SimSheetHost::End(int result) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_ || open_->ended) return;
        open_->ended = true;
        open_->result = result;
    }
    CurrentDesktop().PostQuitMessage(kSheetQuitCode);
}

void SimSheetHost::ApplyPages() {
    SheetEvents* events = nullptr;
    int pages = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) return;
        events = open_->events;
        pages = static_cast<int>(open_->pages.size());
    }
    for (int page = 0; page < pages; ++page) {
        if (PageExists(page)) events->OnPageApply(*this, page);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) {
        for (Page& p : open_->pages) p.modified = false;
    }
}

void SimSheetHost::TellIfChanged() {
    std::vector<std::wstring> lines;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) return;
        open_->refreshPending = false;
        if (!open_->changed || open_->current < 0) return;
        open_->changed = false;
        const Page& p = open_->pages[static_cast<size_t>(open_->current)];
        lines.push_back(L"page " + std::to_wstring(open_->current) + L" \"" + p.tab + L"\"");
        for (const ControlState& c : p.controls) {
            if (!c.visible) continue;
            lines.push_back(L"control " + std::to_wstring(c.control.id) + L" " + Widen(ControlKindName(c.control.kind)) +
                            L" \"" + ShownText(c) + L"\" " + StateText(c));
        }
    }
    for (const std::wstring& line : lines) Tell(line);
}

LRESULT SimSheetHost::WindowProc(uint32_t message) {
    if (message == WM_SHEET_REFRESH) {
        TellIfChanged();
    } else if (message == WM_SHEET_ACTION) {
        std::function<void()> action;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (actions_.empty()) return 0;
            action = std::move(actions_.front());
            actions_.pop_front();
        }
        action();
    }
    return 0;
}

void SimSheetHost::Act(std::function<void()> action) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || open_->ended) return;
    actions_.push_back(std::move(action));
    CurrentDesktop().PostMessage(open_->window, WM_SHEET_ACTION, 0, 0);
}

// A user's change to a control of the shown page, then its notification.
void SimSheetHost::UserEvent(int id, ControlEvent event, const std::function<bool(ControlState&)>& change) {
    SheetEvents* events = nullptr;
    int page = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_ || open_->ended) return;
        page = open_->current;
        ControlState* c = Find(page, id);
        if (!c || !c->visible || !change(*c)) return;
        events = open_->events;
    }
    events->OnControlEvent(*this, page, id, event);
}

// ---- the user's side ----

void SimSheetHost::UserSelectTab(int page) {
    Act([this, page] { Show(page); });
}

void SimSheetHost::UserSlide(int id, int position) {
    Act([this, id, position] {
        UserEvent(id, ControlEvent::SliderReleased, [position](ControlState& c) {
            if (c.control.kind != ControlKind::Slider) return false;
            c.position = std::clamp(position, c.minimum, c.maximum);
            return true;
        });
    });
}

void SimSheetHost::UserChoose(int id, int index) {
    Act([this, id, index] {
        UserEvent(id, ControlEvent::SelectionChanged, [index](ControlState& c) {
            if (c.control.kind != ControlKind::DropList || index < 0 || static_cast<size_t>(index) >= c.items.size()) {
                return false;
            }
            c.selection = index;
            return true;
        });
    });
}

void SimSheetHost::UserCheck(int id, bool checked) {
    Act([this, id, checked] {
        UserEvent(id, ControlEvent::ButtonClicked, [checked](ControlState& c) {
            if (c.control.kind != ControlKind::CheckBox || c.checked == checked) return false;
            c.checked = checked;
            return true;
        });
    });
}

void SimSheetHost::UserClick(int id) {
    Act([this, id] {
        UserEvent(id, ControlEvent::ButtonClicked, [](ControlState& c) {
            if (c.control.kind == ControlKind::CheckBox) c.checked = !c.checked;
            return c.control.kind == ControlKind::CheckBox || c.control.kind == ControlKind::PushButton;
        });
    });
}

void SimSheetHost::UserPressOk() {
    Act([this] {
        ApplyPages();
        End(IDOK);
    });
}

void SimSheetHost::UserPressApply() {
    Act([this] {
        if (ApplyEnabled()) ApplyPages();
    });
}

void SimSheetHost::UserPressCancel() {
    Act([this] { PressCancel(); });
}

// ---- what the sheet shows ----

bool SimSheetHost::IsOpen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_.has_value();
}

int SimSheetHost::ShownPage() { return CurrentPage(); }

bool SimSheetHost::ApplyEnabled() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return false;
    for (const Page& p : open_->pages) {
        if (p.modified) return true;
    }
    return false;
}

std::wstring SimSheetHost::Caption() {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ ? open_->caption : std::wstring();
}

std::wstring SimSheetHost::TabText(int page) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || page < 0 || static_cast<size_t>(page) >= open_->pages.size()) return {};
    return open_->pages[static_cast<size_t>(page)].tab;
}

std::wstring SimSheetHost::SheetButtonText(int button) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int slot = ButtonSlot(button);
    return open_ && slot >= 0 ? open_->buttons[slot] : std::wstring();
}

std::optional<SimSheetHost::ControlState> SimSheetHost::Control(int page, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const ControlState* c = Find(page, id);
    if (!c) return std::nullopt;
    return *c;
}

}  // namespace platform::sim
