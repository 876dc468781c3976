// The window from the keyboard alone: the Tab order, the focus on the vessel,
// the button row and where the tab keys are told.
#include <QAbstractScrollArea>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>

#include "tests/ui/fixture.h"
#include "ui/main/pictures.h"
#include "ui/main/tabstrip.h"

namespace molvane {
namespace {

class KeyboardTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The controls Tab visits from the first count box round to it again.
    // The controls Tab visits from the first count box round to it again;
    // Shift+Tab visits the same backwards.
    std::vector<std::string> tabRound() {
        std::vector<std::string> forth = round(Qt::Key_Tab), back = round(Qt::Key_Backtab);
        std::reverse(back.begin() + 1, back.end());
        EXPECT_EQ(back, forth) << "Shift+Tab";
        return forth;
    }

    std::vector<std::string> round(Qt::Key key) {
        std::vector<std::string> names;
        QWidget* first = control<QWidget>("Text1_0");
        first->setFocus(Qt::TabFocusReason);
        for (int k = 0; k < 60; ++k) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || (k > 0 && focus == first)) break;
            names.push_back(focus->objectName().toStdString());
            QTest::keyClick(focus, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        return names;
    }

    static std::vector<std::string> names(std::initializer_list<const char*> list) {
        return std::vector<std::string>(list.begin(), list.end());
    }
};

TEST_F(KeyboardTest, TabFollowsTheScreen) {
    // The keyboard starts in the first count box; the vessel, which a screen
    // reader reads on demand, closes the round.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Text1_0"));
    // The counts and the counts during the reaction, then the tab strip.
    const auto counts = {"Text1_0", "Text1_1", "Text1_2", "Text1_3", "Pendant", "Onglets"};
    // The graph, or the table when it is shown, after the controls under the
    // vessel; the display size under the text area; the vessel and the
    // equation above the boxes close the round.
    std::vector<std::string> expected = names(counts);
    for (const std::string& name :
         names({"Label5_0", "VScroll4_0", "Label5_1",  "VScroll4_1", "HScroll1",  "Comloupe", "Command5",
                "Picture2", "Command11",  "Command2",  "Command4",   "Command10", "Command8", "Command7",
                "Command1", "btexo",      "supertext", "Comtaille",  "animpic",   "Equation"}))
        expected.push_back(name);
    EXPECT_EQ(tabRound(), expected) << "Paramètres";

    // Kept curves show "Effacer" from the next restart on, beside the box that keeps them.
    control<QWidget>("VScroll2")->setProperty("value", 12);
    ticks(101);
    control<QPushButton>("Command5")->click();
    control<TabStrip>("Onglets")->setCurrent(TabStrip::Affichage);
    expected = names(counts);
    for (const std::string& name :
         names({"Label4_1", "Label4_2",  "Label4_3",  "Label4_4", "Check1",   "Check2",
                "Command6", "Check3",    "Comloupe",  "Command5", "Picture2", "Command11",
                "Command2", "Command4",  "Command10", "Command8", "Command7", "Command1",
                "btexo",    "supertext", "Comtaille", "animpic",  "Equation"}))
        expected.push_back(name);
    EXPECT_EQ(tabRound(), expected) << "Affichage";

    // The table, when shown, comes after the controls under the vessel.
    control<QRadioButton>("Option1_1")->setChecked(true);
    control<TabStrip>("Onglets")->setCurrent(TabStrip::Suivi);
    expected = names(counts);
    // Of the two views, Tab goes to the one chosen (the arrows choose); the
    // curve boxes are disabled while the table is shown.
    for (const std::string& name :
         names({"VScroll2", "Option1_1", "VScroll3", "Comloupe", "Command5", "MSFlexGrid1", "Command11",
                "Command2", "Command4", "Command10", "Command8", "Command7", "Command1", "btexo", "supertext",
                "Comtaille", "animpic", "Equation"}))
        expected.push_back(name);
    EXPECT_EQ(tabRound(), expected) << "Suivi du système";
    // The arrows choose the other view.
    control<QRadioButton>("Option1_1")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_TRUE(control<QRadioButton>("Option1_0")->isChecked());
}

TEST_F(KeyboardTest, ButtonRowHoldsEveryCommandInOrder) {
    struct Case {
        const char* name;
        const char* caption;
        bool shown;
        const char* tip;
    };
    const std::vector<Case> row{
        {"Command11", "&Enregistrer", true, ""},
        {"Command2", "&Ouvrir", true, ""},
        {"Command4", "Co&pier", true, ""},
        {"Command10", "&Imprimer", true, "Imprimer l'image"},
        {"Command8", "&Calculatrice", true, ""},
        {"Command7", "&Aide", true, ""},
        {"Command1", "&Fermer", true, "Quitter cette application"},
    };
    EXPECT_FALSE(control<QPushButton>("btexo")->isHidden()) << "the exercises are there";
    int right = 0;
    for (const Case& c : row) {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(c.name));
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(!b->isHidden(), c.shown) << c.name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.tip)) << c.name;
        // One row above the vessel's frame and the strip, left to right.
        EXPECT_GE(b->y(), 12);
        EXPECT_LE(b->geometry().bottom(), 37);
        EXPECT_GT(b->x(), right) << c.name;
        right = b->geometry().right();
    }
    EXPECT_LE(right, 793);
    EXPECT_EQ(control<QPushButton>("btexo")->text(), QStringLiteral("E&xercices"));
    EXPECT_EQ(control<QPushButton>("Comloupe")->text(), QStringLiteral("A&grandir"));

    auto* fich = control<QLineEdit>("fich");
    // No button covers another control of the window.
    EXPECT_EQ(fich->geometry().right(), 789);
    EXPECT_EQ(fich->x(), control<QPushButton>("btexo")->geometry().right() + 1);
    const QList<QWidget*> controls = window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (const char* name : {"Command11", "Command2", "Command4", "Command10", "Command8", "Command7",
                             "Command1", "btexo", "Comloupe"}) {
        auto* button = control<QPushButton>(name);
        const QRect place = button->geometry();
        for (const QWidget* other : controls) {
            if (other == button || other->isHidden()) continue;
            EXPECT_FALSE(place.intersects(other->geometry()))
                << name << " over " << other->objectName().toStdString();
        }
    }
}

TEST_F(KeyboardTest, EnterOnAFocusedButtonClicksItOnce) {
    for (const char* name : {"Command5", "Comloupe", "Command4", "Command8", "btexo"}) {
        auto* button = control<QPushButton>(name);
        int clicks = 0;
        const auto counted = QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
        button->setFocus(Qt::TabFocusReason);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
        QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier);
        for (QKeyEvent* key : {&press, &held, &keypad, &shifted}) {
            Answers answers({});
            QTimer::singleShot(0, [] {
                if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
                if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            });
            QApplication::sendEvent(button, key);
        }
        EXPECT_EQ(clicks, 2) << name << ": a press and the keypad's Enter, not the held key";
        QObject::disconnect(counted);
    }
}

TEST_F(KeyboardTest, PicturesShowWhenTheyHaveTheKeyboard) {
    auto* vessel = control<AnimationView>("animpic");
    // The frame lies just inside the vessel; the image never draws it.
    const auto framed = [&] {
        const QImage shown = vessel->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage& drawn = vessel->surface().image();
        int differ = 0;
        for (int y = 10; y < vessel->height() - 10; ++y)
            differ += shown.pixelColor(2, y) != drawn.pixelColor(2, y);
        return differ > 0;
    };
    EXPECT_FALSE(framed());
    // Enter in a count box hands the keyboard to the vessel.
    auto* count = control<QLineEdit>("Text1_2");
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Return);
    ASSERT_TRUE(vessel->hasFocus());
    EXPECT_TRUE(framed());
    control<QWidget>("Command5")->setFocus();
    EXPECT_FALSE(framed());

    // The table, which selects no cell, shows the same frame inside its cells.
    control<QRadioButton>("Option1_1")->setChecked(true);
    auto* table = control<QAbstractScrollArea>("MSFlexGrid1");
    const auto tableFramed = [&] {
        const QImage shown = table->viewport()->grab().toImage();
        int dark = 0;
        for (int y = 10; y < table->viewport()->height() - 10; ++y)
            dark += shown.pixelColor(2, y).lightness() < 60;
        return dark > 0;
    };
    EXPECT_FALSE(tableFramed());
    table->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(tableFramed());
}

TEST_F(KeyboardTest, TabStripTellsItsKeys) {
    auto* strip = control<TabStrip>("Onglets");
    QMouseEvent move(QEvent::MouseMove, QPointF(strip->boundaries()[2] + 5, 5),
                     strip->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    const QString help = control<QLabel>("info")->text();
    EXPECT_TRUE(help.contains(QStringLiteral("Ctrl+Tab"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("Ctrl+Maj+Tab"))) << help.toStdString();
}

}  // namespace
}  // namespace molvane
