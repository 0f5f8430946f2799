// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/page_dialog_template.h"

#include "platform/win32/sheet_control_styles.h"

namespace platform::win32 {

namespace {

// Appends to a template held as 16-bit words.
class TemplateWriter {
public:
    void Word(uint32_t value) { words_.push_back(static_cast<uint16_t>(value)); }
    void Dword(uint32_t value) {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void AlignToDword() {
        if (words_.size() % 2 != 0) Word(0);
    }
    std::vector<uint16_t> Take() { return std::move(words_); }

private:
    std::vector<uint16_t> words_;
};

void WriteHeader(TemplateWriter& out, const PageTemplate& page) {
    out.Word(1);       // extended template, version 1
    out.Word(0xFFFF);  // its signature
    out.Dword(0);      // help id
    out.Dword(0);      // extended style
    out.Dword(CORVANE_PAGE_STYLE);
    out.Word(static_cast<uint32_t>(page.controls.size()));
    out.Word(0);  // x
    out.Word(0);  // y
    out.Word(static_cast<uint32_t>(page.cx));
    out.Word(static_cast<uint32_t>(page.cy));
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(page.title);
    out.Word(CORVANE_PAGE_FONT_POINTS);
    out.Word(FW_NORMAL);
    out.Word(DEFAULT_CHARSET << 8);  // not italic, then the character set
    out.Text(L"" CORVANE_PAGE_FONT);
}

void WriteControl(TemplateWriter& out, const ControlTemplate& control) {
    const ControlClass kind = ControlClassOf(control);
    out.AlignToDword();
    out.Dword(0);  // help id
    out.Dword(0);  // extended style
    out.Dword(kind.style);
    out.Word(static_cast<uint32_t>(control.x));
    out.Word(static_cast<uint32_t>(control.y));
    out.Word(static_cast<uint32_t>(control.cx));
    out.Word(static_cast<uint32_t>(control.cy));
    out.Dword(static_cast<uint32_t>(control.id));
    out.Text(kind.windowClass);
    // An icon's picture is set once the page exists; its text would name one.
    out.Text(control.kind == ControlKind::Icon ? std::wstring() : control.text);
    out.Word(0);  // no creation data
}

}  // namespace

ControlClass ControlClassOf(const ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::Label:
            return {L"" CORVANE_LABEL_CLASS, CORVANE_LABEL_STYLE};
        case ControlKind::GroupBox:
            return {L"" CORVANE_GROUPBOX_CLASS, CORVANE_GROUPBOX_STYLE};
        case ControlKind::Slider:
            return {L"" CORVANE_SLIDER_CLASS, control.cy >= CORVANE_SLIDER_TICKS_MIN_HEIGHT
                                                  ? static_cast<uint32_t>(CORVANE_SLIDER_TICKS_STYLE)
                                                  : static_cast<uint32_t>(CORVANE_SLIDER_STYLE)};
        case ControlKind::DropList:
            return {L"" CORVANE_DROPLIST_CLASS, CORVANE_DROPLIST_STYLE};
        case ControlKind::CheckBox:
            return {L"" CORVANE_CHECKBOX_CLASS, CORVANE_CHECKBOX_STYLE};
        case ControlKind::PushButton:
            return {L"" CORVANE_PUSHBUTTON_CLASS, CORVANE_PUSHBUTTON_STYLE};
        case ControlKind::Icon:
            return {L"" CORVANE_ICON_CLASS, CORVANE_ICON_STYLE};
    }
    return {L"" CORVANE_LABEL_CLASS, CORVANE_LABEL_STYLE};
}

std::vector<uint16_t> BuildPageDialogTemplate(const PageTemplate& page) {
    TemplateWriter out;
    WriteHeader(out, page);
    for (const ControlTemplate& control : page.controls) WriteControl(out, control);
    return out.Take();
}

}  // namespace platform::win32
