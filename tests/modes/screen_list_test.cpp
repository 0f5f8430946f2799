// Paging of the selectable list: wrap-around at both ends, the top row
// following the selection, selection by id.

#include "modes/screen_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using modes::CScreenList;

CScreenList ListOf(int rows) {
    CScreenList list;
    for (int i = 0; i < rows; ++i) list.AddRow("row " + std::to_string(i), "id" + std::to_string(i));
    return list;
}

TEST(ScreenListTest, MovesWrapAndKeepTheSelectionVisible) {
    enum Move { Up, Down };
    struct Case {
        int rows, sel, top;
        Move move;
        int wantSel, wantTop;
    };
    const Case cases[] = {
        {5, 0, 0, Up, 4, 2},    // first row up: the last, with the last page shown
        {5, 4, 2, Down, 0, 0},  // last row down: back to the first page
        {5, 2, 0, Down, 3, 1},  // below the page: the page follows by one
        {5, 3, 1, Up, 2, 1},    // inside the page: the page stays
        {5, 1, 1, Up, 0, 0},    // above the page: it becomes the top
        {2, 0, 0, Up, 1, 0},    // short lists keep the top row at 0
        {2, 1, 0, Down, 0, 0},
        {1, 0, 0, Down, 0, 0},
        {1, 0, 0, Up, 0, 0},
    };
    for (const Case& c : cases) {
        CScreenList list = ListOf(c.rows);
        list.m_nSel = c.sel;
        list.m_nTop = c.top;
        c.move == Up ? list.MoveUp() : list.MoveDown();
        EXPECT_EQ(list.m_nSel, c.wantSel) << c.rows << " rows from " << c.sel << (c.move == Up ? " up" : " down");
        EXPECT_EQ(list.m_nTop, c.wantTop) << c.rows << " rows from " << c.sel << (c.move == Up ? " up" : " down");
    }
}

TEST(ScreenListTest, SelectByIdMakesTheRowTheTopAndIgnoresUnknownIds) {
    CScreenList list = ListOf(5);
    list.SelectById("id3");
    EXPECT_EQ(list.m_nSel, 3);
    EXPECT_EQ(list.m_nTop, 3);
    list.MoveDown();
    list.SelectById("nobody");
    EXPECT_EQ(list.m_nSel, 4) << "unchanged";
    EXPECT_EQ(list.m_nTop, 3);
    EXPECT_EQ(list.GetId(4), "id4");
    EXPECT_EQ(list.GetId(5), "") << "outside the list";
    EXPECT_EQ(list.GetId(-1), "");
}

TEST(ScreenListTest, ClearEmptiesTheListAndForgetsItsDrawer) {
    CScreenList list = ListOf(4);
    list.m_nSel = list.m_nTop = 2;
    list.m_pfnDrawRow = modes::DrawVoicemailRow;
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_nSel, 0);
    EXPECT_EQ(list.m_nTop, 0);
    EXPECT_EQ(list.m_pfnDrawRow, nullptr);
}

}  // namespace
