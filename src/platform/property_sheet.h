#pragma once
// Property-sheet port: a modal sheet of pages built from templates, with
// controls addressed by page and control id, their notifications, and the
// sheet's OK, Cancel and Apply buttons.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

enum class ControlKind { Label, GroupBox, Slider, DropList, CheckBox, PushButton, Icon };

// One control of a page template; positions and sizes in dialog units.
struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::wstring text;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct PageTemplate {
    int resourceId = 0;
    std::wstring title;  // the tab's text until the program sets another
    int cx = 0;
    int cy = 0;
    std::vector<ControlTemplate> controls;
};

struct SheetTemplate {
    std::wstring caption;
    IconRef icon;
    int startPage = 0;
    std::vector<PageTemplate> pages;
};

// The sheet's own buttons.
constexpr int kSheetOkButton = 1;
constexpr int kSheetCancelButton = 2;
constexpr int kSheetApplyButton = 12321;

enum class ControlEvent { SelectionChanged, SliderReleased, ButtonClicked };

// The open sheet, as the program drives it (on the thread that runs it).
// A page that has not been shown yet has no controls: calls on it do
// nothing and queries give 0, -1 or an empty text.
class SheetView {
public:
    virtual ~SheetView() = default;
    virtual int PageCount() = 0;
    virtual bool PageExists(int page) = 0;
    virtual void SetCaption(const std::wstring& caption) = 0;
    virtual void SetTabText(int page, const std::wstring& text) = 0;
    // The sheet's buttons (kSheetOkButton, ...).
    virtual void SetSheetButtonText(int button, const std::wstring& text) = 0;

    virtual void SetControlText(int page, int id, const std::wstring& text) = 0;
    virtual std::wstring ControlText(int page, int id) = 0;
    virtual void ShowControl(int page, int id, bool show) = 0;
    virtual void SetSliderRange(int page, int id, int minimum, int maximum) = 0;
    virtual void SetSliderPos(int page, int id, int position) = 0;
    virtual int SliderPos(int page, int id) = 0;
    // Inserts at `index` (the entries after it move down); returns the index
    // or -1.
    virtual int InsertListItem(int page, int id, int index, const std::wstring& text) = 0;
    virtual void SelectListItem(int page, int id, int index) = 0;
    virtual int ListSelection(int page, int id) = 0;  // -1: none
    virtual std::wstring ListItemText(int page, int id, int index) = 0;
    virtual void SetCheck(int page, int id, bool checked) = 0;
    virtual bool IsChecked(int page, int id) = 0;

    // The page's modified mark: Apply is enabled while any page has it.
    virtual void SetModified(int page, bool modified) = 0;
    // Shows another page (created first if it never was).
    virtual void SetCurrentPage(int page) = 0;
    virtual int CurrentPage() = 0;
    // Ends the sheet as its Cancel button does.
    virtual void PressCancel() = 0;
};

// What the sheet calls back, on the thread that runs it.
class SheetEvents {
public:
    virtual ~SheetEvents() = default;
    virtual void OnSheetInit(SheetView& sheet) = 0;
    // The page was shown for the first time; its controls now exist.
    virtual void OnPageInit(SheetView& sheet, int page) = 0;
    virtual void OnControlEvent(SheetView& sheet, int page, int id, ControlEvent event) = 0;
    // OK or Apply: called for every page shown so far, in page order.
    virtual void OnPageApply(SheetView& sheet, int page) = 0;
    // Cancel: called for every page shown so far, in page order.
    virtual void OnPageCancel(SheetView& sheet, int page) = 0;
    // The sheet is closing; the view goes with it after this call.
    virtual void OnSheetClosed(SheetView& sheet) = 0;
};

class SheetHost {
public:
    virtual ~SheetHost() = default;
    // Runs the sheet modally on the calling thread (its other windows keep
    // their messages). Returns IDOK or IDCANCEL.
    virtual int RunSheet(WindowHandle owner, const SheetTemplate& sheet, SheetEvents& events) = 0;
};

// The process-wide sheet host (platform/backends.h installs it).
SheetHost& CurrentSheetHost();

}  // namespace platform
