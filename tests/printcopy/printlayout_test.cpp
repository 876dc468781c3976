// Where each view lands on the printed pages, on a page of round numbers:
// W = 11 000 and H = 15 000 twips (H/20 = 750), title lines of 280 and 230.
#include "output/printlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace molvane {
namespace {

const PageGeometry kPage{11000, 15000, 280, 230};
constexpr PixelSize kVessel{393, 157};
constexpr PixelSize kGraph{413, 235};

TableExtent table(int gridRows) {
    return {gridRows, 240, 30};
}

struct Expected {
    Placed what;
    int page;
    double x, y, height;
    int firstRow = 0, endRow = 0;
};

struct LayoutCase {
    std::string name;
    PrintChoice choice;
    int pages;
    std::vector<Expected> items;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class LayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, PlacesEachViewOnItsPage) {
    const LayoutCase& c = GetParam();
    const PageLayout layout = layoutPages(kPage, c.choice);
    EXPECT_EQ(layout.pages, c.pages);
    ASSERT_EQ(layout.items.size(), c.items.size());
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        const Placement& got = layout.items[i];
        const Expected& want = c.items[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.what, want.what);
        EXPECT_EQ(got.page, want.page);
        EXPECT_DOUBLE_EQ(got.x, want.x);
        EXPECT_DOUBLE_EQ(got.y, want.y);
        EXPECT_DOUBLE_EQ(got.height, want.height);
        if (want.what == Placed::Table) {
            EXPECT_EQ(got.firstRow, want.firstRow);
            EXPECT_EQ(got.endRow, want.endRow);
        }
    }
}

// The animation is centred at H/20: x = (11 000 - 393 x 15) / 2. Below it
// come two empty lines of 230, so the graph starts at 750 + 2 355 + 460.
const Expected kTitle{Placed::Title, 0, 0, 0, 280};
const Expected kAnimation{Placed::Animation, 0, 2552.5, 750, 2355};
const Expected kGraphBelow{Placed::Graph, 0, 2402.5, 3565, 3525};

INSTANTIATE_TEST_SUITE_P(
    Pages, LayoutTest,
    testing::Values(
        LayoutCase{"NoBoxTicked", {{}, {}, {}, 1}, 1, {kTitle}},
        LayoutCase{"AnimationAlone", {kVessel, {}, {}, 1}, 1, {kTitle, kAnimation}},
        LayoutCase{"GraphAloneAtOneTwentieth",
                   {{}, kGraph, {}, 1},
                   1,
                   {kTitle, {Placed::Graph, 0, 2402.5, 750, 3525}}},
        LayoutCase{"AnimationAndGraph", {kVessel, kGraph, {}, 1}, 1, {kTitle, kAnimation, kGraphBelow}},
        // Title and empty line: the table alone starts at 280 + 230.
        LayoutCase{"TableAloneUnderTheTitle",
                   {{}, {}, table(12), 1},
                   1,
                   {kTitle, {Placed::Table, 0, 1100, 510, 2880, 0, 11}}},
        LayoutCase{"ThreeViewsOnOnePage",
                   {kVessel, kGraph, table(12), 1},
                   1,
                   {kTitle, kAnimation, kGraphBelow, {Placed::Table, 0, 1100, 7550, 2880, 0, 11}}},
        LayoutCase{"TableUnderTheAnimation",
                   {kVessel, {}, table(12), 1},
                   1,
                   {kTitle, kAnimation, {Placed::Table, 0, 1100, 3565, 2880, 0, 11}}},
        // 52 rows (12 480) do not fit under the graph (7 550): next page at H/20.
        LayoutCase{"TableOnANewPage",
                   {kVessel, kGraph, table(52), 1},
                   2,
                   {kTitle, kAnimation, kGraphBelow, {Placed::Table, 1, 1100, 750, 12480, 0, 51}}},
        // 510 + 59 x 240 = 14 670: the whole table under the title.
        LayoutCase{"LongTableFitsUnderTheTitle",
                   {{}, {}, table(59), 1},
                   1,
                   {kTitle, {Placed::Table, 0, 1100, 510, 14160, 0, 58}}},
        // 102 rows (24 480) fit on no page: the rows that fit under H/20, the
        // header again and the rest on the page after.
        LayoutCase{"TableOverTwoNewPages",
                   {kVessel, kGraph, table(102), 1},
                   3,
                   {kTitle,
                    kAnimation,
                    kGraphBelow,
                    {Placed::Table, 1, 1100, 750, 14160, 0, 58},
                    {Placed::Table, 2, 1100, 750, 10560, 58, 101}}},
        LayoutCase{"TwoCopiesTwoPages",
                   {kVessel, kGraph, {}, 2},
                   2,
                   {kTitle,
                    kAnimation,
                    kGraphBelow,
                    {Placed::Title, 1, 0, 0, 280},
                    {Placed::Animation, 1, 2552.5, 750, 2355},
                    {Placed::Graph, 1, 2402.5, 3565, 3525}}},
        LayoutCase{"TwoCopiesWithTheTableOnItsOwnPage",
                   {{}, kGraph, table(52), 2},
                   4,
                   {kTitle,
                    {Placed::Graph, 0, 2402.5, 750, 3525},
                    {Placed::Table, 1, 1100, 750, 12480, 0, 51},
                    {Placed::Title, 2, 0, 0, 280},
                    {Placed::Graph, 2, 2402.5, 750, 3525},
                    {Placed::Table, 3, 1100, 750, 12480, 0, 51}}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(Layout, EveryRowOfALongTableIsPrintedOnce) {
    // Over many page heights, the parts cover rows 0 .. n-1 without gap or
    // overlap, and none runs past the bottom of its page.
    for (double height : {4000.0, 6000.0, 9000.0, 15000.0}) {
        const PageGeometry page{11000, height, 280, 230};
        const PageLayout layout = layoutPages(page, {kVessel, kGraph, table(102), 1});
        int next = 0;
        for (const Placement& item : layout.items) {
            if (item.what != Placed::Table) continue;
            EXPECT_EQ(item.firstRow, next) << height;
            EXPECT_GT(item.endRow, item.firstRow) << height;
            if (item.endRow - item.firstRow > 1) {
                EXPECT_LE(item.y + item.height, height) << height;
            }
            next = item.endRow;
        }
        EXPECT_EQ(next, 101) << height;
    }
}

}  // namespace
}  // namespace molvane
