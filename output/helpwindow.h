// The help: French pages compiled at build time into a Qt Help collection
// that lies beside the program, shown in a window with its contents, its
// keyword index and its full-text search. The window is not modal, so that a
// pupil reads while the simulation runs.
#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;
class QLineEdit;
class QTabWidget;

namespace molvane {

// The collection's name, and the page the window opens at.
inline const QString kHelpCollection = QStringLiteral("molvane.qhc");
inline const QString kHelpContentsPage = QStringLiteral("qthelp://fr.molvane.aide/aide/index.html");

// The collection in the program's folder, whether or not the folder's text
// ends with a separator.
QString helpCollectionPath(const QString& programFolder);
// The collection the window reads: a copy in cacheFolder that follows the
// shipped files (the engine writes beside and into the collection it opens),
// or the shipped one when there is no cache folder.
QString searchableCollection(const QString& shipped, const QString& cacheFolder);

// Where the help window opens: beside the main window's vessel and graph,
// which stay in sight, when the screen leaves room enough there; otherwise
// over the main window, a little below and right of its corner.
QRect helpPlacement(const QRect& mainWindow, const QRect& screen, QSize preferred);

// Shows the pages the help engine holds.
class HelpBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngine& engine_;
};

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    // The window over the collection; null when the collection is missing or
    // holds no pages.
    static HelpWindow* create(const QString& collection, QWidget* owner);
    ~HelpWindow() override;

    QHelpEngine& engine() { return *engine_; }
    HelpBrowser* browser() const { return browser_; }
    QTabWidget* tabs() const { return tabs_; }
    // Shows the page of the contents, and the contents tab.
    void showContents();
    // Runs the full-text search as the search tab does.
    void search(const QString& words);

private:
    HelpWindow(QHelpEngine* engine, QWidget* owner);
    void buildSearch();
    void followPage(const QUrl& page);

    QHelpEngine* engine_;
    HelpBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QHelpContentWidget* contents_ = nullptr;
    QHelpIndexWidget* index_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
};

// `Command7` "&Aide": opens the help window, or brings the open one forward.
class HelpLauncher final : public QObject {
    Q_OBJECT
public:
    HelpLauncher(QWidget* mainWindow, QString programFolder);

    void Command7_Click();
    HelpWindow* window() const { return window_; }

private:
    QWidget* mainWindow_;
    QString programFolder_;
    QPointer<HelpWindow> window_;
};

}  // namespace molvane
