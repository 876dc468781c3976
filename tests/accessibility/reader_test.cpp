// What a screen reader reads of the run: the vessel's and the graph's text,
// said once at the end of a recording; the table with its headers; the tabs.
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest/QTest>

#include "tests/ui/fixture.h"
#include "ui/main/accessiblenames.h"
#include "ui/main/inputs.h"
#include "ui/main/tabstrip.h"
#include "windowkit/accessibility.h"

namespace molvane {
namespace {

// The pictures announced to a reader.
std::vector<QString>& caught() {
    static std::vector<QString> announced;
    return announced;
}

class ReaderTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        caught().clear();
        setAnnouncementWatcher([](const QWidget* picture) { caught().push_back(picture->objectName()); });
    }
    void TearDown() override { setAnnouncementWatcher({}); }
    QAccessibleInterface* reader(const char* name) {
        return QAccessible::queryAccessibleInterface(control<QWidget>(name));
    }
    int saidTimes(const char* name) {
        return static_cast<int>(std::count(caught().begin(), caught().end(), QString::fromLatin1(name)));
    }
};

TEST_F(ReaderTest, VesselAndGraphReadTheTimeCountsAndQr) {
    for (const char* name : {"animpic", "Picture2"}) {
        QAccessibleInterface* picture = reader(name);
        EXPECT_EQ(picture->role(), QAccessible::Graphic) << name;
        EXPECT_FALSE(picture->text(QAccessible::Name).isEmpty()) << name;
        EXPECT_EQ(picture->text(QAccessible::Description),
                  QStringLiteral(
                      "Temps écoulé : 00 h 00 min 00,0 s. Particules : A 100, B 100, C 0, D 0. Qr = 0,0."))
            << name;
    }
    ticks(30);
    const QString read = reader("animpic")->text(QAccessible::Description);
    const Simulation& run = window->simulation();
    EXPECT_TRUE(read.contains(control<QLabel>("Label1")->text())) << read.toStdString();
    EXPECT_TRUE(read.contains(QStringLiteral("C %1,").arg(run.nbC()))) << read.toStdString();

    // Without A or B there is no quotient, and the text says so.
    for (const auto& [box, text] : {std::pair{"Text1_0", "0"}, {"Text1_1", "0"}, {"Text1_2", "200"}})
        control<QLineEdit>(box)->setText(QString::fromLatin1(text));
    control<QPushButton>("Command5")->click();
    EXPECT_TRUE(reader("Picture2")->text(QAccessible::Description).contains(QStringLiteral("Qr non défini")));
}

TEST_F(ReaderTest, TheEndOfARecordingIsSaidOnceNotEveryTick) {
    // 10 s of recording at 0.1 s a tick (the duration bar's top position).
    control<QScrollBar>("VScroll2")->setValue(12);
    caught().clear();
    ticks(99);
    EXPECT_EQ(saidTimes("animpic"), 0) << "while recording";
    ticks(2);
    EXPECT_EQ(saidTimes("animpic"), 1);
    EXPECT_EQ(saidTimes("Picture2"), 1);
    ticks(50);
    EXPECT_EQ(saidTimes("animpic"), 1) << "after the recording";
    // A restart records again, and its end is said again.
    control<QPushButton>("Command5")->click();
    ticks(102);
    EXPECT_EQ(saidTimes("animpic"), 2);
}

TEST_F(ReaderTest, TableReadsItsCellsWithTheirHeaders) {
    control<QRadioButton>("Option1_1")->setChecked(true);
    control<QScrollBar>("VScroll2")->setValue(12);
    ticks(40);
    QAccessibleInterface* table = reader("MSFlexGrid1");
    ASSERT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->columnCount(), 6);
    EXPECT_EQ(cells->rowCount(), window->table().rows() - 1);
    const struct {
        int column;
        const char* header;
    } columns[] = {{0, "Date (s)"}, {1, "Nombre de A"}, {3, "Nombre de C"}, {5, "Qr"}};
    for (const auto& c : columns) {
        QAccessibleInterface* cell = cells->cellAt(1, c.column);
        ASSERT_NE(cell, nullptr) << c.header;
        const auto headers = cell->tableCellInterface()->columnHeaderCells();
        ASSERT_EQ(headers.size(), 1) << c.header;
        EXPECT_EQ(headers[0]->text(QAccessible::Name), QString::fromUtf8(c.header));
        EXPECT_EQ(cell->text(QAccessible::Name), QString::fromStdString(window->table().text(2, c.column)))
            << c.header;
    }
    // The Qr column hidden in white is not read out either.
    control<QCheckBox>("Check3")->setChecked(false);
    control<QPushButton>("Command5")->click();
    ticks(40);
    // The restart made the table anew; offscreen no reader tells the cached
    // interface so, which is then made again.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(table));
    cells = reader("MSFlexGrid1")->tableInterface();
    EXPECT_EQ(cells->cellAt(1, 5)->text(QAccessible::Name), QStringLiteral("masqué"));
    EXPECT_EQ(cells->cellAt(1, 1)->text(QAccessible::Name),
              QString::fromStdString(window->table().text(2, 1)));
}

TEST_F(ReaderTest, TheStripReadsAsThreeTabsThatCanBePressed) {
    auto* strip = control<TabStrip>("Onglets");
    window->show();
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(strip);
    ASSERT_EQ(tabs->role(), QAccessible::PageTabList);
    ASSERT_GE(tabs->childCount(), 3);
    const auto selected = [&] {
        std::vector<bool> states;
        for (int k = 0; k < 3; ++k) states.push_back(tabs->child(k)->state().selected);
        return states;
    };
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(tabs->child(k)->role(), QAccessible::PageTab);
        EXPECT_EQ(tabs->child(k)->text(QAccessible::Name), TabStrip::name(k + 1));
        EXPECT_EQ(tabs->indexOfChild(tabs->child(k)), k);
        EXPECT_EQ(tabs->child(k)->parent(), tabs);
    }
    EXPECT_EQ(selected(), (std::vector<bool>{true, false, false}));
    tabs->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(strip->current(), TabStrip::Suivi);
    EXPECT_EQ(selected(), (std::vector<bool>{false, false, true}));
    // The panels follow the tabs, each found once.
    for (int k = 3; k < tabs->childCount(); ++k) EXPECT_EQ(tabs->indexOfChild(tabs->child(k)), k);
}

TEST_F(ReaderTest, SwatchesReadAsButtonsThatOpenTheColourDialog) {
    QAccessibleInterface* swatch = reader("Label4_3");
    EXPECT_EQ(swatch->role(), QAccessible::Button);
    EXPECT_EQ(swatch->text(QAccessible::Name), QStringLiteral("Couleur de C"));
    int asked = 0;
    setColourResponder([&](const QColor&) {
        ++asked;
        return QColor();
    });
    swatch->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    setColourResponder({});
    EXPECT_EQ(asked, 1);
}

TEST(ColourNames, SayTheColourAPupilCannotSee) {
    const struct {
        QColor colour;
        const char* name;
    } cases[] = {
        // The four species' colours at start.
        {QColor(0, 0, 255), "bleu"},       {QColor(255, 0, 255), "magenta"},
        {QColor(255, 128, 0), "orange"},   {QColor(0, 192, 0), "vert"},
        {QColor(0, 0, 0), "noir"},         {QColor(255, 255, 255), "blanc"},
        {QColor(128, 128, 128), "gris"},   {QColor(192, 192, 192), "gris clair"},
        {QColor(255, 0, 0), "rouge"},      {QColor(255, 255, 0), "jaune"},
        {QColor(0, 0, 100), "bleu foncé"}, {QColor(160, 255, 160), "vert clair"},
        {QColor(128, 0, 255), "violet"},   {QColor(0, 255, 255), "cyan"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colourName(c.colour).toStdString(), c.name) << c.colour.name().toStdString();
}

TEST_F(ReaderTest, SwatchesSayTheirColourInWords) {
    // Question a. of the getting-started lesson, for a pupil who does not see the vessel.
    const char* expected[] = {"bleu", "magenta", "orange", "vert"};
    for (int s = 0; s < 4; ++s) {
        const QByteArray name = "Label4_" + QByteArray::number(s + 1);
        EXPECT_TRUE(reader(name.constData())
                        ->text(QAccessible::Description)
                        .startsWith(QString::fromLatin1(expected[s])))
            << name.constData() << ": "
            << reader(name.constData())->text(QAccessible::Description).toStdString();
    }
    control<Swatch>("Label4_1")->setValue(0x0000FF);  // 0x00BBGGRR: red
    EXPECT_TRUE(reader("Label4_1")->text(QAccessible::Description).startsWith(QStringLiteral("rouge")));
}

TEST_F(ReaderTest, BarsSayTheValueTheySetWithItsUnit) {
    auto* duration = control<QScrollBar>("VScroll2");
    duration->setValue(12);
    EXPECT_EQ(reader("VScroll2")->text(QAccessible::Description),
              QStringLiteral("Durée : ") + control<QLabel>("Label2")->text());
    EXPECT_TRUE(reader("VScroll2")->text(QAccessible::Description).endsWith(QStringLiteral(" s")));
    control<QScrollBar>("VScroll4_1")->setValue(70);
    EXPECT_EQ(reader("VScroll4_1")->text(QAccessible::Description), QStringLiteral("Pourcentage : 30 %"));
    control<QScrollBar>("VScroll3")->setValue(100);
    EXPECT_EQ(reader("VScroll3")->text(QAccessible::Description), QStringLiteral("Nombre de lignes : 11"));
}

}  // namespace
}  // namespace molvane
