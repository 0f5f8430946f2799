#include "modes/screen_list.h"

#include <algorithm>

#include "modes/icon_strip.h"
#include "modes/virtual_display.h"

namespace modes {

CScreenList g_ScreenList;

void CScreenList::Clear() {
    m_nSel = 0;
    m_nTop = 0;
    m_Texts.clear();
    m_Ids.clear();
    m_pfnDrawRow = nullptr;
}

void CScreenList::AddRow(const std::string& text, const std::string& id) {
    m_Texts.push_back(text);
    m_Ids.push_back(id);
}

std::string CScreenList::GetId(int index) const {
    if (index < 0 || index >= GetCount()) return std::string();
    return m_Ids[static_cast<size_t>(index)];
}

std::string CScreenList::GetText(int index) const {
    if (index < 0 || index >= GetCount()) return std::string();
    return m_Texts[static_cast<size_t>(index)];
}

int CScreenList::GetCount() const { return static_cast<int>(m_Texts.size()); }

void CScreenList::SelectById(const std::string& id) {
    const auto it = std::find(m_Ids.begin(), m_Ids.end(), id);
    if (it == m_Ids.end()) return;
    m_nSel = m_nTop = static_cast<int>(it - m_Ids.begin());
}

void CScreenList::MoveUp() {
    const int n = GetCount();
    --m_nSel;
    if (m_nSel < 0) {
        m_nSel = n - 1;
        m_nTop = std::max(0, n - kVisibleRows);
    } else if (m_nSel < m_nTop) {
        m_nTop = m_nSel;
    }
}

void CScreenList::MoveDown() {
    const int n = GetCount();
    ++m_nSel;
    if (m_nSel >= n) {
        m_nSel = 0;
        m_nTop = 0;
    } else if (m_nSel > m_nTop + kVisibleRows - 1) {
        m_nTop = std::max(0, m_nSel - (kVisibleRows - 1));
    }
}

void CScreenList::DrawRow(int screenRow, int index) const {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.UseListColours(index == m_nSel);
    d.FillBackground(0, kTextRowHeight * screenRow, kScreenWidth, kListBandHeight);
    if (m_pfnDrawRow) {
        m_pfnDrawRow(screenRow, index, *this);
    } else {
        d.DrawTextRow(0, screenRow, GetText(index), kAlignLeft);
    }
}

void CScreenList::Draw() const {
    CVirtualDisplay& d = g_VirtualDisplay;
    const int n = GetCount();
    const int end = std::min(m_nTop + kVisibleRows, n);
    for (int index = m_nTop; index < end; ++index) DrawRow(index - m_nTop, index);
    d.UseNormalColours();
    for (int screenRow = std::max(0, end - m_nTop); screenRow < kVisibleRows; ++screenRow) {
        d.FillBackground(0, kTextRowHeight * screenRow, kScreenWidth, kTextRowHeight);
    }
    d.DrawScrollBar(n - 1, m_nSel);
}

namespace {

bool (*g_isConferenceRowChosen)(const std::string& id) = nullptr;

// The selected row's text runs when it is long; the others are cut.
void DrawCallRow(int screenRow, int index, const CScreenList& list, int icon) {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.DrawRowIcon(screenRow, icon, 0, kListBandHeight);
    if (index == list.m_nSel) {
        d.DrawScrollText(screenRow, list.GetText(index), kAlignLeft);
    } else {
        d.DrawTextRow(16, screenRow, list.GetText(index), kAlignLeft);
    }
}

}  // namespace

void DrawHistoryMenuRow(int screenRow, int index, const CScreenList& list) {
    static constexpr int kIcons[] = {kIconIncomingCall, kIconOutgoingCall, kIconMissedCall, kIconVoicemail};
    const std::string id = list.GetId(index);
    const int which = id.size() == 1 && id[0] >= '0' && id[0] <= '3' ? id[0] - '0' : -1;
    if (which >= 0) g_VirtualDisplay.DrawRowIcon(screenRow, kIcons[which], 0, kListBandHeight);
    g_VirtualDisplay.DrawTextRow(16, screenRow, list.GetText(index), kAlignLeft);
}

void DrawReceivedCallRow(int screenRow, int index, const CScreenList& list) { DrawCallRow(screenRow, index, list, kIconIncomingCall); }
void DrawDialledCallRow(int screenRow, int index, const CScreenList& list) { DrawCallRow(screenRow, index, list, kIconOutgoingCall); }
void DrawMissedCallRow(int screenRow, int index, const CScreenList& list) { DrawCallRow(screenRow, index, list, kIconMissedCall); }
void DrawVoicemailRow(int screenRow, int index, const CScreenList& list) { DrawCallRow(screenRow, index, list, kIconVoicemail); }

void DrawConferenceRow(int screenRow, int index, const CScreenList& list) {
    const bool chosen = g_isConferenceRowChosen && g_isConferenceRowChosen(list.GetId(index));
    DrawCallRow(screenRow, index, list, chosen ? kIconConferenceRowChosen : kIconConferenceRowNotChosen);
}

void SetConferenceChoice(bool (*isChosen)(const std::string& id)) { g_isConferenceRowChosen = isChosen; }

}  // namespace modes
