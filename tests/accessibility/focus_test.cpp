// The keyboard after a box, a dialog or a menu: back on the control that had
// it, as a pupil without a mouse needs; and every key of the calculator
// reached with Tab.
#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>
#include <set>
#include <tuple>

#include "calc/machine.h"
#include "tests/ui/fixture.h"
#include "ui/main/tabstrip.h"

namespace molvane {
namespace {

// Closes the next modal window or menu as Escape would, once it is up.
// The poll lives with `owner` (the test's window), and its flag with whoever
// holds it: a poll left over from one test can never reach into another.
std::shared_ptr<bool> closeWhenShown(QObject* owner) {
    auto closed = std::make_shared<bool>(false);
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, closed] {
        QWidget* up = QApplication::activePopupWidget();
        if (!up) up = QApplication::activeModalWidget();
        if (!up) return;
        // Once only: a box opened later must not find this poll, whose flag
        // may be gone by then.
        poll->stop();
        poll->deleteLater();
        QTest::keyClick(up->focusWidget() ? up->focusWidget() : up, Qt::Key_Escape);
        *closed = true;
    });
    poll->start(20);
    return closed;
}

class FocusTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

TEST_F(FocusTest, ComesBackToTheControlAfterEachBoxDialogAndMenu) {
    // Pressed with Space, as a pupil without a mouse does.
    for (const char* name :
         {"Command8", "Command11", "Command2", "btexo", "Command4", "Comloupe", "Label4_2"}) {
        if (std::string(name) == "Label4_2") control<TabStrip>("Onglets")->setCurrent(TabStrip::Affichage);
        QWidget* pressed = control<QWidget>(name);
        pressed->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(pressed->hasFocus()) << name;
        const auto closed = closeWhenShown(window.get());
        QTest::keyClick(pressed, Qt::Key_Space);
        QTRY_VERIFY2(*closed, name);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), pressed, 2000);
        EXPECT_TRUE(window->isActiveWindow()) << name;
    }
}

TEST_F(FocusTest, ComesBackToTheMainWindowWhenTheHelpCloses) {
    // The help is no modal window: nobody but the program gives the keyboard back.
    auto* help = control<QPushButton>("Command7");
    help->setFocus(Qt::TabFocusReason);
    QTest::keyClick(help, Qt::Key_Space);
    QWidget* shown = nullptr;
    QTRY_VERIFY((shown = QApplication::activeWindow()) != nullptr && shown != window.get());
    QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown, Qt::Key_Escape);
    QTRY_VERIFY(window->isActiveWindow());
    QTRY_COMPARE(QApplication::focusWidget(), help);
}

TEST_F(FocusTest, TabLeavesTheTextWhereThePupilWrites) {
    // An exercise's text takes the pupil's answers; Tab still goes on, to the
    // display size under it, and Shift+Tab back to the exercises.
    auto* text = control<QTextEdit>("supertext");
    text->setReadOnly(false);
    const QString before = text->toPlainText();
    for (const auto& [key, modifiers, next] : {std::tuple{Qt::Key_Tab, Qt::NoModifier, "Comtaille"},
                                               std::tuple{Qt::Key_Backtab, Qt::ShiftModifier, "btexo"}}) {
        text->setFocus(Qt::TabFocusReason);
        QTest::keyClick(text, key, modifiers);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
        EXPECT_EQ(text->toPlainText(), before);
    }
}

TEST_F(FocusTest, MenusOpenOnTheirFirstItem) {
    // A screen reader says where the arrows start as soon as the menu shows.
    for (const char* name : {"btexo", "Command4"}) {
        auto* pressed = control<QPushButton>(name);
        pressed->setFocus(Qt::TabFocusReason);
        QString lit;
        auto* poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, &lit] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu || !menu->activeAction()) return;
            poll->stop();
            poll->deleteLater();
            lit = menu->activeAction()->text().remove(u'&');
            menu->close();
        });
        poll->start(20);
        QTest::keyClick(pressed, Qt::Key_Space);
        QTRY_VERIFY2(!lit.isEmpty(), name);
        EXPECT_TRUE(lit == QStringLiteral("Prise en main") || lit == QStringLiteral("Copier l'animation"))
            << name << " " << lit.toStdString();
    }
}

TEST_F(FocusTest, ComesBackToTheBarAfterItsQuestion) {
    // Kept curves make a new duration ask before it drops them.
    auto* duration = control<QScrollBar>("VScroll2");
    duration->setValue(12);
    ticks(105);
    ASSERT_TRUE(window->simulation().showsKeptCurves());
    control<TabStrip>("Onglets")->setCurrent(TabStrip::Suivi);
    duration->setFocus(Qt::TabFocusReason);
    const auto closed = closeWhenShown(window.get());
    QTest::keyClick(duration, Qt::Key_Down);
    QTRY_VERIFY(*closed);
    EXPECT_EQ(duration->value(), 12) << "the question was refused";
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), static_cast<QWidget*>(duration), 2000);
}

TEST_F(FocusTest, ARefusedCountKeepsTheKeyboardWithItsNewCount) {
    // Left with Tab or with Enter, an accepted count lets the keyboard go on;
    // a refused one keeps it, holding the count it was brought back to.
    const struct {
        Qt::Key leaving;
        const char* b;
        const char* typed;
        bool refused;
        const char* after;
        const char* focus;
    } cases[] = {
        {Qt::Key_Tab, "100", "950", true, "900", "Text1_0"},
        {Qt::Key_Return, "100", "950", true, "900", "Text1_0"},
        {Qt::Key_Tab, "0", "5", true, "10", "Text1_0"},
        {Qt::Key_Return, "0", "5", true, "10", "Text1_0"},
        {Qt::Key_Tab, "100", "300", false, "300", "Text1_1"},
        {Qt::Key_Return, "100", "300", false, "300", "animpic"},
    };
    for (const auto& c : cases) {
        auto* a = control<QLineEdit>("Text1_0");
        control<QLineEdit>("Text1_1")->setText(QString::fromLatin1(c.b));
        a->setText(QStringLiteral("100"));
        a->setFocus(Qt::TabFocusReason);
        a->selectAll();
        QTest::keyClicks(a, QString::fromLatin1(c.typed));
        std::shared_ptr<bool> closed;
        if (c.refused) closed = closeWhenShown(window.get());
        QTest::keyClick(a, c.leaving);
        if (c.refused) QTRY_VERIFY2(*closed, c.typed);
        EXPECT_EQ(a->text(), QString::fromLatin1(c.after)) << c.typed;
        QTRY_COMPARE_WITH_TIMEOUT(
            QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
            QString::fromLatin1(c.focus), 2000);
    }
}

TEST(CalculatorKeyboard, TabReachesEveryKeyAndAKeyKeepsTheKeyboard) {
    Machine machine;
    machine.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&machine));
    auto* display = machine.findChild<QLineEdit*>(QStringLiteral("z1"));
    ASSERT_TRUE(display->hasFocus());
    std::set<QString> reached;
    for (int k = 0; k < 80; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus == display) break;
        reached.insert(focus->objectName());
    }
    for (QPushButton* key : machine.findChildren<QPushButton*>())
        EXPECT_TRUE(reached.count(key->objectName())) << key->objectName().toStdString();

    // A key pressed from the keyboard keeps it, and the typed keys still count.
    auto* root = machine.findChild<QPushButton*>(QStringLiteral("racine"));
    root->setFocus(Qt::TabFocusReason);
    QTest::keyClick(root, Qt::Key_Space);
    EXPECT_TRUE(root->hasFocus());
    QTest::keyClicks(root, "16");
    QTest::keyClick(root, Qt::Key_Return);
    EXPECT_EQ(display->text().trimmed(), QStringLiteral("4"));
    // A click of the mouse leaves the keyboard on the display.
    display->setFocus();
    QTest::mouseClick(machine.findChild<QPushButton*>(QStringLiteral("B7")), Qt::LeftButton);
    EXPECT_TRUE(display->hasFocus());
}

}  // namespace
}  // namespace molvane
