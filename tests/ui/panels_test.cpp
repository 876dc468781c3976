// The parameter, settings and display panels, driven as a user would.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest/QTest>

#include "tests/ui/fixture.h"
#include "ui/main/inputs.h"
#include "ui/main/pictures.h"

namespace molvane {
namespace {

class PanelTest : public WindowTest {
protected:
    QLineEdit* box(const char* array, int i) {
        return control<QLineEdit>(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(i).toLatin1());
    }

    void setCounts(const std::array<const char*, 4>& counts) {
        for (int s = 0; s < 4; ++s) box("Text1", s)->setText(QString::fromLatin1(counts[s]));
    }

    // Empties the box, types keys into it, then presses Enter.
    void type(QLineEdit* into, const char* keys) {
        into->clear();
        QTest::keyClicks(into, QString::fromLatin1(keys));
        QTest::keyClick(into, Qt::Key_Return);
    }

    // Runs until the recording is over and its curves are kept.
    void keepOneRun() {
        control<QScrollBar>("VScroll2")->setValue(12);  // 10 s
        ticks(101);
        ASSERT_EQ(window->simulation().nbcourbes(), 4);
    }
};

TEST_F(PanelTest, CountsStayWithinTheTotalLimits) {
    struct Case {
        std::array<const char*, 4> counts;
        int box;
        const char* typed;
        const char* message;  // nothing when the total is within limits
        const char* after;
    };
    const std::vector<Case> cases{
        {{"100", "100", "0", "0"},
         0,
         "950",
         "Le nombre total de particules ne peut être supérieur à 1 000",
         "900"},
        {{"5", "100", "0", "0"}, 1, "0", "Le nombre total de particules ne peut être inférieur à 10", "5"},
        {{"100", "100", "0", "0"}, 2, "007", nullptr, "7"},
        {{"100", "100", "0", "0"}, 3, "", nullptr, "0"},
        // Letters and signs are never typed.
        {{"100", "100", "0", "0"}, 0, "1a2-b.0", nullptr, "120"},
        // The others alone are over the limit (a loaded file): the box goes to 0, not below.
        {{"0", "900", "300", "0"},
         0,
         "5",
         "Le nombre total de particules ne peut être supérieur à 1 000",
         "0"},
        // Totals that no 32-bit count holds are over the limit all the same.
        {{"100", "100", "0", "0"},
         0,
         "99999999999",
         "Le nombre total de particules ne peut être supérieur à 1 000",
         "900"},
        {{"100", "100", "0", "0"},
         1,
         "999999999999999999999999999999",
         "Le nombre total de particules ne peut être supérieur à 1 000",
         "900"},
    };
    for (const Case& c : cases) {
        setCounts(c.counts);
        ticks(5);
        Answers answers({MessageAnswer::Ok});
        type(box("Text1", c.box), c.typed);

        if (c.message) {
            ASSERT_EQ(answers.seen.size(), 1u) << c.typed;
            EXPECT_EQ(answers.seen[0].title, QStringLiteral("Dépassement de capacité"));
            EXPECT_EQ(answers.seen[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(answers.seen[0].icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(answers.seen.empty()) << c.typed;
        }
        EXPECT_EQ(box("Text1", c.box)->text(), QString::fromLatin1(c.after)) << c.typed;
        EXPECT_EQ(window->simulation().parameters().counts[c.box], c.after);
        EXPECT_EQ(window->simulation().nbtics(), 0) << "every accepted change restarts";
        // The vessel and the table's first row hold what the boxes say.
        int total = 0;
        for (int s = 0; s < 4; ++s) total += box("Text1", s)->text().toInt();
        EXPECT_EQ(window->simulation().nbparticules(), total) << c.typed;
        EXPECT_EQ(window->table().text(1, c.box + 1), c.after) << c.typed;
    }
}

TEST_F(PanelTest, AfterAnOverflowingCountTheLimitStillHolds) {
    setCounts({"100", "100", "0", "0"});
    Answers answers({MessageAnswer::Ok, MessageAnswer::Ok});
    type(box("Text1", 0), "99999999999");
    type(box("Text1", 1), "950");
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(box("Text1", 0)->text(), QStringLiteral("900"));
    EXPECT_EQ(box("Text1", 1)->text(), QStringLiteral("100"));
    EXPECT_EQ(window->simulation().nbparticules(), 1000);
}

TEST_F(PanelTest, CountBoxesSelectAndCopyButTakeOnlyDigits) {
    QLineEdit* a = box("Text1", 0);
    a->setText(QStringLiteral("250"));
    a->setCursorPosition(0);
    QTest::keyClick(a, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(a->selectedText(), QStringLiteral("250"));
    QTest::keyClick(a, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("250"));
    QApplication::clipboard()->setText(QStringLiteral("1e3"));
    QTest::keyClick(a, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(a, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(a->text(), QStringLiteral("250")) << "nothing pasted";
    QTest::keyClicks(a, QStringLiteral("7x"));
    EXPECT_EQ(a->text(), QStringLiteral("7"));
    QTest::keyClick(a, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(a->text(), QStringLiteral("250"));
}

TEST_F(PanelTest, ACurveWhoseCountStaysDrawsNoStepAtTheOrigin) {
    // No collision is effective either way: the counts never change.
    for (const char* bar : {"VScroll4_0", "VScroll4_1"}) control<QScrollBar>(bar)->setValue(100);
    type(box("Text1", 0), "80");
    type(box("Text1", 1), "49");
    control<QCheckBox>("option2_1")->click();  // B's curve
    ASSERT_EQ(window->simulation().maxparticules(), 80);
    // 210 - 49 / 80 x 200 = 87.49...: the tick's own order of operations.
    EXPECT_EQ(window->simulation().yprec()[1], 87);
    ticks(3);
    EXPECT_EQ(window->simulation().nbB(), 49);
    EXPECT_EQ(window->simulation().yprec()[1], 87);
}

TEST_F(PanelTest, LeavingACountBoxChecksIt) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    setCounts({"100", "100", "0", "0"});
    QLineEdit* b = box("Text1", 1);
    QLineEdit* next = box("Text1", 2);
    b->setFocus();
    ASSERT_TRUE(b->hasFocus());
    // Passing through without typing neither checks nor restarts.
    ticks(3);
    next->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(window->simulation().nbtics(), 3);

    b->setFocus();
    b->clear();
    QTest::keyClicks(b, QStringLiteral("0950"));
    Answers answers({MessageAnswer::Ok});
    next->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(b->text(), QStringLiteral("900"));
    EXPECT_EQ(window->simulation().nbtics(), 0);
    EXPECT_TRUE(b->hasFocus()) << "a refused count keeps the keyboard, with the count it now holds";

    // An accepted count lets the keyboard go where the user took it.
    b->clear();
    QTest::keyClicks(b, QStringLiteral("90"));
    next->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(b->text(), QStringLiteral("90"));
    EXPECT_TRUE(next->hasFocus());

    // Enter checks and hands the keyboard to the animation.
    QTest::keyClicks(next, QStringLiteral("5"));
    QTest::keyClick(next, Qt::Key_Return);
    EXPECT_TRUE(control<QWidget>("animpic")->hasFocus());
}

TEST_F(PanelTest, TypedPercentagesMoveTheirBar) {
    struct Case {
        int sense;
        const char* typed;
        int position;
        const char* text;
        bool restarts;
    };
    const std::vector<Case> cases{
        {0, "150", 0, "100 %", true}, {1, "75", 25, "75 %", true},
        {0, "50", 50, "50 %", true},  // back from 100 %: a change
        {0, "50", 50, "50", false},   // already there: the text stays as typed
        {1, "", 100, "0 %", true},
    };
    for (const Case& c : cases) {
        ticks(4);
        type(box("Label5", c.sense), c.typed);
        const auto* bar = control<QScrollBar>(QStringLiteral("VScroll4_%1").arg(c.sense).toLatin1());
        EXPECT_EQ(bar->value(), c.position) << c.typed;
        EXPECT_EQ(window->simulation().parameters().effectivePercent[c.sense], 100 - c.position);
        EXPECT_EQ(box("Label5", c.sense)->text(), QString::fromUtf8(c.text)) << c.typed;
        EXPECT_EQ(window->simulation().nbtics(), c.restarts ? 0 : 4) << c.typed;
    }
}

TEST_F(PanelTest, TemperatureActsWithoutRestart) {
    ticks(6);
    control<QScrollBar>("HScroll1")->setValue(800);
    EXPECT_EQ(window->simulation().parameters().temperature, 800);
    EXPECT_EQ(window->simulation().nbtics(), 6);
}

TEST_F(PanelTest, DurationLabelsForEveryPosition) {
    const std::array<const char*, 12> labels{"2 h",   "1 h",         "30 min", "20 min", "10 min", "5 min",
                                             "2 min", "1 min  30 s", "1 min",  "30 s",   "20 s",   "10 s"};
    const std::array<const char*, 12> seconds{"7200", "3600", "1800", "1200", "600", "300",
                                              "120",  "90",   "60",   "30",   "20",  "10"};
    auto* bar = control<QScrollBar>("VScroll2");
    EXPECT_EQ(bar->value(), 11);
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("20 s"));
    for (int position = 1; position <= 12; ++position) {
        ticks(2);
        bar->setValue(position);
        EXPECT_EQ(control<QLabel>("Label2")->text(), QString::fromUtf8(labels[position - 1])) << position;
        EXPECT_EQ(window->simulation().parameters().durationTag, seconds[position - 1]);
        EXPECT_EQ(window->ancienneduree, position);
        EXPECT_EQ(window->simulation().nbtics(), 0);
    }
}

TEST_F(PanelTest, DurationChangeAsksBeforeDroppingKeptCurves) {
    struct Case {
        bool keep;
        std::deque<MessageAnswer> answers;
        bool asked;
        bool changed;
    };
    using enum MessageAnswer;
    for (const Case& c :
         {Case{true, {Cancel}, true, false}, Case{true, {Ok}, true, true}, Case{false, {}, false, true}}) {
        SetUp();
        keepOneRun();
        if (!c.keep) {
            // Unticking "Conserver" keeps nothing: run again to have curves.
            control<QCheckBox>("Check2")->setChecked(false);
            ticks(101);
        }
        const int curves = window->simulation().nbcourbes();
        const auto tick = window->simulation().nbtics();
        Answers answers(c.answers);
        control<QScrollBar>("VScroll2")->setValue(8);

        ASSERT_EQ(answers.seen.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(answers.seen[0].title, QStringLiteral("Durée de l'enregistrement"));
            EXPECT_EQ(
                answers.seen[0].text,
                QStringLiteral("La modification de ce paramètre entraîne la perte des courbes existantes.\r\n"
                               "Confirmez-vous la commande ?"));
            EXPECT_EQ(answers.seen[0].icon, MessageIcon::Question);
            EXPECT_EQ(answers.seen[0].buttons, MessageButtons::OkCancel);
        }
        if (c.changed) {
            EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("1 min  30 s"));
            EXPECT_EQ(window->ancienneduree, 8);
            EXPECT_EQ(window->simulation().nbcourbes(), 0);
            EXPECT_EQ(window->simulation().nbtics(), 0);
        } else {
            EXPECT_EQ(control<QScrollBar>("VScroll2")->value(), 12);
            EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("10 s"));
            EXPECT_EQ(window->ancienneduree, 12);
            EXPECT_EQ(window->simulation().parameters().durationTag, "10");
            EXPECT_EQ(window->simulation().nbcourbes(), curves);
            EXPECT_EQ(window->simulation().nbtics(), tick);
        }
    }
}

TEST_F(PanelTest, RowCountRestartsAndKeepsCurves) {
    keepOneRun();
    control<QScrollBar>("VScroll3")->setValue(100);
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("11"));
    EXPECT_EQ(window->simulation().parameters().tableRows, tableRowsAt(100));
    EXPECT_EQ(window->simulation().nbcourbes(), 4);
    EXPECT_EQ(window->simulation().nbtics(), 0);
}

TEST_F(PanelTest, UntickingKeepCurvesDropsThemEvenIfTickedAgain) {
    keepOneRun();
    auto* keep = control<QCheckBox>("Check2");
    keep->click();
    EXPECT_EQ(window->simulation().nbcourbes(), 0);
    EXPECT_EQ(window->simulation().nbtics(), 0);
    EXPECT_FALSE(window->simulation().parameters().keepCurves);
    ticks(3);
    keep->click();
    EXPECT_TRUE(keep->isChecked());
    EXPECT_EQ(window->simulation().nbtics(), 3) << "ticking it again does nothing else";
}

TEST_F(PanelTest, QrColumnFollowsCheck3WithoutRestart) {
    ticks(12);
    struct Case {
        bool ticked;
        Colour colour;
    };
    for (const Case& c : {Case{false, kWhite}, Case{true, kBlack}}) {
        control<QCheckBox>("Check3")->setChecked(c.ticked);
        for (int r = 0; r < window->table().rows(); ++r) EXPECT_EQ(window->table().foreColor(r, 5), c.colour);
        EXPECT_EQ(window->simulation().nbtics(), 12);
    }
}

TEST_F(PanelTest, SwatchColourReachesParticlesAndStaysOnCancel) {
    struct Case {
        QColor answer;  // invalid: Cancel
        QColor after;
    };
    const QColor blue(0, 0, 255);
    for (const Case& c : {Case{QColor(), blue}, Case{QColor(10, 200, 30), QColor(10, 200, 30)}}) {
        SetUp();
        ticks(1);  // the vessel shows where the particles are now
        QColor offered;
        setColourResponder([&](const QColor& initial) {
            offered = initial;
            return c.answer;
        });
        auto* swatch = control<Swatch>("Label4_1");
        QTest::mouseClick(swatch, Qt::LeftButton);
        setColourResponder({});

        EXPECT_EQ(offered, blue) << "the dialog starts from the swatch's colour";
        EXPECT_EQ(swatch->shown(), c.after);
        EXPECT_EQ(window->simulation().parameters().colours[0], fromQColor(c.after));
        // Some particle of A that nothing covers shows the colour at once.
        const QImage& vessel = window->findChild<AnimationView*>("animpic")->surface().image();
        const Simulation& run = window->simulation();
        int seen = 0;
        for (int i = 1; i <= run.nbparticules(); ++i)
            if (run.species(i) == 1 && vessel.pixelColor(qRound(run.x(i)), qRound(run.y(i))) == c.after)
                ++seen;
        EXPECT_GT(seen, 0);
    }
}

}  // namespace
}  // namespace molvane
