// The self-check passes on a program folder holding everything the build
// ships, and names the step that fails when part of it is missing or broken.
#include "ui/selfcheck/selfcheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <vector>

#include "tests/support/coursemanifest.h"
#include "ui/main/mainwindow.h"

namespace molvane {
namespace {

// What the installation puts beside the program: the course material the
// build lists, and the help collection.
QStringList shipped() {
    QStringList files = test::shippedCourseFiles();
    files << QStringLiteral("molvane.qhc") << QStringLiteral("molvane.qch");
    return files;
}

bool copyShipped(const QDir& to) {
    const QStringList files = shipped();
    if (files.isEmpty()) return false;
    for (const QString& name : files) {
        const QString target = to.filePath(name);
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) return false;
        if (!QFile::copy(kProgram.filePath(name), target)) return false;
    }
    return true;
}

QStringList failedLines(const SelfCheckResult& result) {
    QStringList failed;
    for (const QString& line : result.lines)
        if (line.startsWith(QStringLiteral("ÉCHEC"))) failed << line;
    return failed;
}

SelfCheckResult checkFolder(const QString& folder) {
    MainWindow window(folder);
    window.show();
    return runSelfCheck(window, folder);
}

int shippedExercises() {
    return static_cast<int>(shipped().filter(QStringLiteral(".E32"), Qt::CaseInsensitive).count());
}

TEST(SelfCheck, PassesOnEverythingTheBuildShips) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(copyShipped(QDir(folder.path())));
    ASSERT_GT(shippedExercises(), 0);

    const SelfCheckResult result = checkFolder(folder.path());

    EXPECT_EQ(result.failures, 0) << result.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(failedLines(result).isEmpty());
    EXPECT_TRUE(result.lines.contains(
        QStringLiteral("ok     Fenêtre des exercices : %1 exercices listés").arg(shippedExercises())))
        << result.lines.join(QLatin1Char('\n')).toStdString();
    // Every exercise was opened, and the help was searched.
    EXPECT_EQ(result.lines.filter(QStringLiteral("ok     Exercice ")).count(), shippedExercises());
    EXPECT_EQ(result.lines.filter(QStringLiteral("ok     Aide : recherche")).count(), 1);
    EXPECT_EQ(result.lines.last(), QStringLiteral("Auto-contrôle réussi."));
}

struct Damage {
    const char* what;
    QStringList removed;       // files taken out of the complete folder
    QString addedExercise;     // an exercise file written with junk, if not empty
    QStringList failingSteps;  // each must start a failed line
    QStringList passingSteps;  // each must still start a passed line
};

// Names the case in test listings, instead of its bytes.
void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.what;
}

class SelfCheckDamaged : public testing::TestWithParam<Damage> {};

TEST_P(SelfCheckDamaged, NamesTheFailingStepOnly) {
    const Damage& damage = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    ASSERT_TRUE(copyShipped(dir));
    for (const QString& name : damage.removed)
        ASSERT_TRUE(QFile::remove(dir.filePath(name))) << name.toStdString();
    if (!damage.addedExercise.isEmpty()) {
        QFile junk(dir.filePath(damage.addedExercise));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("ceci n'est pas un exercice");
    }

    const SelfCheckResult result = checkFolder(folder.path());
    const QStringList failed = failedLines(result);
    const std::string report = result.lines.join(QLatin1Char('\n')).toStdString();

    EXPECT_EQ(result.failures, failed.count()) << report;
    EXPECT_EQ(failed.count(), damage.failingSteps.count()) << report;
    for (const QString& step : damage.failingSteps)
        EXPECT_EQ(failed.filter(QStringLiteral("ÉCHEC  ") + step).count(), 1) << step.toStdString() << "\n"
                                                                              << report;
    for (const QString& step : damage.passingSteps)
        EXPECT_EQ(result.lines.filter(QStringLiteral("ok     ") + step).count(), 1)
            << step.toStdString() << "\n"
            << report;
    EXPECT_TRUE(result.lines.last().startsWith(QStringLiteral("Auto-contrôle : ")));
}

INSTANTIATE_TEST_SUITE_P(
    MissingOrBroken, SelfCheckDamaged,
    testing::Values(
        Damage{"getting_started",
               {QStringLiteral("molvane.PEM")},
               {},
               {QStringLiteral("Prise en main")},
               {QStringLiteral("Fenêtre des exercices"), QStringLiteral("Aide : page d'accueil")}},
        Damage{"help",
               {QStringLiteral("molvane.qhc")},
               {},
               {QStringLiteral("Aide")},
               {QStringLiteral("Prise en main"), QStringLiteral("Fenêtre des exercices")}},
        Damage{"statement",
               {QStringLiteral("exercices/exo2-enonce.rtf")},
               {},
               {QStringLiteral("Exercice Exo02-Quotient-de-reaction.E32")},
               {QStringLiteral("Exercice Exo01-Vers-l-equilibre.E32"), QStringLiteral("Aide : recherche")}},
        Damage{"correction",
               {QStringLiteral("exercices/exo3-corrige.rtf")},
               {},
               {QStringLiteral("Exercice Exo03-Critere-d-evolution.E32 et sa correction")},
               {QStringLiteral("Exercice Exo07-Temperature.E32 et sa correction")}},
        Damage{"broken_exercise",
               {},
               QStringLiteral("Exo9-Abime.E32"),
               {QStringLiteral("Exercice Exo9-Abime.E32")},
               {QStringLiteral("Fenêtre des exercices"),
                QStringLiteral("Exercice Exo05-Taux-d-avancement.E32")}},
        Damage{
            "no_exercise",
            {QStringLiteral("Exo01-Vers-l-equilibre.E32"), QStringLiteral("Exo02-Quotient-de-reaction.E32"),
             QStringLiteral("Exo03-Critere-d-evolution.E32"),
             QStringLiteral("Exo04-Perturber-un-equilibre.E32"),
             QStringLiteral("Exo05-Taux-d-avancement.E32"), QStringLiteral("Exo06-Retirer-un-produit.E32"),
             QStringLiteral("Exo07-Temperature.E32"), QStringLiteral("Exo08-Catalyseur.E32"),
             QStringLiteral("Exo09-Vitesse-et-demi-reaction.E32"),
             QStringLiteral("Exo10-Loi-d-ordre-1-avec-Python.E32"), QStringLiteral("Exo11-Dilution.E32"),
             QStringLiteral("Exo12-Fluctuations.E32")},
            {},
            {QStringLiteral("Fenêtre des exercices : aucun exercice listé")},
            {QStringLiteral("Prise en main"), QStringLiteral("Aide : recherche")}}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.what); });

TEST(SelfCheck, FailsEveryStepOnAnEmptyFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const SelfCheckResult result = checkFolder(folder.path());
    const QStringList failed = failedLines(result);
    EXPECT_EQ(result.failures, 3) << result.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(failed.filter(QStringLiteral("Prise en main")).count(), 1);
    EXPECT_EQ(failed.filter(QStringLiteral("Fenêtre des exercices")).count(), 1);
    EXPECT_EQ(failed.filter(QStringLiteral("Aide")).count(), 1);
}

TEST(SelfCheck, WantedOnlyWhenTheVariableSaysSo) {
    struct Case {
        const char* value;  // null: unset
        bool wanted;
    };
    for (const Case& c :
         {Case{nullptr, false}, Case{"", false}, Case{"0", false}, Case{"1", true}, Case{"oui", true}}) {
        if (c.value)
            qputenv("MOLVANE_SELF_CHECK", c.value);
        else
            qunsetenv("MOLVANE_SELF_CHECK");
        EXPECT_EQ(selfCheckWanted(), c.wanted) << (c.value ? c.value : "(absent)");
    }
    qunsetenv("MOLVANE_SELF_CHECK");
}

// A self-check without a screen keeps its standard error for failures: the
// platform's notices are dropped, anything else Qt says still shows.
TEST(SelfCheck, OnlyTheHeadlessPlatformsNoticesAreQuiet) {
    struct Case {
        QtMsgType type;
        const char* text;
        bool quiet;
    };
    const std::vector<Case> cases{
        {QtWarningMsg, "This plugin does not support raise()", true},
        {QtWarningMsg, "This plugin does not support propagateSizeHints()", true},
        {QtWarningMsg, "This plugin does not support grabbing the keyboard", false},
        {QtWarningMsg, "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'", true},
        {QtCriticalMsg, "This plugin does not support raise()", false},
        {QtWarningMsg, "QStandardPaths: wrong permissions on runtime directory /run/user/0", false},
        {QtWarningMsg, "qt.qpa.plugin: Could not load the Qt platform plugin", false},
        {QtWarningMsg, "QSqlDatabase: QSQLITE driver not loaded", false},
        {QtWarningMsg, "Note: This plugin does not support raise()", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isHeadlessNotice(c.type, QString::fromLatin1(c.text)), c.quiet) << c.text;

    // Installed, the filter passes every other message on to the handler before it.
    std::vector<QString> printed;
    static std::vector<QString>* sink = nullptr;
    sink = &printed;
    const QtMessageHandler before = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { sink->push_back(text); });
    quietHeadlessNotices();
    qWarning("This plugin does not support raise()");
    qWarning("Une vraie panne");
    qInstallMessageHandler(before);
    EXPECT_EQ(printed, std::vector<QString>{QStringLiteral("Une vraie panne")});
}

}  // namespace
}  // namespace molvane
