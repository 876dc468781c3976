// The table of values on screen: the row times, the rows filled as the run
// goes, the hidden Qr column, the column widths, and updates cell by cell.
#include <QCheckBox>
#include <QHeaderView>
#include <QTableView>

#include "tests/ui/fixture.h"
#include "ui/main/gridview.h"

namespace molvane {
namespace {

class TableTest : public WindowTest {
protected:
    QTableView* view() { return control<QTableView>("MSFlexGrid1"); }
    QAbstractItemModel* model() { return view()->model(); }
    // A table row (1 = the first data row) as the view shows it.
    QVariant cell(int row, int col, int role = Qt::DisplayRole) {
        return model()->index(row - 1, col).data(role);
    }
};

TEST_F(TableTest, RowTimesSpreadTheDurationOverTheRows) {
    struct Case {
        const char* duration;
        int rowsPosition;
        int rows;
        std::vector<std::pair<int, QString>> times;
    };
    const std::vector<Case> cases{
        {"20", 60, 51, {{1, "0,0      "}, {2, "0,4      "}, {26, "10,0      "}, {51, "20,0      "}}},
        {"30", 11, 100, {{2, "0,3      "}, {100, "30,0      "}}},
        {"7200", 100, 11, {{2, "720,0      "}, {11, "7 200,0      "}}},
    };
    for (const Case& c : cases) {
        window->simulation().parameters.durationTag = c.duration;
        window->simulation().parameters.rowsPosition = c.rowsPosition;
        window->Command5_Click();
        ASSERT_EQ(model()->rowCount(), c.rows) << c.duration;
        for (const auto& [row, text] : c.times) {
            EXPECT_EQ(cell(row, 0).toString(), text) << c.duration << " row " << row;
            EXPECT_EQ(cell(row, 0, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                      Qt::AlignRight | Qt::AlignTop);
        }
    }
}

TEST_F(TableTest, ARowIsFilledEveryFourTicksAtTheStartSettings) {
    EXPECT_EQ(model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nombre de A"));
    EXPECT_EQ(cell(1, 1).toString(), QStringLiteral("100"));
    EXPECT_EQ(cell(1, 5).toString(), QStringLiteral("0,0"));
    for (int tick = 1; tick <= 40; ++tick) {
        ticks(1);
        const int filled = 1 + tick / 4;  // a row every 0.4 s
        EXPECT_FALSE(cell(filled, 1).toString().isEmpty()) << "tick " << tick;
        EXPECT_TRUE(cell(filled + 1, 1).toString().isEmpty()) << "tick " << tick;
    }
    // Counts add up and are centred.
    int total = 0;
    for (int c = 1; c <= 4; ++c) total += cell(11, c).toInt();
    EXPECT_EQ(total, 200);
    EXPECT_EQ(cell(11, 3, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignHCenter | Qt::AlignTop);
}

TEST_F(TableTest, QrColumnIsHiddenByWhiteText) {
    struct Case {
        bool shown;
        QColor colour;
    };
    for (const Case& c : {Case{false, Qt::white}, Case{true, Qt::black}}) {
        control<QCheckBox>("Check3")->setChecked(c.shown);
        window->Command5_Click();
        ticks(4);
        EXPECT_EQ(model()->headerData(5, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), c.colour);
        for (int row = 1; row <= model()->rowCount(); ++row)
            EXPECT_EQ(cell(row, 5, Qt::ForegroundRole).value<QColor>(), c.colour) << row;
        // The values stay in the cells either way.
        EXPECT_FALSE(cell(2, 5).toString().isEmpty());
        EXPECT_EQ(cell(2, 4, Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    }
}

TEST_F(TableTest, ColumnWidthsLeaveRoomForTheScrollBar) {
    window->Form_Activate();
    // 413 pixels: 413 x 15 / 6 = 1032.5 twips, halves to even.
    EXPECT_EQ(window->table().colWidth(0), 732);
    for (int c = 1; c < 6; ++c) EXPECT_EQ(window->table().colWidth(c), 1032);
    EXPECT_EQ(view()->horizontalHeader()->sectionSize(0), 49);
    EXPECT_EQ(view()->horizontalHeader()->sectionSize(5), 69);
}

TEST(GridTableModel, ReportsEachChangeForItsOwnCell) {
    GridModel grid(4, 6);
    GridTableModel model(grid);
    std::vector<std::pair<int, int>> changed;
    std::vector<int> headers;
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         EXPECT_EQ(from, to);
                         changed.emplace_back(from.row(), from.column());
                     });
    QObject::connect(&model, &QAbstractItemModel::headerDataChanged,
                     [&](Qt::Orientation, int first, int) { headers.push_back(first); });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    grid.setText(2, 3, "42");
    grid.setText(0, 5, "Qr");
    grid.setRow(3);
    grid.setCol(1);
    grid.setCellForeColor(0xFFFFFF);
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{1, 3}, {2, 1}}));
    EXPECT_EQ(headers, std::vector<int>{5});
    EXPECT_EQ(resets, 0);

    grid.setRows(10);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_EQ(model.index(1, 3).data().toString(), QStringLiteral("42"));
}

}  // namespace
}  // namespace molvane
