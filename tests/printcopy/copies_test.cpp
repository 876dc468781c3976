// The copies to the clipboard: the menu, the pictures, the table's text and
// HTML, the selection the text copy leaves, and the table's full picture.
#include "output/copies.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "output/tablepicture.h"
#include "tests/ui/fixture.h"
#include "ui/main/pictures.h"

namespace molvane {
namespace {

// Dark pixels, as a cell's text leaves.
bool hasText(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

const QString kHeader = QStringLiteral("Date (s)\tNombre de A\tNombre de B\tNombre de C\tNombre de D\tQr");

// The window is hidden again before it goes: a shown table that is destroyed
// with the window still asks its cells for their texts.
class ShownWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
    }
    void TearDown() override { window->hide(); }
};

class CopyTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        CopySources sources;
        sources.animation = [this] { return control<AnimationView>("animpic")->surface().image(); };
        sources.graph = [this] { return control<GraphView>("Picture2")->surface().image(); };
        sources.table = &window->table();
        sources.tableView = view();
        sources.confirm = [this] { ++confirmations; };
        copies = std::make_unique<CopyMenu>(std::move(sources), window.get());
    }
    QTableView* view() { return control<QTableView>("MSFlexGrid1"); }
    // Runs the menu and, once it shows, presses these keys in it.
    void chooseWithKeys(std::vector<int> keys) {
        QTimer::singleShot(0, copies->menucop(), [this, keys] {
            for (int key : keys) {
                QWidget* shown = QApplication::activePopupWidget();
                ASSERT_NE(shown, nullptr);
                QTest::keyClick(shown, static_cast<Qt::Key>(key));
            }
        });
        copies->popup(QPoint(100, 100));
    }

    std::unique_ptr<CopyMenu> copies;
    int confirmations = 0;
};

TEST_F(CopyTest, MenuHoldsTheFourCopiesThenTheExport) {
    QMenu* menu = copies->menucop();
    EXPECT_EQ(menu->objectName(), QStringLiteral("menucop"));
    EXPECT_EQ(menu->title(), QStringLiteral("menucopie"));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 6);
    const std::vector<std::pair<QString, QString>> top{{"cop001", "Copier l'animation"},
                                                       {"Cop002", "Copier le graphe"},
                                                       {"s5050", ""},
                                                       {"cop003", "Copier le tableau"},
                                                       {"sexport", ""},
                                                       {"exportcsv", "E&xporter les mesures (CSV)…"}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i]->objectName(), top[i].first);
        EXPECT_EQ(items[i]->text(), top[i].second);
        EXPECT_EQ(items[i]->isSeparator(), i == 2 || i == 4);
    }
    ASSERT_NE(items[3]->menu(), nullptr);
    const QList<QAction*> table = items[3]->menu()->actions();
    ASSERT_EQ(table.size(), 2);
    EXPECT_EQ(table[0]->objectName(), QStringLiteral("cop0031"));
    EXPECT_EQ(table[0]->text(), QStringLiteral("Copier le contenu du tableau"));
    EXPECT_EQ(table[1]->objectName(), QStringLiteral("cop0032"));
    EXPECT_EQ(table[1]->text(), QStringLiteral("Copier une image du tableau"));
}

TEST_F(CopyTest, ConfirmationFollowsTheMenuChosenOrNot) {
    // No tick may redraw the vessel between the copy and the comparison.
    control<QTimer>("Timer1")->stop();
    chooseWithKeys({Qt::Key_Escape});
    EXPECT_EQ(confirmations, 1);
    QGuiApplication::clipboard()->clear();
    // The first item, "Copier l'animation", is lit as the menu shows: Enter.
    chooseWithKeys({Qt::Key_Return});
    EXPECT_EQ(confirmations, 2);
    EXPECT_EQ(QGuiApplication::clipboard()->image(), control<AnimationView>("animpic")->surface().image());
}

TEST_F(CopyTest, PicturesGoOnTheClipboardAsImages) {
    ticks(30);
    struct Case {
        std::function<void()> copy;
        std::function<QImage()> expected;
    };
    const std::vector<Case> cases{
        {[this] { copies->cop001_Click(); },
         [this] { return control<AnimationView>("animpic")->surface().image(); }},
        {[this] { copies->Cop002_Click(); },
         [this] { return control<GraphView>("Picture2")->surface().image(); }},
        {[this] { copies->cop0032_Click(); }, [this] { return tablePicture(*view()).image; }},
    };
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
        c.copy();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(data->hasImage());
        EXPECT_FALSE(data->hasText());
        const QImage expected = c.expected();
        EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(expected.format()), expected);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->image().height(), 16 + 51 * 17 + 2);
}

TEST_F(CopyTest, TableTextOfAPartlyFilledRunWithQrHidden) {
    control<QCheckBox>("Check3")->setChecked(false);
    window->Command5_Click();
    ticks(10);  // rows at 0, 0.4 and 0.8 s are filled
    copies->cop0031_Click();
    EXPECT_EQ(confirmations, 1);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_FALSE(text.endsWith('\n'));
    const QStringList lines = text.split('\n');
    ASSERT_EQ(lines.size(), 52);
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_EQ(lines[1], QStringLiteral("0,0      \t100\t100\t0\t0\t0,0"));
    for (int row : {2, 3}) {
        const QStringList cells = lines[row].split('\t');
        ASSERT_EQ(cells.size(), 6) << row;
        EXPECT_EQ(cells[0], row == 2 ? QStringLiteral("0,4      ") : QStringLiteral("0,8      "));
        int total = 0;
        for (int c = 1; c <= 4; ++c) total += cells[c].toInt();
        EXPECT_EQ(total, 200) << row;
        // Hidden on screen, the quotient is still in the copy.
        EXPECT_FALSE(cells[5].isEmpty()) << row;
        EXPECT_EQ(cells[5], QString::fromStdString(window->table().text(row, 5)));
    }
    EXPECT_EQ(lines[4], QStringLiteral("1,2      \t\t\t\t\t"));
    EXPECT_EQ(lines[51], QStringLiteral("20,0      \t\t\t\t\t"));
}

TEST_F(CopyTest, TableIsAlsoAnHtmlTableOfTheSameCells) {
    ticks(10);
    copies->cop0031_Click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasHtml());
    const QString html = data->html();
    EXPECT_EQ(html.count(QStringLiteral("<tr>")), 52);
    EXPECT_EQ(html.count(QStringLiteral("<th>")), 6);
    EXPECT_EQ(html.count(QStringLiteral("<td>")), 51 * 6);
    EXPECT_TRUE(html.contains(QStringLiteral("<th>Date (s)</th><th>Nombre de A</th>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<tr><td>0,0</td><td>100</td><td>100</td><td>0</td><td>0</td><td>0,0</td></tr>")));
    EXPECT_TRUE(
        html.contains(QStringLiteral("<tr><td>20,0</td><td></td><td></td><td></td><td></td><td></td></tr>")));
}

TEST_F(CopyTest, TextCopyLeavesTheWholeTableSelected) {
    control<QRadioButton>("Option1_1")->setChecked(true);
    copies->cop0031_Click();
    GridModel& grid = window->table();
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(grid.col(), 0);
    EXPECT_EQ(grid.rowSel(), grid.rows() - 1);
    EXPECT_EQ(grid.colSel(), 5);
    const QModelIndexList selected = view()->selectionModel()->selectedIndexes();
    EXPECT_EQ(selected.size(), 51 * 5);
    EXPECT_TRUE(view()->selectionModel()->isSelected(view()->model()->index(50, 5)));
    EXPECT_FALSE(view()->selectionModel()->isSelected(view()->model()->index(0, 0)));
    // A click in the table ends the highlight.
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_TRUE(view()->selectionModel()->selectedIndexes().isEmpty());
}

TEST_F(CopyTest, KeyboardOpensTheMenuUnderTheButton) {
    QPushButton button(QStringLiteral("Co&pier"), window.get());
    button.setGeometry(300, 12, 90, 25);
    button.show();
    QCursor::setPos(window->mapToGlobal(QPoint(700, 500)));
    QPoint shownAt;
    QTimer::singleShot(0, copies->menucop(), [&] {
        shownAt = copies->menucop()->pos();
        copies->menucop()->hide();
    });
    copies->Command4_Click(&button);
    EXPECT_EQ(shownAt, button.mapToGlobal(QPoint(0, button.height())));
    EXPECT_EQ(confirmations, 1);
}

class TablePictureTest : public ShownWindowTest {
protected:
    QTableView* view() { return control<QTableView>("MSFlexGrid1"); }
};

TEST_F(TablePictureTest, EveryRowDrawnAndTheViewLeftAsItWas) {
    ticks(80);
    for (bool tableShown : {false, true}) {
        control<QRadioButton>(tableShown ? "Option1_1" : "Option1_0")->setChecked(true);
        QTableView* grid = view();
        const QSize size = grid->size();
        grid->verticalScrollBar()->setValue(20);
        const int scrolled = grid->verticalScrollBar()->value();
        ASSERT_EQ(scrolled, 20);
        const TablePicture picture = tablePicture(*grid);

        const int rows = grid->model()->rowCount();
        EXPECT_EQ(picture.dataRows, rows);
        EXPECT_EQ(picture.rowHeight, grid->rowHeight(0));
        EXPECT_EQ(picture.image.height(),
                  2 * grid->frameWidth() + grid->horizontalHeader()->height() + rows * grid->rowHeight(0));
        EXPECT_EQ(picture.image.width(), 2 * grid->frameWidth() + grid->horizontalHeader()->length());
        EXPECT_EQ(grid->size(), size);
        EXPECT_EQ(grid->verticalScrollBar()->value(), scrolled);

        // The last row is the one the view shows at the bottom of its scroll.
        if (tableShown) {
            grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
            const QImage screen = grid->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int last = rows - 1;
            const int onScreen =
                grid->frameWidth() + grid->horizontalHeader()->height() + grid->rowViewportPosition(last);
            const int width = grid->horizontalHeader()->length();
            const QImage strip = picture.image.copy(1, picture.headerBottom + last * picture.rowHeight, width,
                                                    picture.rowHeight);
            ASSERT_LE(onScreen + picture.rowHeight, screen.height());
            EXPECT_TRUE(hasText(strip));  // the time of the last row
            EXPECT_EQ(strip, screen.copy(1, onScreen, width, picture.rowHeight));
        }
    }
}

}  // namespace
}  // namespace molvane
