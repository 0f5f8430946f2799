#pragma once
// The simulated property sheet: pages and controls kept in memory, run in a
// nested message loop of the thread that opens it, and driven by a user
// (the script) whose actions reach it as messages on that thread.

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/property_sheet.h"

namespace platform::sim {

class SimSheetHost final : public SheetHost, private SheetView {
public:
    // What a control shows.
    struct ControlState {
        ControlTemplate control;
        std::wstring text;
        bool visible = true;
        int minimum = 0;
        int maximum = 100;
        int position = 0;
        std::vector<std::wstring> items;
        int selection = -1;
        bool checked = false;
    };

    int RunSheet(WindowHandle owner, const SheetTemplate& sheet, SheetEvents& events) override;

    // Sees what the user sees, one line at a time: "open <page>", "page <index>
    // "<title>"", "control <id> <kind> "<text>" <state>", "closed ok|cancel".
    void SetListener(std::function<void(const std::wstring& line)> listener);

    // The user's actions, from any thread; they act in order on the sheet's
    // thread. Without an open sheet, or on a control the shown page does not
    // have, they do nothing.
    void UserSelectTab(int page);
    void UserSlide(int id, int position);  // moved there, then released
    void UserChoose(int id, int index);
    void UserCheck(int id, bool checked);  // a click when the state differs
    void UserClick(int id);
    void UserPressOk();
    void UserPressApply();  // only while Apply is enabled
    void UserPressCancel();

    // What the sheet shows now (tests).
    bool IsOpen();
    int ShownPage();
    bool ApplyEnabled();
    std::wstring Caption();
    std::wstring TabText(int page);
    std::wstring SheetButtonText(int button);
    // nullopt when the page has not been created or has no such control.
    std::optional<ControlState> Control(int page, int id);

private:
    struct Page {
        PageTemplate page;
        std::wstring tab;
        bool created = false;
        bool modified = false;
        std::vector<ControlState> controls;
    };
    struct Open {
        WindowHandle window;
        SheetEvents* events = nullptr;
        std::wstring caption;
        std::wstring buttons[3];
        int current = -1;
        std::vector<Page> pages;
        bool ended = false;
        int result = 0;
        bool changed = false;         // the shown page's look changed since it was last told
        bool refreshPending = false;  // a refresh message is on its way
    };

    // SheetView, on the sheet's thread.
    int PageCount() override;
    bool PageExists(int page) override;
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

    // False when a sheet is already open.
    bool Begin(WindowHandle window, const SheetTemplate& sheet, SheetEvents& events);
    // After the sheet's loop ended with `loopCode`: closes it; a quit meant
    // for the loop around it is passed on.
    int Finish(int loopCode);
    // With the mutex held.
    ControlState* Find(int page, int id);
    void Changed(int page);
    // On the sheet's thread, without the mutex.
    LRESULT WindowProc(uint32_t message);
    void Show(int page);
    void UserEvent(int id, ControlEvent event, const std::function<bool(ControlState&)>& change);
    void ApplyPages();
    void End(int result);
    void TellIfChanged();
    void Tell(const std::wstring& line);
    void Act(std::function<void()> action);

    std::mutex mutex_;
    std::optional<Open> open_;
    std::deque<std::function<void()>> actions_;
    std::function<void(const std::wstring&)> listener_;
};

// The name the transcript gives a control kind ("label", "slider", ...).
const char* ControlKindName(ControlKind kind);

}  // namespace platform::sim
