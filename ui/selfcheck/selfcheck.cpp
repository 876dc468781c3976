#include "ui/selfcheck/selfcheck.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "exercises/textarea.h"
#include "files/navigator.h"
#include "output/helpwindow.h"
#include "ui/main/mainwindow.h"
#include "windowkit/messages.h"

namespace molvane {
namespace {

// The help indexes its pages in a thread at its first opening: generous
// bounds, since a classroom machine may be slow and busy.
constexpr int kIndexingMilliseconds = 60000;
constexpr int kSearchMilliseconds = 20000;
// A word every page of the help is about.
const QString kSearchedWord = QStringLiteral("équilibre");
// How a failed step's line starts.
const QString kFailedMark = QStringLiteral("ÉCHEC  ");

// Waits for a signal, or for the time to pass; true when the signal came.
template <typename Sender, typename Signal>
bool waitFor(Sender* sender, Signal signal, int milliseconds) {
    QEventLoop loop;
    bool came = false;
    const auto connection = QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return came;
}

class Checker {
public:
    Checker(MainWindow& window, const QString& programFolder)
        : window_(window), folder_(QDir(programFolder).absolutePath() + QLatin1Char('/')) {
        // A box would wait for a pupil who is not there: it is answered, and
        // it fails the step that opened it.
        setMessageResponder([this](const MessageShown& shown) {
            messages_ << QStringLiteral("%1 : %2").arg(
                shown.title, QString(shown.text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
            // The answer that gives nothing away: Non, Annuler, or OK alone.
            switch (shown.buttons) {
                case MessageButtons::YesNo:
                    return MessageAnswer::No;
                case MessageButtons::OkCancel:
                    return MessageAnswer::Cancel;
                case MessageButtons::Ok:
                    break;
            }
            return MessageAnswer::Ok;
        });
    }
    ~Checker() { setMessageResponder({}); }
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

    SelfCheckResult run() {
        result_.lines << QStringLiteral("Auto-contrôle de Molvane dans %1").arg(folder_);
        gettingStarted();
        const QStringList listed = exerciseList();
        for (const QString& name : listed) exercise(name);
        help();
        result_.lines << (result_.failures == 0
                              ? QStringLiteral("Auto-contrôle réussi.")
                              : QStringLiteral("Auto-contrôle : %1 échec(s).").arg(result_.failures));
        return result_;
    }

private:
    // Records a step: ok, or a failure with its reason and any box it opened.
    void report(bool ok, const QString& step, const QString& why = QString()) {
        if (!messages_.isEmpty()) ok = false;
        QString line = (ok ? QStringLiteral("ok     ") : kFailedMark) + step;
        if (!ok && !why.isEmpty()) line += QStringLiteral(" : ") + why;
        for (const QString& shown : messages_) line += QStringLiteral(" [message « %1 »]").arg(shown);
        messages_.clear();
        result_.lines << line;
        if (!ok) ++result_.failures;
    }

    bool textShown() const { return !window_.textArea().supertext()->toPlainText().trimmed().isEmpty(); }

    static bool sameFile(const QString& a, const QString& b) {
        const QString canonical = QFileInfo(a).canonicalFilePath();
        return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
    }

    void gettingStarted() {
        window_.exercises().PRISENMAIN_Click();
        const QString fich = window_.textArea().fich();
        if (fich.isEmpty() || !sameFile(fich, QDir(folder_).filePath(QFileInfo(fich).fileName()))) {
            report(false, QStringLiteral("Prise en main"), QStringLiteral("molvane.PEM est introuvable"));
        } else if (!textShown()) {
            report(false, QStringLiteral("Prise en main"), QStringLiteral("le document est vide"));
        } else {
            report(true, QStringLiteral("Prise en main (%1)").arg(QFileInfo(fich).fileName()));
        }
    }

    // Runs a command that shows the exercise window modally, with inside() run
    // once the window is up; inside() must close it.
    void withExerciseWindow(const std::function<void(Fichexo&)>& inside) {
        // A timer of this scope: when no window opens, it is stopped here and
        // never runs once the step is over.
        QTimer step;
        step.setSingleShot(true);
        QObject::connect(&step, &QTimer::timeout, &window_, [&] {
            Fichexo* shown = window_.exercises().openWindow();
            if (shown && shown->isVisible()) {
                inside(*shown);
                if (shown->isVisible()) shown->Image5_Click();
            }
        });
        step.start(0);
        window_.exercises().openexo_Click();
        step.stop();
    }

    // The exercise files of the program's folder, as the exercise window lists them.
    QStringList exerciseList() {
        QStringList listed;
        bool opened = false;
        withExerciseWindow([&](Fichexo& exercises) {
            opened = true;
            const QListWidget* files = exercises.navigator().files();
            for (int row = 0; row < files->count(); ++row) listed << files->item(row)->text();
        });
        // Every exercise file of the folder, whatever the case of its extension.
        QStringList missing =
            QDir(folder_).entryList({QStringLiteral("*.E32")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString& name : listed) missing.removeAll(name);
        if (!opened) {
            report(false, QStringLiteral("Fenêtre des exercices"), QStringLiteral("elle ne s'ouvre pas"));
        } else if (listed.isEmpty()) {
            report(false, QStringLiteral("Fenêtre des exercices"), QStringLiteral("aucun exercice listé"));
        } else if (!missing.isEmpty()) {
            report(false, QStringLiteral("Fenêtre des exercices"),
                   QStringLiteral("absents de la liste : %1").arg(missing.join(QStringLiteral(", "))));
        } else {
            report(true, QStringLiteral("Fenêtre des exercices : %1 exercices listés").arg(listed.count()));
        }
        return listed;
    }

    // Opens one exercise from the exercise window, then its correction when it has one.
    void exercise(const QString& name) {
        const QString step = QStringLiteral("Exercice %1").arg(name);
        bool opened = false;
        withExerciseWindow([&](Fichexo& exercises) {
            QListWidget* files = exercises.navigator().files();
            const auto found = files->findItems(name, Qt::MatchExactly);
            if (found.isEmpty()) return;
            files->setCurrentItem(found.first());
            exercises.File1_Click();
            opened = exercises.ouvreur_Click();
        });
        if (!opened || !sameFile(window_.textArea().fich(), folder_ + name) || !textShown()) {
            report(false, step, QStringLiteral("l'énoncé ne s'ouvre pas"));
            return;
        }
        if (window_.exercises().state().corrige != 1) {
            report(true, step + QStringLiteral(" (sans correction)"));
            return;
        }
        const QString statement = window_.textArea().supertext()->toHtml();
        window_.exercises().opencor_Click();
        const bool corrected = textShown() && window_.textArea().supertext()->toHtml() != statement &&
                               window_.textArea().supertext()->isReadOnly();
        report(corrected, step + QStringLiteral(" et sa correction"),
               QStringLiteral("la correction ne s'ouvre pas"));
    }

    void help() {
        QPushButton* command7 = window_.findChild<QPushButton*>(QStringLiteral("Command7"));
        if (command7) command7->click();
        HelpWindow* shown = window_.findChild<HelpWindow*>();
        if (!shown || !shown->isVisible()) {
            report(false, QStringLiteral("Aide"),
                   QStringLiteral("%1 est introuvable ou illisible").arg(kHelpCollection));
            return;
        }
        if (shown->browser()->toPlainText().trimmed().isEmpty()) {
            report(false, QStringLiteral("Aide"), QStringLiteral("la page d'accueil est vide"));
        } else {
            report(true, QStringLiteral("Aide : page d'accueil"));
        }
        QHelpSearchEngine* search = shown->engine().searchEngine();
        waitFor(search, &QHelpSearchEngine::indexingFinished, kIndexingMilliseconds);
        shown->search(kSearchedWord);
        const bool searched = waitFor(search, &QHelpSearchEngine::searchingFinished, kSearchMilliseconds);
        const int hits = searched ? search->searchResultCount() : 0;
        report(hits > 0,
               QStringLiteral("Aide : recherche de « %1 », %2 page(s)").arg(kSearchedWord).arg(hits),
               QStringLiteral("la recherche ne trouve rien"));
        shown->close();
    }

    MainWindow& window_;
    QString folder_;
    QStringList messages_;
    SelfCheckResult result_;
};

}  // namespace

bool selfCheckWanted() {
    const QByteArray value = qgetenv("MOLVANE_SELF_CHECK");
    return !value.isEmpty() && value != "0";
}

bool isHeadlessNotice(QtMsgType type, const QString& text) {
    if (type != QtWarningMsg && type != QtInfoMsg && type != QtDebugMsg) return false;
    // The offscreen platform's "This plugin does not support raise()" and
    // the like, and the runtime folder Qt falls back on by itself.
    static const QRegularExpression notices(
        QStringLiteral("^(This plugin does not support [A-Za-z]+\\(\\)|"
                       "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '[^']*')$"));
    return notices.match(text).hasMatch();
}

namespace {
QtMessageHandler previousHandler = nullptr;

void headlessQuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (isHeadlessNotice(type, text)) return;
    if (previousHandler) previousHandler(type, context, text);
}
}  // namespace

void quietHeadlessNotices() {
    if (previousHandler) return;
    previousHandler = qInstallMessageHandler(headlessQuietHandler);
}

SelfCheckResult runSelfCheck(MainWindow& window, const QString& programFolder) {
    Checker checker(window, programFolder);
    return checker.run();
}

int selfCheckMain(MainWindow& window, const QString& programFolder) {
    int status = 1;
    QTimer::singleShot(0, &window, [&] {
        const SelfCheckResult result = runSelfCheck(window, programFolder);
        // Steps that passed go to the standard output; failures and the
        // closing count of a failed check go to the error output.
        for (int i = 0; i < result.lines.count(); ++i) {
            const QString& line = result.lines.at(i);
            const bool failed =
                line.startsWith(kFailedMark) || (result.failures > 0 && i == result.lines.count() - 1);
            std::fprintf(failed ? stderr : stdout, "%s\n", line.toUtf8().constData());
        }
        std::fflush(stdout);
        std::fflush(stderr);
        status = result.failures == 0 ? 0 : 1;
        // Ends as a lesson does, without the closing questions: the hand-off
        // file says the program is gone.
        window.textArea().setTextemodifie(0);
        window.Form_Unload();
        window.hide();
        QCoreApplication::exit(status);
    });
    QApplication::exec();
    return status;
}

}  // namespace molvane
