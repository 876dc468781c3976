// What a screen reader reads of the run: the vessel's and the graph's text,
// said once at the end of a recording; the table with its headers; the tabs.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QtTest/QTest>
#include <map>

#include "calc/machine.h"
#include "exercises/textarea.h"
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
    const QString start =
        QStringLiteral("Temps écoulé : 00 h 00 min 00,0 s. Particules : A 100, B 100, C 0, D 0. Qr = 0,0.");
    for (const char* name : {"animpic", "Picture2"}) {
        QAccessibleInterface* picture = reader(name);
        EXPECT_EQ(picture->role(), QAccessible::Graphic) << name;
        EXPECT_FALSE(picture->text(QAccessible::Name).isEmpty()) << name;
    }
    EXPECT_EQ(reader("animpic")->text(QAccessible::Description), start);
    // The graph says first what its curves show.
    EXPECT_EQ(
        reader("Picture2")->text(QAccessible::Description),
        QStringLiteral("Nombre de particules de C en orange en fonction du temps, de 0 à 20 s. ") + start);
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

TEST_F(ReaderTest, WhatTheWindowOnlyDrawsIsReachedAndRead) {
    // The equation and the counts during the reaction are drawn, not
    // controls: the keyboard stops on them, and they read as they are.
    EXPECT_EQ(reader("Equation")->text(QAccessible::Name),
              QStringLiteral(
                  "Équation chimique : A + B = C + D ; A en bleu, B en magenta, C en orange, D en vert"));
    control<Swatch>("Label4_2")->setValue(0x0000FF);  // 0x00BBGGRR: red
    EXPECT_TRUE(reader("Equation")->text(QAccessible::Name).contains(QStringLiteral("B en rouge")));
    ticks(20);
    QString during = QStringLiteral("Pendant la réaction : ");
    for (int s = 0; s < 4; ++s) {
        const QString count =
            control<QLabel>(QByteArray("Labelinf_" + QByteArray::number(s)).constData())->text();
        ASSERT_FALSE(count.trimmed().isEmpty());
        during += QStringLiteral("%1 %2%3").arg(QChar(u'A' + s)).arg(count.trimmed(), s < 3 ? ", " : "");
    }
    EXPECT_EQ(reader("Pendant")->text(QAccessible::Name), during);
    for (const char* name : {"Equation", "Pendant", "Picture2", "Comtaille"})
        EXPECT_TRUE(control<QWidget>(name)->focusPolicy() & Qt::TabFocus) << name;
    // The graph takes the keyboard while it is shown, the table while it is.
    control<QRadioButton>("Option1_1")->setChecked(true);
    EXPECT_FALSE(control<QWidget>("Picture2")->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(control<QWidget>("MSFlexGrid1")->focusPolicy() & Qt::TabFocus);
    control<QRadioButton>("Option1_0")->setChecked(true);
    EXPECT_TRUE(control<QWidget>("Picture2")->focusPolicy() & Qt::TabFocus);
}

TEST(CalculatorReading, GroupsOfChoicesReadAsGroupsNamedByTheirTitles) {
    Machine machine;
    int groups = 0;
    for (QGroupBox* box : machine.findChildren<QGroupBox*>()) {
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(box);
        EXPECT_NE(read->role(), QAccessible::Grouping) << box->title().toStdString();
        EXPECT_EQ(read->text(QAccessible::Name), box->title());
        // Their option buttons lie in them.
        ASSERT_GE(read->childCount(), 2);
        EXPECT_EQ(read->child(0)->role(), QAccessible::RadioButton);
        ++groups;
    }
    EXPECT_EQ(groups, 2);
}

TEST(TextAreaNames, SayWhichTextTheAreaHolds) {
    const struct {
        const char* fich;
        const char* name;
    } cases[] = {
        {"", "Énoncé et réponses"},
        {"/home/eleve/Exercices/vitesse.E32", "Énoncé et réponses : vitesse.E32"},
        {"Texte: /tmp/TP/essai.rtf", "Énoncé et réponses : Texte: essai.rtf"},
        {"Texte: C:\\TP\\essai.rtf", "Énoncé et réponses : Texte: essai.rtf"},
        {"Prise en main", "Énoncé et réponses : Prise en main"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textAreaName(QString::fromUtf8(c.fich)).toStdString(), c.name) << c.fich;
}

TEST_F(ReaderTest, TheIntroductionHasACaretThatTheArrowsMove) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* text = control<QTextEdit>("supertext");
    window->textArea().showIntroduction();
    ASSERT_TRUE(text->isReadOnly());
    EXPECT_EQ(reader("supertext")->text(QAccessible::Name), QStringLiteral("Énoncé et réponses"));
    text->setFocus(Qt::TabFocusReason);
    const QString before = text->toPlainText();
    text->moveCursor(QTextCursor::Start);
    QTest::keyClick(text, Qt::Key_Down);
    const int secondLine = text->textCursor().position();
    EXPECT_GT(secondLine, 0) << "the down arrow moves the caret";
    QTest::keyClick(text, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_GT(text->textCursor().position(), secondLine) << "Ctrl+right goes to the next word";
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(text->textCursor().position(), text->document()->characterCount() - 1);
    QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(text->textCursor().position(), 0);
    // The caret reads, it never writes.
    QTest::keyClicks(text, QStringLiteral("xyz"));
    QTest::keyClick(text, Qt::Key_Delete);
    EXPECT_EQ(text->toPlainText(), before);
    // A reader follows the caret through the text's reading.
    EXPECT_EQ(reader("supertext")->textInterface()->cursorPosition(), 0);
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
        // Each cell is read with its heading, as a row read cell by cell needs.
        EXPECT_EQ(cell->text(QAccessible::Name),
                  QString::fromUtf8(c.header) + QStringLiteral(" : ") +
                      QString::fromStdString(window->table().text(2, c.column)).trimmed())
            << c.header;
    }
    // A row not yet recorded says so.
    EXPECT_EQ(cells->cellAt(cells->rowCount() - 1, 1)->text(QAccessible::Name),
              QStringLiteral("Nombre de A : vide"));
    // The Qr column hidden in white is not read out either.
    control<QCheckBox>("Check3")->setChecked(false);
    control<QPushButton>("Command5")->click();
    ticks(40);
    // The restart made the table anew; offscreen no reader tells the cached
    // interface so, which is then made again.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(table));
    cells = reader("MSFlexGrid1")->tableInterface();
    EXPECT_EQ(cells->cellAt(1, 5)->text(QAccessible::Name), QStringLiteral("Qr : masqué"));
    EXPECT_EQ(cells->cellAt(1, 1)->text(QAccessible::Name),
              QStringLiteral("Nombre de A : ") + QString::fromStdString(window->table().text(2, 1)));
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
    // Each tab holds its panel, and the panel lies in its tab.
    EXPECT_EQ(tabs->childCount(), 3);
    for (int k = 0; k < 3; ++k) {
        QAccessibleInterface* panel = tabs->child(k)->child(0);
        ASSERT_NE(panel, nullptr) << k;
        EXPECT_EQ(panel->object(), strip->panel(k + 1)) << k;
        EXPECT_EQ(panel->parent(), tabs->child(k)) << k;
        EXPECT_EQ(tabs->child(k)->indexOfChild(panel), 0) << k;
    }
}

TEST_F(ReaderTest, TheStripTakesTheKeyboardAndItsArrowsSayTheTab) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    std::vector<QString> focused;
    setReaderWatcher([&focused](QAccessibleEvent* event) {
        if (event->type() == QAccessible::Focus && event->accessibleInterface())
            focused.push_back(event->accessibleInterface()->text(QAccessible::Name));
    });
    auto* strip = control<TabStrip>("Onglets");
    // The strip comes after the counts in the Tab round.
    control<QWidget>("Pendant")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), strip);
    QTRY_VERIFY(!focused.empty());
    EXPECT_EQ(focused.back(), QStringLiteral("Paramètres"));
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(strip);
    EXPECT_EQ(tabs->focusChild(), tabs->child(0));
    EXPECT_TRUE(tabs->child(0)->state().focused);
    const struct {
        Qt::Key key;
        int tab;
    } keys[] = {{Qt::Key_Right, TabStrip::Affichage},  {Qt::Key_Right, TabStrip::Suivi},
                {Qt::Key_Right, TabStrip::Parametres}, {Qt::Key_Left, TabStrip::Suivi},
                {Qt::Key_Home, TabStrip::Parametres},  {Qt::Key_End, TabStrip::Suivi}};
    for (const auto& k : keys) {
        focused.clear();
        QTest::keyClick(strip, k.key);
        EXPECT_EQ(strip->current(), k.tab);
        EXPECT_EQ(QApplication::focusWidget(), strip) << "the keyboard stays on the strip";
        ASSERT_EQ(focused.size(), 1u) << k.tab;
        EXPECT_EQ(focused.back(), TabStrip::name(k.tab));
        EXPECT_TRUE(tabs->child(k.tab - 1)->state().focused);
    }
    // Tab goes on into the panel shown.
    QTest::keyClick(strip, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("VScroll2"));
    setReaderWatcher({});
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

// What the reader was last told of each control's value.
std::map<const QObject*, QVariant>& toldValues() {
    static std::map<const QObject*, QVariant> told;
    return told;
}

TEST_F(ReaderTest, BarsReadAsTheValuesTheyShowAndTellEachChange) {
    toldValues().clear();
    setReaderWatcher([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::ValueChanged)
            toldValues()[event->object()] = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    });
    const struct {
        const char* bar;
        int position;
        QAccessible::Role role;
        double value;
        const char* text;  // the spin button's text
    } cases[] = {
        {"VScroll4_0", 48, QAccessible::SpinBox, 52, "52 %"},
        {"VScroll4_1", 70, QAccessible::SpinBox, 30, "30 %"},
        {"VScroll4_1", 0, QAccessible::SpinBox, 100, "100 %"},
        {"VScroll2", 12, QAccessible::SpinBox, 10, "10 s"},
        {"VScroll2", 8, QAccessible::SpinBox, 90, "1 min  30 s"},
        {"VScroll2", 1, QAccessible::SpinBox, 7200, "2 h"},
        {"VScroll3", 60, QAccessible::SpinBox, 51, "51 lignes"},
        {"VScroll3", 100, QAccessible::SpinBox, 11, "11 lignes"},
        {"HScroll1", 730, QAccessible::Slider, 730, nullptr},
    };
    for (const auto& c : cases) {
        auto* bar = control<QScrollBar>(c.bar);
        bar->setValue(c.position == bar->value() ? c.position + 1 : c.position);
        bar->setValue(c.position);
        QAccessibleInterface* read = reader(c.bar);
        EXPECT_EQ(read->role(), c.role) << c.bar;
        ASSERT_NE(read->valueInterface(), nullptr) << c.bar;
        EXPECT_EQ(read->valueInterface()->currentValue().toDouble(), c.value) << c.bar;
        EXPECT_EQ(toldValues()[bar].toDouble(), c.value) << c.bar << ": the last change told";
        if (c.text) {
            ASSERT_NE(read->textInterface(), nullptr) << c.bar;
            EXPECT_EQ(read->textInterface()->text(0, -1), QString::fromUtf8(c.text)) << c.bar;
            EXPECT_EQ(read->text(QAccessible::Value), QString::fromUtf8(c.text)) << c.bar;
        }
    }
    setReaderWatcher({});
    // Each range runs from the lowest value to the highest, whatever the bar's direction.
    const struct {
        const char* bar;
        double minimum, maximum;
    } ranges[] = {
        {"VScroll4_0", 0, 100}, {"VScroll2", 10, 7200}, {"VScroll3", 11, 101}, {"HScroll1", 200, 800}};
    for (const auto& r : ranges) {
        EXPECT_EQ(reader(r.bar)->valueInterface()->minimumValue().toDouble(), r.minimum) << r.bar;
        EXPECT_EQ(reader(r.bar)->valueInterface()->maximumValue().toDouble(), r.maximum) << r.bar;
    }
    // The temperature has no number on screen: its range is said in words.
    EXPECT_TRUE(reader("HScroll1")
                    ->text(QAccessible::Description)
                    .startsWith(QStringLiteral("Position de 200, froid, à 800, chaud ; ")));
}

TEST_F(ReaderTest, AReaderSetsAndStepsTheValuesAsShown) {
    const struct {
        const char* bar;
        double asked;
        int position;
        const char* label;
        const char* shown;
    } cases[] = {
        {"VScroll4_0", 75, 25, "Label5_0", "75 %"},
        {"VScroll4_1", 140, 0, "Label5_1", "100 %"},
        {"VScroll2", 30, 10, "Label2", "30 s"},
        {"VScroll2", 100, 8, "Label2", "1 min  30 s"},  // the nearest duration
        {"VScroll3", 21, 90, "Label3", "21"},
    };
    for (const auto& c : cases) {
        reader(c.bar)->valueInterface()->setCurrentValue(c.asked);
        EXPECT_EQ(control<QScrollBar>(c.bar)->value(), c.position) << c.bar;
        QWidget* label = control<QWidget>(c.label);
        const QString text = qobject_cast<QLineEdit*>(label) ? static_cast<QLineEdit*>(label)->text()
                                                             : static_cast<QLabel*>(label)->text();
        EXPECT_EQ(text, QString::fromUtf8(c.shown)) << c.bar;
    }
    // A step up raises the value shown, whichever way the bar runs.
    for (const char* bar : {"VScroll4_0", "VScroll3", "HScroll1"}) {
        QAccessibleInterface* read = reader(bar);
        const double before = read->valueInterface()->currentValue().toDouble();
        read->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        EXPECT_GT(read->valueInterface()->currentValue().toDouble(), before) << bar;
        read->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        EXPECT_EQ(read->valueInterface()->currentValue().toDouble(), before) << bar;
    }
}

TEST_F(ReaderTest, TheTemperatureArrowsGoTheWayItsPictureGoes) {
    // The band is blue on the left and red on the right.
    auto* temperature = control<QScrollBar>("HScroll1");
    temperature->setValue(500);
    QTest::keyClick(temperature, Qt::Key_Right);
    EXPECT_GT(temperature->value(), 500) << "the right arrow warms";
    QTest::keyClick(temperature, Qt::Key_Left);
    QTest::keyClick(temperature, Qt::Key_Left);
    EXPECT_LT(temperature->value(), 500) << "the left arrow cools";
    // The vertical bars keep their top as their highest value.
    auto* percent = control<QScrollBar>("VScroll4_0");
    QTest::keyClick(percent, Qt::Key_Up);
    EXPECT_EQ(control<QLineEdit>("Label5_0")->text(), QStringLiteral("51 %"));
}

}  // namespace
}  // namespace molvane
