// Configurations saved and reopened through the main window's buttons.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest/QTest>

#include "files/configdialogs.h"
#include "tests/ui/fixture.h"
#include "ui/main/inputs.h"
#include "windowkit/surfaces.h"

namespace molvane {
namespace {

class ConfigTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        nomfichier().clear();
    }

    // Clicks a button of the window and works the modal dialog it opens.
    template <typename Dialog>
    bool throughDialog(const char* button, const std::function<void(Dialog&)>& work) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                opened = true;
                work(*dialog);
                if (dialog->isVisible()) dialog->reject();
            }
        });
        control<QPushButton>(button)->click();
        return opened;
    }

    QString path(const char* name) const { return QDir(folder.path()).filePath(QLatin1String(name)); }

    // Every value a configuration holds, as the window's controls show it.
    std::vector<QString> shown() {
        std::vector<QString> values;
        for (int s = 0; s < 4; ++s) {
            values.push_back(control<QLineEdit>(QStringLiteral("Text1_%1").arg(s).toLatin1())->text());
            values.push_back(
                control<Swatch>(QStringLiteral("Label4_%1").arg(s + 1).toLatin1())->shown().name());
            values.push_back(QString::number(
                control<QCheckBox>(QStringLiteral("option2_%1").arg(s).toLatin1())->isChecked()));
        }
        for (const char* name : {"VScroll4_0", "VScroll4_1", "HScroll1", "VScroll2", "VScroll3"})
            values.push_back(QString::number(control<QScrollBar>(name)->value()));
        for (const char* name : {"Label5_0", "Label5_1", "Label2", "Label3"}) {
            auto* label = window->findChild<QLabel*>(QLatin1String(name));
            values.push_back(label ? label->text() : control<QLineEdit>(name)->text());
        }
        for (const char* name : {"Option1_0", "Option1_1"})
            values.push_back(QString::number(control<QRadioButton>(name)->isChecked()));
        for (const char* name : {"Check2", "Check3"})
            values.push_back(QString::number(control<QCheckBox>(name)->isChecked()));
        return values;
    }
};

TEST_F(ConfigTest, SavedSetUpComesBackInAFreshWindow) {
    // A set-up changed on every panel.
    const std::array<const char*, 4> counts{"250", "  12", "40", "7"};  // blanks kept as typed
    Answers answers({});  // a box would fail the test, not block it
    for (int s = 0; s < 4; ++s)
        control<QLineEdit>(QStringLiteral("Text1_%1").arg(s).toLatin1())->setText(QLatin1String(counts[s]));
    control<QScrollBar>("VScroll4_0")->setValue(20);
    control<QScrollBar>("VScroll4_1")->setValue(70);
    control<QScrollBar>("HScroll1")->setValue(300);
    const std::array<QColor, 4> colours{QColor(1, 2, 3), QColor(200, 0, 0), QColor(0, 99, 0),
                                        QColor(9, 9, 250)};
    for (int k = 0; k < 4; ++k) {
        setColourResponder([&](const QColor&) { return colours[k]; });
        QTest::mouseClick(control<Swatch>(QStringLiteral("Label4_%1").arg(k + 1).toLatin1()), Qt::LeftButton);
    }
    setColourResponder({});
    control<QScrollBar>("VScroll2")->setValue(8);
    control<QScrollBar>("VScroll3")->setValue(40);
    control<QRadioButton>("Option1_1")->setChecked(true);
    for (int s = 0; s < 4; ++s)
        control<QCheckBox>(QStringLiteral("option2_%1").arg(s).toLatin1())->setChecked(s != 2);
    control<QCheckBox>("Check2")->setChecked(false);
    control<QCheckBox>("Check3")->setChecked(false);
    control<QCheckBox>("Check1")->setChecked(true);
    const std::vector<QString> before = shown();

    ASSERT_TRUE(throughDialog<Enregistrer>("Command11", [&](Enregistrer& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("enregistrer"));
        ASSERT_TRUE(dialog.navigator().setPath(folder.path()));
        dialog.nameBox()->setText(QStringLiteral("essai.txt"));
        dialog.Command1_Click();
    }));
    const QString saved = path("essai.C11");
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Équilibre dynamique - ") + saved);

    // A fresh window, as after restarting the program. Its ticks are given
    // here: on a slow machine the timer could tick between the load's
    // restart and the check of it.
    SetUp();
    window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    ASSERT_NE(shown(), before);
    ticks(5);
    ASSERT_TRUE(throughDialog<Ouvrir>("Command2", [&](Ouvrir& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("ouvrir"));
        dialog.ficharge()->setText(saved);
        dialog.Command1_Click();
    }));
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(control<QCheckBox>("Check1")->isChecked()) << "Fond blanc is not stored";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Équilibre dynamique - ") + saved);
    EXPECT_EQ(window->simulation().nbtics(), 0);
    EXPECT_EQ(window->simulation().nbcourbes(), 0);
    // The run follows the loaded controls.
    const Parameters& p = window->simulation().parameters();
    EXPECT_EQ(p.counts[1], "  12");
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(p.effectivePercent[1], 100 - 70);
    EXPECT_EQ(p.temperature, 300);
    EXPECT_EQ(p.durationTag, "90");
    EXPECT_EQ(p.tableRows, tableRowsAt(40));
    EXPECT_EQ(p.colours[3], fromQColor(colours[3]));
    EXPECT_FALSE(p.keepCurves);
    EXPECT_FALSE(p.showQr);
}

TEST_F(ConfigTest, AFilesDurationDropsKeptCurvesWithoutAsking) {
    // Curves kept from a finished 10 s run, then a file with another duration.
    control<QCheckBox>("Check2")->setChecked(true);
    control<QScrollBar>("VScroll2")->setValue(12);
    ticks(101);
    ASSERT_EQ(window->simulation().nbcourbes(), 4);
    ConfigurationValues values = window->configuration();
    values.durationPosition = 9;
    const QString file = path("duree.C11");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    const std::string bytes = *configurationBytes(values);
    out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    out.close();

    nomfichier() = file;
    Answers answers({});
    chargeconfig(window.get(), *window);

    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(control<QScrollBar>("VScroll2")->value(), 9);
    EXPECT_EQ(window->ancienneduree, 9);
    EXPECT_EQ(window->simulation().nbcourbes(), 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Équilibre dynamique - ") + file);
}

// Writes a configuration whose record n holds text instead, or which stops
// before record n when text is null.
void writeConfiguration(const QString& file, int n, const char* text) {
    ConfigurationValues values;
    values.counts = {"300", "200", "10", "5"};
    values.sensePositions = {10, 90};
    values.temperature = 700;
    values.colours = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    values.durationPosition = 9;
    std::string bytes = *configurationBytes(values);
    const std::size_t at = static_cast<std::size_t>(n - 1) * 128;
    if (text) {
        const std::string value(text);
        bytes[at] = static_cast<char>(value.size());
        bytes[at + 1] = 0;
        bytes.replace(at + 2, value.size(), value);
    } else {
        bytes.resize(at);
    }
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TEST_F(ConfigTest, BadFilesChangeOnlyWhatWasRead) {
    struct Case {
        int record;
        const char* text;
        const char* title;
        const char* countA;  // what the A box holds afterwards
        int senseTwo;        // VScroll4_1 afterwards
        const char* colourB;
        bool loaded;
    };
    const std::vector<Case> cases{
        {1, "molvane", "Fichier non valide", "100", 50, "#ff00ff", false},
        {1, "MOLVANE ", "Fichier non valide", "100", 50, "#ff00ff", false},
        {10, nullptr, "Erreur lors du chargement du fichier", "300", 90, "#ff00ff", false},
        {13, " 40", "Erreur lors du chargement du fichier", "300", 90, "#00ff00", false},
        {7, " 101", "Erreur lors du chargement du fichier", "300", 50, "#ff00ff", false},
        {16, "1", nullptr, "300", 90, "#00ff00", true},
    };
    for (const Case& c : cases) {
        SetUp();
        ticks(4);
        const QString file = path("bad.C11");
        writeConfiguration(file, c.record, c.text);
        nomfichier() = file;
        Answers answers({});
        chargeconfig(window.get(), *window);

        if (c.title) {
            ASSERT_EQ(answers.seen.size(), 1u) << c.record;
            EXPECT_EQ(answers.seen[0].title, QString::fromUtf8(c.title));
            EXPECT_EQ(answers.seen[0].icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(answers.seen.empty()) << c.record;
        }
        EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QLatin1String(c.countA)) << c.record;
        EXPECT_EQ(control<QScrollBar>("VScroll4_1")->value(), c.senseTwo) << c.record;
        EXPECT_EQ(control<Swatch>("Label4_2")->shown().name(), QLatin1String(c.colourB)) << c.record;
        EXPECT_EQ(window->windowTitle().contains(QStringLiteral("bad.C11")), c.loaded);
        // Past the signature, the bars' own handlers have restarted the run.
        EXPECT_EQ(window->simulation().nbtics(), c.record == 1 ? 4 : 0) << c.record;
        if (c.record == 16) {
            // Records 15 and 16 both "1": the table, applied last, wins.
            EXPECT_TRUE(control<QRadioButton>("Option1_1")->isChecked());
            EXPECT_FALSE(control<QRadioButton>("Option1_0")->isChecked());
            EXPECT_FALSE(window->findChild<QWidget*>("MSFlexGrid1")->isHidden());
        }
    }
}

}  // namespace
}  // namespace molvane
