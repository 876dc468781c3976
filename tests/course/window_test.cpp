// The shipped course material opened as a pupil opens it: through the
// exercise window and the exercise menu of a main window whose folder holds
// exactly what the build put beside the program.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>

#include "course/generator/sheets.h"
#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/textarea.h"
#include "files/configio.h"
#include "files/navigator.h"
#include "tests/exercises/exercisetest.h"
#include "tests/support/coursemanifest.h"

namespace molvane {
namespace {

const QDir kSources(QStringLiteral(MOLVANE_COURSE_SOURCES));

course::KeyValues source(const QString& relative) {
    QFile file(kSources.filePath(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    course::KeyValues values;
    std::string error;
    EXPECT_TRUE(course::parseKeyValues(file.readAll().toStdString(), values, error)) << error;
    return values;
}

// The settings a configuration source asks for, as the window should show them.
ConfigurationValues configurationSource(const std::string& name) {
    ConfigurationValues values;
    std::string error;
    EXPECT_TRUE(course::parseConfiguration(
        source(QStringLiteral("configurations/") + QString::fromStdString(name)), values, error))
        << name << " : " << error;
    return values;
}

void expectSettings(const ConfigurationValues& shown, const ConfigurationValues& wanted) {
    EXPECT_EQ(shown.counts, wanted.counts);
    EXPECT_EQ(shown.sensePositions, wanted.sensePositions);
    EXPECT_EQ(shown.temperature, wanted.temperature);
    EXPECT_EQ(shown.colours, wanted.colours);
    EXPECT_EQ(shown.durationPosition, wanted.durationPosition);
    EXPECT_EQ(shown.rowsPosition, wanted.rowsPosition);
    EXPECT_EQ(shown.views, wanted.views);
    EXPECT_EQ(shown.curves, wanted.curves);
    EXPECT_EQ(shown.keepCurves, wanted.keepCurves);
    EXPECT_EQ(shown.showQr, wanted.showQr);
}

// The text of a shipped document, read on its own.
QString documentText(const QString& relative) {
    QTextDocument document;
    EXPECT_EQ(rtf::loadRtfFile(kProgram.filePath(relative), document), rtf::ReadStatus::Ok)
        << relative.toStdString();
    return document.toPlainText();
}

class ShippedMaterial : public ExerciseTest {
protected:
    void SetUp() override {
        ExerciseTest::SetUp();
        files = test::shippedCourseFiles();
        ASSERT_FALSE(files.isEmpty());
        for (const QString& relative : files) {
            const QString target = folder.filePath(relative);
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(kProgram.filePath(relative), target)) << relative.toStdString();
        }
    }

    QString title() const { return window->windowTitle(); }
    QString configurationTitle(const QString& shippedName) const {
        return QStringLiteral("Équilibre dynamique - ") + folder.filePath(shippedName);
    }

    QStringList files;
};

TEST_F(ShippedMaterial, EveryExerciseOpensAsItsSheetSays) {
    const QStringList exercises = files.filter(QRegularExpression(QStringLiteral("^[^/]+\\.E32$")));
    ASSERT_GE(exercises.size(), 5);
    Answers answers({});  // any message at all is a fault of the material
    ExerciseMenu& menu = window->exercises();

    for (const QString& name : exercises) {
        SCOPED_TRACE(name.toStdString());
        course::ExerciseSheet sheet;
        std::string error;
        ASSERT_TRUE(
            course::parseExerciseSheet(source(QStringLiteral("exercices/") +
                                              QFileInfo(name).completeBaseName() + QStringLiteral(".txt")),
                                       sheet, error))
            << error;

        // The preview shows the sheet's fields.
        Fichexo& exercise = showWindow();
        QListWidget* list = exercise.navigator().files();
        EXPECT_EQ(list->count(), exercises.size());
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        list->setCurrentItem(items.first());
        EXPECT_EQ(part<QLabel>(exercise, "titratexo")->text(), QString::fromStdString(sheet.title));
        EXPECT_EQ(part<QLabel>(exercise, "Text1")->text(), QString::fromStdString(sheet.topics));
        EXPECT_EQ(part<QLabel>(exercise, "Label2")->text(), QStringLiteral("Exercice corrigé"));
        EXPECT_EQ(part<QLabel>(exercise, "Text2")->text(), QString(sheet.hourglasses, QChar(0x231B)));
        const QImage lit = part<QLabel>(exercise, "Imagalu")->pixmap().toImage();
        for (int k = 0; k < 3; ++k) {
            auto* symbol = part<QLabel>(exercise, QStringLiteral("Image4_%1").arg(k).toLatin1().constData());
            EXPECT_EQ(symbol->pixmap().toImage() == lit, k < sheet.difficulty) << k;
        }

        // The statement, editable, with its configuration named in the title.
        ASSERT_TRUE(exercise.ouvreur_Click());
        menu.closeWindow();
        const QString statement = QStringLiteral("exercices/") +
                                  QString::fromStdString(course::shippedName(sheet.statement, ".rtf"));
        EXPECT_EQ(supertext()->toPlainText(), documentText(statement));
        EXPECT_FALSE(supertext()->isReadOnly());
        EXPECT_EQ(window->textArea().fich(), folder.filePath(name));
        EXPECT_EQ(title(), configurationTitle(
                               QStringLiteral("exercices/") +
                               QString::fromStdString(course::shippedName(sheet.configuration, ".C11"))));
        expectSettings(window->configuration(), configurationSource(sheet.configuration));

        // "Voir la correction" is offered and shows the correction, read-only,
        // with its own configuration.
        menu.enableItems();
        EXPECT_TRUE(menu.item("opencor")->isEnabled());
        menu.opencor_Click();
        const QString correction = QStringLiteral("exercices/") +
                                   QString::fromStdString(course::shippedName(sheet.correction, ".rtf"));
        EXPECT_EQ(supertext()->toPlainText(), documentText(correction));
        EXPECT_TRUE(supertext()->isReadOnly());
        const std::string correctionConfiguration =
            sheet.correctionConfiguration.empty() ? sheet.configuration : sheet.correctionConfiguration;
        EXPECT_EQ(title(), configurationTitle(
                               QStringLiteral("exercices/") +
                               QString::fromStdString(course::shippedName(correctionConfiguration, ".C11"))));
        expectSettings(window->configuration(), configurationSource(correctionConfiguration));
    }
    for (const MessageShown& shown : answers.seen)
        ADD_FAILURE() << shown.title.toStdString() << " : " << shown.text.toStdString();
}

TEST_F(ShippedMaterial, GettingStartedOpensFromTheMenu) {
    Answers answers({});
    course::ExerciseSheet sheet;
    std::string error;
    ASSERT_TRUE(course::parseGettingStartedSheet(source(QStringLiteral("priseenmain.txt")), sheet, error))
        << error;

    window->exercises().PRISENMAIN_Click();
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(window->textArea().fich(), folder.filePath(QStringLiteral("molvane.PEM")));
    EXPECT_EQ(supertext()->toPlainText(),
              documentText(QStringLiteral("exercices/") +
                           QString::fromStdString(course::shippedName(sheet.statement, ".rtf"))));
    EXPECT_TRUE(supertext()->toPlainText().startsWith(QStringLiteral("Prise en main")));
    EXPECT_FALSE(supertext()->isReadOnly());  // the pupil notes what they see
    EXPECT_EQ(window->exercises().state().corrige, 0);
    EXPECT_EQ(title(),
              configurationTitle(QStringLiteral("exercices/") +
                                 QString::fromStdString(course::shippedName(sheet.configuration, ".C11"))));
    expectSettings(window->configuration(), configurationSource(sheet.configuration));
}

}  // namespace
}  // namespace molvane
