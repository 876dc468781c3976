#include "common/grid.h"

#include <gtest/gtest.h>

using namespace molvane;

TEST(Grid, ClipTextOfSelection) {
    GridModel g(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) g.setText(r, c, std::to_string(r) + std::to_string(c));
    g.setRow(0);
    g.setCol(0);
    g.setRowSel(2);
    g.setColSel(2);
    EXPECT_EQ(g.clip(), "00\t01\t02\r10\t11\t12\r20\t21\t22");
    g.setRow(1);  // moving the current cell collapses the selection
    g.setCol(1);
    EXPECT_EQ(g.clip(), "11");
    g.setRowSel(0);
    EXPECT_EQ(g.clip(), "01\r11");
}

TEST(Grid, RowsChangeAtTheEndAndClearKeepsFormats) {
    GridModel g(2, 2);
    g.setText(1, 1, "x");
    g.setRow(1);
    g.setCol(1);
    g.setCellForeColor(0xFFFFFF);
    g.setCellAlignment(kAlignCenterTop);
    g.setRows(4);
    EXPECT_EQ(g.text(1, 1), "x");
    EXPECT_EQ(g.text(3, 1), "");
    g.setRows(2);
    EXPECT_EQ(g.rows(), 2);
    g.clear();
    EXPECT_EQ(g.text(1, 1), "");
    EXPECT_EQ(g.foreColor(1, 1), 0xFFFFFFu);
    EXPECT_EQ(g.alignment(1, 1), kAlignCenterTop);
}

TEST(Grid, OutOfRangeIsRefused) {
    GridModel g(2, 6);
    EXPECT_FALSE(g.setText(2, 0, "x"));
    EXPECT_FALSE(g.setText(0, 6, "x"));
    EXPECT_EQ(g.text(-1, 0), "");
    EXPECT_FALSE(g.setRow(5));
    EXPECT_FALSE(g.setRows(-1));
    EXPECT_EQ(g.cols(), 6);
    EXPECT_TRUE(g.setColWidth(0, 1000));
    EXPECT_EQ(g.colWidth(0), 1000);
    EXPECT_EQ(g.colWidth(9), 0);
}
