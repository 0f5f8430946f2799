#pragma once
// A user of the property sheet open on the calling thread, for tests of the
// sheet host: reads what the sheet shows and acts on it through the
// system's messages, as clicks and keys would.

#include <cstdint>
#include <string>

#include "platform/window_handle.h"

namespace platform::win32::testing {

class SheetUser {
public:
    // The property sheet the calling thread shows; Found() is false when it
    // shows none.
    SheetUser();

    // A sheet of another thread or process, owned by `owner`: the messages
    // that carry no pointer reach it from here.
    static SheetUser OwnedBy(WindowHandle owner);

    // The test program has a dialog resource of that id.
    static bool ProgramHasDialog(int id);

    bool Found() const { return sheet_.value != 0; }
    WindowHandle Sheet() const { return sheet_; }
    WindowHandle Owner() const;
    std::wstring Caption() const;
    bool HasIcon() const;
    int TabCount() const;
    std::wstring TabText(int page) const;
    // The sheet's own buttons by id (kSheetOkButton, ...).
    std::wstring ButtonText(int button) const;
    bool ButtonEnabled(int button) const;
    // The page the tab control shows.
    int ShownTab() const;

    // The shown page's control: its window class and the parts of its style
    // that make its kind, as words ("Button autocheckbox", "msctls_trackbar32
    // ticks", "ComboBox dropdownlist vscroll", ...); empty without one.
    std::wstring Describe(int id) const;
    // Describe() with the control's place in the page, in pixels.
    std::wstring Layout(int id) const;
    std::wstring Text(int id) const;
    bool Visible(int id) const;
    int SliderMin(int id) const;
    int SliderMax(int id) const;
    int SliderPos(int id) const;
    int ListCount(int id) const;
    bool Checked(int id) const;
    // The shown page has an icon control with a picture.
    bool ShowsIcon() const;

    void SelectTab(int page);
    // Drags the slider's thumb there and lets go.
    void Slide(int id, int position);
    // One step with the keyboard (arrow key down and up).
    void StepSlider(int id);
    void Choose(int id, int index);
    void Click(int id);
    // OK, Apply or Cancel by the sheet's button id, while it is enabled.
    void Press(int button);

private:
    explicit SheetUser(WindowHandle sheet) : sheet_(sheet) {}

    WindowHandle sheet_;
};

}  // namespace platform::win32::testing
