// A main window with its exercise menu, in a fresh program folder where each
// test writes the exercise files, documents and configurations it needs.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTextEdit>
#include <string>
#include <vector>

#include "common/recordfile.h"
#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/textarea.h"
#include "files/configio.h"
#include "files/configuration.h"
#include "files/navigator.h"
#include "tests/exercises/exercisebytes.h"
#include "tests/ui/fixture.h"

namespace molvane {

class ExerciseTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        nomfichier().clear();
    }

    QString path(const QString& name) const { return folder.filePath(name); }
    QString programFolder() const { return folder.path() + '/'; }

    void writeBytes(const QString& name, const QByteArray& bytes) const {
        const QString full = path(name);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray bytesOf(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Records written as UTF-8 text, stored in Windows-1252.
    void writeExercise(const QString& name, const std::vector<std::string>& records) const {
        writeBytes(name, QByteArray::fromStdString(exerciseBytes(records)));
    }
    // An RTF document holding one line of text.
    void writeDocument(const QString& name, const QString& text) const {
        QTextDocument document;
        document.setPlainText(text);
        QDir().mkpath(QFileInfo(path(name)).path());
        ASSERT_TRUE(rtf::saveRtfFile(document, path(name)));
    }
    // A configuration that differs from the start-up one by its counts.
    void writeConfiguration(const QString& name, const std::string& countOfA) const {
        ConfigurationValues values = window->configuration();
        values.counts[0] = countOfA;
        const std::string data = *configurationBytes(values);
        writeBytes(name, QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    }

    ExerciseMenu& menu() { return window->exercises(); }
    TextArea& text() { return window->textArea(); }
    QTextEdit* supertext() { return text().supertext(); }
    QString shownText() { return supertext()->toPlainText(); }

    // The exercise window as a pupil finds it: shown and activated.
    Fichexo& showWindow() {
        Fichexo& exercise = menu().window();
        exercise.show();
        // The activation the showing queued, done now rather than in the
        // middle of a test's later wait.
        QApplication::processEvents();
        exercise.Form_Activate();
        return exercise;
    }
    template <typename W>
    W* part(Fichexo& exercise, const char* name) {
        return namedChild<W>(exercise, name);
    }
    // Opens an exercise of the program's folder as the window does.
    bool open(const QString& name) {
        Fichexo& exercise = showWindow();
        const auto items = exercise.navigator().files()->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(items.size(), 1) << name.toStdString();
        if (items.size() != 1) return false;
        exercise.navigator().files()->setCurrentItem(items.first());
        const bool opened = exercise.ouvreur_Click();
        menu().closeWindow();
        return opened;
    }
};

}  // namespace molvane
