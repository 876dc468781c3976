// The table of values on screen: the row times, the rows filled as the run
// goes, the hidden Qr column, the column widths, and updates cell by cell.
#include "core/table.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest/QTest>
#include <climits>

#include "common/numbers.h"
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
        window->simulation().setDuration(leadingNumber(c.duration));
        window->simulation().setTableRows(tableRowsAt(c.rowsPosition));
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

// Where the text of a rendered cell lies: its dark pixels.
struct Ink {
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
};

Ink inkIn(const QImage& image, const QRect& cell) {
    Ink ink;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 110) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// Whether the text's last glyph stands as tall as a digit: an ellipsis
// ("10,0 ...") lies on the base line only.
bool endsTall(const QImage& image, const Ink& ink) {
    int top = INT_MAX, bottom = -1;
    for (int x = ink.right - 1; x <= ink.right; ++x)
        for (int y = ink.top; y <= ink.bottom; ++y)
            if (image.pixelColor(x, y).lightness() < 110) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom - top + 1 >= (ink.bottom - ink.top + 1) / 2;
}

TEST_F(TableTest, TextsShowWholeAndTimesLineUpOnTheRight) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    control<QRadioButton>("Option1_1")->setChecked(true);
    control<QScrollBar>("VScroll3")->setValue(100);  // 11 rows, all in sight
    for (int position : {12, 5, 1}) {                // 10 s, 10 min, 2 h
        control<QScrollBar>("VScroll2")->setValue(position);
        const QImage cells = view()->viewport()->grab().toImage();
        for (int row = 0; row < model()->rowCount(); ++row) {
            const QRect cell = view()->visualRect(model()->index(row, 0));
            const Ink ink = inkIn(cells, cell);
            const std::string text = model()->index(row, 0).data().toString().toStdString();
            ASSERT_GE(ink.right, 0) << text;
            EXPECT_GE(ink.left, cell.left() + 2) << text;
            EXPECT_LE(ink.right, cell.right() - 2) << text;
            EXPECT_GE(ink.right, cell.right() - 6) << text << ": right-aligned, every row alike";
            EXPECT_TRUE(endsTall(cells, ink)) << text << " is cut short";
        }
    }
    // Every heading clear of its borders, the widest ("Nombre de C") too.
    QHeaderView* header = view()->horizontalHeader();
    const QImage headings = header->grab().toImage();
    for (int c = 0; c < 6; ++c) {
        const QRect section(header->sectionViewportPosition(c), 0, header->sectionSize(c), header->height());
        const Ink ink = inkIn(headings, section);
        const std::string text = model()->headerData(c, Qt::Horizontal).toString().toStdString();
        ASSERT_GE(ink.right, 0) << text;
        EXPECT_GE(ink.left, section.left() + 3) << text;
        EXPECT_LE(ink.right, section.right() - 3) << text;
    }
}

TEST_F(TableTest, RowTimesRoundHalvesUpAndFillAtTheirInstant) {
    // 20 s over 81 rows: a row every 0.25 s; row 2 reads 0.3 and is filled at 0.3 s.
    control<QScrollBar>("VScroll3")->setValue(111 - 81);
    ASSERT_EQ(model()->rowCount(), 81);
    EXPECT_EQ(cell(2, 0).toString(), QStringLiteral("0,3      "));
    EXPECT_EQ(cell(4, 0).toString(), QStringLiteral("0,8      "));
    ticks(2);
    EXPECT_TRUE(cell(2, 1).toString().isEmpty()) << "filled before its instant";
    ticks(1);
    EXPECT_FALSE(cell(2, 1).toString().isEmpty());
}

TEST_F(TableTest, FewestRowsGoThroughTheRowCountBar) {
    auto* bar = control<QScrollBar>("VScroll3");
    bar->setValue(10);  // 101 rows
    // 5 s over 100 intervals would put rows closer than a tick; no panel
    // duration is that short, but the rule holds for any.
    window->simulation().setDuration(5);
    control<QPushButton>("Command5")->click();
    EXPECT_EQ(bar->value(), 60);
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("51"));
    EXPECT_EQ(window->simulation().parameters().tableRows, tableRowsAt(60));
    EXPECT_EQ(model()->rowCount(), 51);
    EXPECT_EQ(cell(51, 0).toString(), QStringLiteral("5,0      "));
    EXPECT_EQ(window->simulation().nbtics(), 0);
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
