// The table's text and HTML as the clipboard receives them, on small grids
// whose cells are written by hand.
#include "output/tablecopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/grid.h"

namespace molvane {
namespace {

using Rows = std::vector<std::vector<std::string>>;

GridModel gridOf(const Rows& rows) {
    GridModel grid(static_cast<int>(rows.size()), rows.empty() ? 0 : static_cast<int>(rows[0].size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.setText(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
    return grid;
}

struct CopyCase {
    const char* name;
    Rows cells;
    std::string text;
    std::string htmlRows;  // what lies between <table border="1"> and </table>
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.name;
}

class TableCopyTest : public testing::TestWithParam<CopyCase> {};

TEST_P(TableCopyTest, TextAndHtmlHoldEveryCell) {
    const CopyCase& c = GetParam();
    GridModel grid = gridOf(c.cells);
    EXPECT_EQ(copyTableText(grid), c.text);
    const std::string html = tableHtml(grid);
    const std::string head = "<html><head><meta charset=\"utf-8\"></head><body><table border=\"1\">";
    const std::string tail = "</table></body></html>";
    ASSERT_EQ(html.substr(0, head.size()), head);
    ASSERT_GE(html.size(), head.size() + tail.size());
    EXPECT_EQ(html.substr(html.size() - tail.size()), tail);
    EXPECT_EQ(html.substr(head.size(), html.size() - head.size() - tail.size()), c.htmlRows);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, TableCopyTest,
    testing::Values(
        CopyCase{"HeaderAlone",
                 {{"Date (s)", "Nombre de A", "Qr"}},
                 "Date (s)\tNombre de A\tQr",
                 "<tr><th>Date (s)</th><th>Nombre de A</th><th>Qr</th></tr>"},
        CopyCase{"TimesKeepTheirBlanksInTextOnly",
                 {{"Date (s)", "A"}, {"0,0      ", "25"}, {"0,4      ", "24"}},
                 "Date (s)\tA\n0,0      \t25\n0,4      \t24",
                 "<tr><th>Date (s)</th><th>A</th></tr><tr><td>0,0</td><td>25</td></tr>"
                 "<tr><td>0,4</td><td>24</td></tr>"},
        CopyCase{"RowsNotReachedGiveTheirTimeAndEmptyCells",
                 {{"Date (s)", "A", "B"}, {"20,0      ", "", ""}},
                 "Date (s)\tA\tB\n20,0      \t\t",
                 "<tr><th>Date (s)</th><th>A</th><th>B</th></tr><tr><td>20,0</td><td></td><td></td></tr>"},
        CopyCase{"MarkupCharactersEscapedInHtmlOnly",
                 {{"<Qr> & \"x\""}, {" 1,25E+03 "}},
                 "<Qr> & \"x\"\n 1,25E+03 ",
                 "<tr><th>&lt;Qr&gt; &amp; &quot;x&quot;</th></tr><tr><td>1,25E+03</td></tr>"},
        CopyCase{
            "EveryKindOfBlankTrimmedInHtml", {{"\t\v\f a b \r"}}, "\t\v\f a b \n", "<tr><th>a b</th></tr>"},
        CopyCase{"AccentsPassUnchanged", {{"Durée", "é"}}, "Durée\té", "<tr><th>Durée</th><th>é</th></tr>"}));

TEST(TableCopy, SelectsTheWholeGridWhateverWasSelected) {
    GridModel grid = gridOf({{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}});
    // A selection left in the middle of the grid, from the bottom right up.
    grid.setRow(2);
    grid.setCol(2);
    grid.setRowSel(1);
    grid.setColSel(1);
    EXPECT_EQ(copyTableText(grid), "a\tb\tc\nd\te\tf\ng\th\ti");
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(grid.col(), 0);
    EXPECT_EQ(grid.rowSel(), 2);
    EXPECT_EQ(grid.colSel(), 2);
}

TEST(TableCopy, EmptyGridGivesNothing) {
    GridModel grid(0, 0);
    EXPECT_EQ(copyTableText(grid), "");
    EXPECT_EQ(tableHtml(grid),
              "<html><head><meta charset=\"utf-8\"></head><body><table border=\"1\"></table></body></html>");
}

}  // namespace
}  // namespace molvane
