#pragma once
// The selectable list of the menu, history and conference screens: three
// rows visible at a time, the selected one inverted, paging with
// wrap-around, a scroll bar for the position. One list serves every mode;
// each list mode fills it anew when it is entered.

#include <string>
#include <vector>

namespace modes {

class CScreenList;

// The pixel rows a list row fills: its text row but the last, which stays
// dark to part the rows; icons and the selection's highlight keep to it.
constexpr int kListBandHeight = 15;

// Draws one row: the screen row (0 ... 2), the list index and the list.
using DrawRowFunc = void (*)(int screenRow, int index, const CScreenList& list);

class CScreenList {
public:
    static constexpr int kVisibleRows = 3;

    void Clear();
    // `id` names what the row shows: a menu index, a call id or a contact
    // handle, depending on the mode.
    void AddRow(const std::string& text, const std::string& id);
    // Empty for an index outside the list.
    std::string GetId(int index) const;
    std::string GetText(int index) const;
    int GetCount() const;
    // Selects the first row with the id and makes it the top row; nothing
    // changes when no row has it.
    void SelectById(const std::string& id);
    void MoveUp();
    void MoveDown();
    // Draws the visible rows into the display image, then the scroll bar.
    void Draw() const;

    int m_nSel = 0;
    int m_nTop = 0;
    DrawRowFunc m_pfnDrawRow = nullptr;

private:
    void DrawRow(int screenRow, int index) const;

    std::vector<std::string> m_Texts;
    std::vector<std::string> m_Ids;
};

extern CScreenList g_ScreenList;

// The row drawers of the list screens: the row's icon at the left edge and
// its text beside it, the selected row's text running when it is long.
void DrawHistoryMenuRow(int screenRow, int index, const CScreenList& list);
void DrawReceivedCallRow(int screenRow, int index, const CScreenList& list);
void DrawDialledCallRow(int screenRow, int index, const CScreenList& list);
void DrawMissedCallRow(int screenRow, int index, const CScreenList& list);
void DrawVoicemailRow(int screenRow, int index, const CScreenList& list);
// The conference screen marks the chosen calls; `IsConferenceRowChosen`
// answers for a row's id.
void DrawConferenceRow(int screenRow, int index, const CScreenList& list);
void SetConferenceChoice(bool (*isChosen)(const std::string& id));

}  // namespace modes
