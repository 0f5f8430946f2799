#include "settings_ui/page_templates.h"

namespace settings_ui {

namespace {

using platform::ControlKind;

constexpr ControlKind LABEL = ControlKind::Label;
constexpr ControlKind GROUPBOX = ControlKind::GroupBox;
constexpr ControlKind SLIDER = ControlKind::Slider;
constexpr ControlKind DROPLIST = ControlKind::DropList;
constexpr ControlKind CHECKBOX = ControlKind::CheckBox;
constexpr ControlKind PUSHBUTTON = ControlKind::PushButton;
constexpr ControlKind ICON = ControlKind::Icon;

struct PageRow {
    int resourceId;
    const wchar_t* title;
    int cx, cy;
};

struct ControlRow {
    int page;
    platform::ControlTemplate control;
};

#define SHEET_PAGE(id, title, cx, cy) PageRow{id, L##title, cx, cy},
#define SHEET_CONTROL(page, id, kind, text, x, y, cx, cy)
const PageRow kPages[] = {
#include "settings_pages.def"
};
#undef SHEET_PAGE
#undef SHEET_CONTROL

#define SHEET_PAGE(id, title, cx, cy)
#define SHEET_CONTROL(page, id, kind, text, x, y, cx, cy) ControlRow{page, {id, kind, L##text, x, y, cx, cy}},
const ControlRow kControls[] = {
#include "settings_pages.def"
};
#undef SHEET_CONTROL
#undef SHEET_PAGE

std::vector<platform::PageTemplate> Build() {
    std::vector<platform::PageTemplate> pages;
    for (const PageRow& row : kPages) {
        platform::PageTemplate page;
        page.resourceId = row.resourceId;
        page.title = row.title;
        page.cx = row.cx;
        page.cy = row.cy;
        for (const ControlRow& control : kControls) {
            if (control.page == row.resourceId) page.controls.push_back(control.control);
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace

const std::vector<platform::PageTemplate>& PageTemplates() {
    static const std::vector<platform::PageTemplate> pages = Build();
    return pages;
}

}  // namespace settings_ui
