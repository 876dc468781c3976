// Real message boxes over the running window: a control that opened a box
// stops, a held key answers nothing, and only coming back from a window of
// the program is an activation.
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QtTest/QTest>

#include "common/recordfile.h"
#include "tests/ui/fixture.h"
#include "ui/main/inputs.h"
#include "ui/main/tabstrip.h"
#include "windowkit/windowreturns.h"

namespace molvane {
namespace {

// Answers the real boxes as they come up, by the caption of a button, the
// latest first. The first box may be kept up a while, as a user reading it
// would; boxes that open meanwhile are answered at once.
class RealBoxes {
public:
    explicit RealBoxes(QString answer, std::function<void(QMessageBox&)> whileUp = {},
                       std::function<void()> stopRunaway = {})
        : answer_(std::move(answer)), whileUp_(std::move(whileUp)), stopRunaway_(std::move(stopRunaway)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(20);
    }

    std::vector<QString> texts;  // of every box seen, in order

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->property("answered").toBool()) return;
        box->setProperty("answered", true);
        texts.push_back(box->text());
        const bool first = texts.size() == 1;
        // A runaway is ended after a few boxes, so that a failing test ends too.
        const bool runaway = texts.size() > 3;
        if (runaway && stopRunaway_) stopRunaway_();
        const QString answer = runaway ? QStringLiteral("OK") : answer_;
        // Answered from a timer of its own: the polling goes on meanwhile, in
        // whatever loop a later box runs.
        QTimer::singleShot(0, [this, first, answer, box = QPointer<QMessageBox>(box)] {
            if (first && whileUp_ && box) whileUp_(*box);
            if (!box) return;
            for (QAbstractButton* button : box->buttons())
                if (button->text() == answer) button->click();
        });
    }

    QString answer_;
    std::function<void(QMessageBox&)> whileUp_;
    std::function<void()> stopRunaway_;
    QTimer timer_;
};

class ModalTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The mouse as the window system delivers it: through the window, which a
    // modal box blocks.
    void press(QWidget* control, QPoint at) {
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, control->mapTo(window.get(), at));
    }
    void release(QWidget* control, QPoint at) {
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, control->mapTo(window.get(), at));
    }

    // The middle of a vertical bar's top (up) or bottom (down) arrow.
    static QPoint arrow(QScrollBar* bar, bool up) {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        return bar->style()
            ->subControlRect(QStyle::CC_ScrollBar, &option,
                             up ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine, bar)
            .center();
    }

    // Longer than a bar's auto-repeat delay.
    static constexpr int kHeld = 800;

    // A click on a bar's arrow whose box comes up at once: the user reads it,
    // releasing the mouse meanwhile, and the release goes to the blocked
    // window, never to the bar. The texts of the boxes seen.
    std::vector<QString> clickUnderABox(QScrollBar* bar, QPoint at, const QString& answer) {
        RealBoxes boxes(
            answer,
            [&](QMessageBox&) {
                release(bar, at);
                QTest::qWait(kHeld);
            },
            stopping(bar));
        press(bar, at);
        QTest::qWait(kHeld);  // a bar still repeating would ask again by now
        release(bar, at);
        return boxes.texts;
    }

    // A disabled bar stops repeating: how a failing test ends its runaway.
    static std::function<void()> stopping(QScrollBar* bar) {
        return [bar] {
            bar->setEnabled(false);
            bar->setEnabled(true);
        };
    }
};

TEST_F(ModalTest, ArrowClickAnsweredCancelAsksOnceAndChangesNothing) {
    control<TabStrip>("Onglets")->setCurrent(TabStrip::Suivi);
    auto* bar = control<QScrollBar>("VScroll2");
    bar->setValue(12);  // 10 s
    ticks(101);
    ASSERT_EQ(window->simulation().nbcourbes(), 4);
    const auto tick = window->simulation().nbtics();

    const auto texts = clickUnderABox(bar, arrow(bar, true), QStringLiteral("Annuler"));

    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("La modification de ce paramètre")));
    EXPECT_EQ(bar->value(), 12);
    EXPECT_EQ(window->ancienneduree, 12);
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("10 s"));
    EXPECT_EQ(window->simulation().nbcourbes(), 4);
    EXPECT_GE(window->simulation().nbtics(), tick) << "the run went on without a restart";
}

TEST_F(ModalTest, CountMessageFromAPercentageArrowLeavesThePercentage) {
    auto* count = control<QLineEdit>("Text1_0");
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("950"));
    auto* bar = control<QScrollBar>("VScroll4_0");
    const QPoint up = arrow(bar, true);
    // Leaving the box for the arrow checks the count: the message comes from
    // the focus change, before the press reaches the bar.
    const auto texts = clickUnderABox(bar, up, QStringLiteral("OK"));

    ASSERT_EQ(texts.size(), 1u);
    // As quoted, the number held together on its line.
    EXPECT_EQ(texts[0], unbrokenNumbers(
                            QStringLiteral("Le nombre total de particules ne peut être supérieur à 1 000")));
    EXPECT_EQ(count->text(), QStringLiteral("900"));
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(control<QLineEdit>("Label5_0")->text(), QStringLiteral("50 %"));
    EXPECT_EQ(window->simulation().parameters().effectivePercent[0], 50);

    // The bar itself still answers a click of its own.
    press(bar, up);
    release(bar, up);
    EXPECT_EQ(bar->value(), 49);
}

TEST_F(ModalTest, HeldEnterDoesNotAnswerTheBoxItOpened) {
    auto* count = control<QLineEdit>("Text1_1");
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("5000"));
    bool upAfterRepeats = false;
    RealBoxes boxes(QStringLiteral("OK"), [&](QMessageBox& box) {
        // Enter is still down: its repeats reach the box's OK button.
        for (int k = 0; k < 3; ++k) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
            QApplication::sendEvent(box.focusWidget() ? box.focusWidget() : &box, &repeat);
        }
        upAfterRepeats = box.isVisible();
    });
    QTest::keyPress(count, Qt::Key_Return);
    QTest::keyRelease(count, Qt::Key_Return);

    EXPECT_TRUE(upAfterRepeats) << "the held key answered the box";
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(count->text(), QStringLiteral("900"));
}

TEST_F(ModalTest, ActivationIsTheReturnFromAWindowOfTheProgram) {
    const RecordFile handOff(window->handOffPath().toStdString());
    const auto requested = [&] { return handOff.read(31).value_or(std::string()); };
    ASSERT_TRUE(handOff.write(31, "exo1.E32"));

    // A message box is not a window of the program: "Fermer", then "Annuler".
    {
        RealBoxes boxes(QStringLiteral("Annuler"));
        control<QPushButton>("Command1")->click();
        QTest::qWait(100);
        ASSERT_EQ(boxes.texts.size(), 1u);
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(requested(), "exo1.E32") << "read after a message box";
    EXPECT_EQ(window->exerciseRequest(), "");

    // Leaving the window for another and coming back is no return either.
    QWidget elsewhere;
    WindowReturns::ignore(&elsewhere);
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::qWait(50);
    EXPECT_EQ(requested(), "exo1.E32") << "read after another window was left";

    // Closing a dialog or the calculator brings the user back: the request is
    // taken (and the exercise, absent here, said to be unreadable).
    Answers unreadable({MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok});
    for (const char* opener : {"Command11", "Command2", "Command8"}) {
        ASSERT_TRUE(handOff.write(31, "exo1.E32"));
        QTimer::singleShot(100, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        control<QPushButton>(opener)->click();
        QTest::qWait(50);
        EXPECT_EQ(requested(), "") << opener;
        EXPECT_EQ(window->exerciseRequest(), "exo1.E32") << opener;
    }
}

TEST_F(ModalTest, ColourDialogSpeaksFrench) {
    QStringList shown;
    QString title;
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        title = dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) shown << label->text();
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) shown << button->text();
        dialog->reject();
    });
    auto* swatch = control<Swatch>("Label4_2");
    const QColor before = swatch->shown();
    QTest::mouseClick(swatch, Qt::LeftButton);

    EXPECT_EQ(title, QStringLiteral("Sélectionner une couleur"));
    EXPECT_TRUE(shown.contains(QStringLiteral("Annuler"))) << shown.join('|').toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Couleurs de &base"))) << shown.join('|').toStdString();
    for (const char* english : {"Cancel", "&Basic colors", "&Custom colors", "&Add to Custom Colors"})
        EXPECT_FALSE(shown.contains(QLatin1String(english))) << english;
    EXPECT_EQ(swatch->shown(), before) << "Annuler changes nothing";
}

}  // namespace
}  // namespace molvane
