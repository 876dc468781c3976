// The main window's life, its hand-off file, the graph frame and the controls
// that restart or redraw the run.
#include <QCheckBox>
#include <QFile>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QtTest/QTest>
#include <set>

#include "common/recordfile.h"
#include "exercises/textarea.h"
#include "files/configdialogs.h"
#include "tests/ui/fixture.h"
#include "ui/main/drawing.h"
#include "ui/main/pictures.h"

namespace molvane {
namespace {

QByteArray handOffBytes(const MainWindow& window) {
    QFile file(window.handOffPath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QByteArray runningRecord(const MainWindow& window) {
    return handOffBytes(window).mid(128, 5);
}

const QByteArray kRunning("\x03\x00OUI", 5);
const QByteArray kClosed("\x03\x00NON", 5);

TEST_F(WindowTest, StartWritesRunningIntoTheHandOffFile) {
    EXPECT_EQ(runningRecord(*window), kRunning);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Équilibre dynamique"));
    EXPECT_EQ(window->objectName(), QStringLiteral("feuilleP"));
}

TEST_F(WindowTest, ActivationTakesAndEmptiesTheExerciseRequest) {
    struct Case {
        const char* record31;
        const char* request;
    };
    for (const Case& c : {Case{"   ", ""}, Case{"  exo1.E32 ", "exo1.E32"}, Case{"", ""}}) {
        const RecordFile handOff(window->handOffPath().toStdString());
        ASSERT_TRUE(handOff.write(31, c.record31));
        // The exercise asked for does not exist: its opening says so.
        Answers answers({MessageAnswer::Ok});
        window->Form_Activate();
        EXPECT_EQ(handOff.read(31), std::optional<std::string>("")) << c.record31;
        EXPECT_EQ(window->exerciseRequest(), c.request);
        // Records the window does not use are left as they were.
        EXPECT_EQ(runningRecord(*window), kRunning);
    }
}

TEST_F(WindowTest, ClosingAsksAndOnlyOkEnds) {
    struct Case {
        int textemodifie;
        std::deque<MessageAnswer> answers;
        std::vector<QString> titles;
        bool closed;
    };
    using enum MessageAnswer;
    const std::vector<Case> cases{
        {0, {Cancel}, {"Fermer"}, false},
        {1, {Cancel}, {"Abandon des données?"}, false},
        {1, {Ok, Cancel}, {"Abandon des données?", "Fermer"}, false},
        {0, {Ok}, {"Fermer"}, true},
    };
    for (const Case& c : cases) {
        SetUp();
        window->show();
        window->textArea().setTextemodifie(c.textemodifie);
        Answers answers(c.answers);
        const bool closed = window->close();

        EXPECT_EQ(closed, c.closed);
        ASSERT_EQ(answers.seen.size(), c.titles.size());
        for (std::size_t k = 0; k < c.titles.size(); ++k) {
            const auto& seen = answers.seen[k];
            EXPECT_EQ(seen.title, c.titles[k]);
            EXPECT_EQ(seen.icon, MessageIcon::Question);
            EXPECT_EQ(seen.buttons, MessageButtons::OkCancel);
            EXPECT_EQ(seen.text, k == 0 && c.textemodifie == 1
                                     ? QStringLiteral("Attention: perte des modifications du texte.")
                                     : QStringLiteral("Quitter vraiment Molvane chimique ?"));
        }
        EXPECT_EQ(runningRecord(*window), c.closed ? kClosed : kRunning);
        EXPECT_EQ(window->isVisible(), !c.closed);
        if (!c.closed) {
            // The run and its timer go on.
            EXPECT_TRUE(control<QTimer>("Timer1")->isActive());
            const auto before = window->simulation().nbtics();
            ticks(1);
            EXPECT_EQ(window->simulation().nbtics(), before + 1);
            window->hide();
        }
    }
}

// Rows of the graph image (in graph units) that hold the light grey of a
// graduation in column x, and columns that do in row y.
std::set<int> greyRows(const MainWindow& window, int x) {
    const QImage& image = window.findChild<GraphView*>("Picture2")->surface().image();
    std::set<int> rows;
    for (int py = 0; py < image.height(); ++py)
        if (image.pixelColor(x, py) == QColor(192, 192, 192)) rows.insert(py - 8);
    return rows;
}

std::set<int> greyColumns(const MainWindow& window, int y) {
    const QImage& image = window.findChild<GraphView*>("Picture2")->surface().image();
    std::set<int> columns;
    for (int px = 0; px < image.width(); ++px)
        if (image.pixelColor(px, y + 8) == QColor(192, 192, 192)) columns.insert(px);
    return columns;
}

// The table's view reads the window's table model: destroying a window that
// still shows its table must not let the view read it after it has gone
// (the sanitizer build turns such a read into a failure).
TEST_F(WindowTest, AWindowShowingItsTableCanBeDestroyed) {
    window->show();
    control<QRadioButton>("Option1_1")->click();
    ticks(5);
    QApplication::processEvents();
    ASSERT_TRUE(control<QTableView>("MSFlexGrid1")->isVisible());
    window.reset();
    QApplication::processEvents();
    SUCCEED();
}

TEST_F(WindowTest, GraphScaleFollowsTheInitialCounts) {
    struct Case {
        std::array<const char*, 4> counts;
        int maximum;
        std::vector<int> marks;  // counts with a horizontal graduation, 0 (the time axis) left out
    };
    const std::vector<Case> cases{
        {{"100", "100", "0", "0"}, 100, {20, 40, 60, 80, 100}},
        {{"300", "100", "50", "0"}, 300, {60, 120, 180, 240, 300}},
        {{"3", "0", "0", "0"}, 3, {1, 2, 3}},
        {{"1000", "0", "0", "0"}, 1000, {200, 400, 600, 800, 1000}},
    };
    for (const Case& c : cases) {
        for (int s = 0; s < 4; ++s)
            control<QLineEdit>(QStringLiteral("Text1_%1").arg(s).toLatin1())->setText(c.counts[s]);
        window->Command5_Click();
        EXPECT_EQ(window->simulation().maxparticules(), c.maximum);
        // x = 215 lies between two time graduations.
        const std::set<int> rows = greyRows(*window, 215);
        ASSERT_EQ(rows.size(), c.marks.size()) << c.maximum;
        auto row = rows.rbegin();
        for (int n : c.marks) {
            const double y = graphY(n, c.maximum);
            EXPECT_NEAR(*row++, y, 1.0) << "count " << n << " of " << c.maximum;
        }
    }
}

TEST_F(WindowTest, TimeGraduationsDivideTheDurationInTen) {
    window->simulation().setDuration(30);
    window->Command5_Click();
    // Marks at 0, 3, ... 30 s; the one at 0 is the count axis, in black.
    EXPECT_EQ(greyColumns(*window, 100), (std::set<int>{80, 110, 140, 170, 200, 230, 260, 290, 320, 350}));
}

TEST_F(WindowTest, RestartKeepsCurvesOnlyWithCheck2) {
    struct Case {
        bool keep;
        bool erase;  // "Effacer" instead of "Retour à l'état initial"
        int curvesAfter;
    };
    for (const Case& c : {Case{true, false, 4}, Case{false, false, 0}, Case{true, true, 0}}) {
        SetUp();
        window->simulation().setDuration(10);
        window->Command5_Click();
        ticks(101);  // one tick past the end of the recording stores the run's curves
        ASSERT_EQ(window->simulation().nbcourbes(), 4);
        control<QCheckBox>("Check2")->setChecked(c.keep);
        ticks(3);
        if (c.erase)
            control<QPushButton>("Command6")->click();
        else
            control<QPushButton>("Command5")->click();

        EXPECT_EQ(window->simulation().nbcourbes(), c.curvesAfter);
        EXPECT_EQ(window->simulation().nbtics(), 0);
        // "Effacer" is there only while kept curves are.
        EXPECT_EQ(!control<QPushButton>("Command6")->isHidden(), c.curvesAfter > 0);
    }
}

TEST_F(WindowTest, CurveChoiceRestartsOnlyWhileRecording) {
    struct Case {
        int ticksBefore;
        bool restarts;
    };
    // D = 20 s: 200 ticks reach D exactly, which still counts as recording.
    for (const Case& c : {Case{10, true}, Case{200, true}, Case{201, false}}) {
        SetUp();
        ticks(c.ticksBefore);
        control<QCheckBox>("option2_0")->setChecked(true);
        EXPECT_TRUE(window->simulation().parameters().curves[0]);
        EXPECT_EQ(window->simulation().nbtics(), c.restarts ? 0 : c.ticksBefore) << c.ticksBefore;
    }
}

TEST_F(WindowTest, ViewChoiceSwapsGraphAndTableWithoutRestart) {
    ticks(8);
    auto* grid = control<QTableView>("MSFlexGrid1");
    EXPECT_TRUE(grid->isHidden());
    const std::string filled = window->table().text(2, 1);
    ASSERT_FALSE(filled.empty());

    control<QRadioButton>("Option1_1")->setChecked(true);
    EXPECT_FALSE(grid->isHidden());
    for (int s = 0; s < 4; ++s)
        EXPECT_FALSE(control<QCheckBox>(QStringLiteral("option2_%1").arg(s).toLatin1())->isEnabled());

    control<QRadioButton>("Option1_0")->setChecked(true);
    EXPECT_TRUE(grid->isHidden());
    for (int s = 0; s < 4; ++s)
        EXPECT_TRUE(control<QCheckBox>(QStringLiteral("option2_%1").arg(s).toLatin1())->isEnabled());
    EXPECT_EQ(window->simulation().nbtics(), 8);
    EXPECT_EQ(window->table().text(2, 1), filled);
}

TEST_F(WindowTest, VesselBackgroundIsShadedUnlessWhite) {
    struct Case {
        bool white;
        QColor corner, centre;
    };
    for (const Case& c : {Case{false, QColor(205, 150, 100), Qt::white}, Case{true, Qt::white, Qt::white}}) {
        control<QCheckBox>("Check1")->setChecked(c.white);
        window->fondi();
        const QImage& background = window->findChild<AnimationView*>("animpic")->surface().background();
        EXPECT_EQ(background.pixelColor(0, 0), c.corner);
        EXPECT_EQ(background.pixelColor(0, 156), c.corner);
        EXPECT_EQ(background.pixelColor(196, 78), c.centre);
    }
}

TEST_F(WindowTest, TicksMoveTheClockAndDrawTheParticles) {
    ticks(3);
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("00 h 00 min 00,3 s"));
    int total = 0;
    for (int s = 0; s < 4; ++s)
        total += control<QLabel>(QStringLiteral("Labelinf_%1").arg(s).toLatin1())->text().toInt();
    EXPECT_EQ(total, 200);
    // Every particle that no later one covers shows the colour of its species.
    const QImage& vessel = window->findChild<AnimationView*>("animpic")->surface().image();
    const Simulation& run = window->simulation();
    const std::array<QColor, 4> colours{QColor(0, 0, 255), QColor(255, 0, 255), QColor(255, 128, 0),
                                        QColor(0, 192, 0)};
    int checked = 0;
    for (int i = 1; i <= run.nbparticules(); ++i) {
        bool covered = false;
        for (int j = i + 1; j <= run.nbparticules() && !covered; ++j)
            covered = std::abs(run.x(j) - run.x(i)) < 5 && std::abs(run.y(j) - run.y(i)) < 5;
        if (covered) continue;
        ++checked;
        const QColor centre = vessel.pixelColor(qRound(run.x(i)), qRound(run.y(i)));
        EXPECT_EQ(centre, colours[run.species(i) - 1]) << i;
    }
    EXPECT_GT(checked, 100);
}

TEST_F(WindowTest, AltFAsksToClose) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Answers answers({MessageAnswer::Cancel});
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window.get(), Qt::Key_F, Qt::AltModifier);
    // A mnemonic presses its button visibly first: the click comes a moment later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.seen.empty(); }));
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].title, QStringLiteral("Fermer"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, CalculatorOpensModallyAndTheRunGoesOn) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto before = window->simulation().nbtics();
    QString opened;
    QTimer::singleShot(350, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            modal->close();
        }
    });
    control<QPushButton>("Command8")->click();
    EXPECT_EQ(opened, QStringLiteral("Machine"));
    EXPECT_GT(window->simulation().nbtics(), before);  // the timer kept ticking behind the calculator
}

// Whether every character of text has a glyph in the font or a font Qt
// falls back on: glyph 0 is the empty box.
bool drawsWhole(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

TEST_F(WindowTest, NoSymbolShowsAsAnEmptyBox) {
    ASSERT_FALSE(drawsWhole(arial(8), QString(QChar(0x0378)))) << "an unassigned character shows as a box";
    // The loading notice's hourglass, with every other text of both dialogs.
    Ouvrir open(*window, window.get());
    Enregistrer save(*window, window.get());
    int hourglasses = 0;
    for (QDialog* dialog : std::initializer_list<QDialog*>{&open, &save}) {
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            hourglasses += label->text().contains(QChar(0x231B));
            EXPECT_TRUE(drawsWhole(label->font(), label->text())) << label->text().toStdString();
        }
    }
    EXPECT_EQ(hourglasses, 1);
    // The window's own texts, and the bullet and arrow of the panels' headings.
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const QString text = widget->property("text").toString();
        EXPECT_TRUE(drawsWhole(widget->font(), text)) << text.toStdString();
    }
    EXPECT_TRUE(drawsWhole(arial(8), kBullet + kArrow + QStringLiteral(" Équation chimique : ")));
}

TEST_F(WindowTest, StartsWithTheIntroduction) {
    EXPECT_EQ(window->size(), QSize(800, 600));
    auto* supertext = control<QTextEdit>("supertext");
    EXPECT_TRUE(supertext->isReadOnly());
    EXPECT_EQ(supertext->textCursor().position(), 0);
    EXPECT_TRUE(supertext->toPlainText().startsWith(QStringLiteral("Équilibre dynamique\n\nCe simulateur")));
    EXPECT_TRUE(control<QLineEdit>("fich")->text().isEmpty());
}

}  // namespace
}  // namespace molvane
