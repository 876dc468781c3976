#include "output/helpwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentItem>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include "output/outputtexts.h"
#include "windowkit/paper.h"

namespace molvane {

namespace {

const QString kHelpPages = QStringLiteral("molvane.qch");

QString text(std::string_view words) {
    return QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
}

bool sameFile(const QFileInfo& a, const QFileInfo& b) {
    return b.exists() && a.size() == b.size() && a.lastModified() <= b.lastModified();
}

}  // namespace

QString helpCollectionPath(const QString& programFolder) {
    QString folder = programFolder;
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QDir::separator())) folder += QLatin1Char('/');
    return folder + kHelpCollection;
}

QRect helpPlacement(const QRect& mainWindow, const QRect& screen, QSize preferred) {
    // The vessel and the graph take the main window's left 430 pixels.
    constexpr int kKeptInSight = 430, kNarrowest = 560, kOffset = 40;
    const int left = mainWindow.left() + kKeptInSight;
    const int room = screen.right() + 1 - left;
    if (room >= kNarrowest) {
        return QRect(left, mainWindow.top(), std::min(room, preferred.width()),
                     std::min(preferred.height(), screen.bottom() + 1 - mainWindow.top()));
    }
    return QRect(mainWindow.topLeft() + QPoint(kOffset, kOffset), preferred);
}

QString searchableCollection(const QString& shipped, const QString& cacheFolder) {
    if (cacheFolder.isEmpty()) return shipped;
    // The engine writes its search index beside the collection it opens, and
    // into the collection itself: the help is read from a copy kept up to
    // date in the user's cache, so that the program's folder (read-only, or
    // the package's own files) is never written.
    const QDir from = QFileInfo(shipped).absoluteDir();
    if (!QDir().mkpath(cacheFolder)) return shipped;
    const QDir to(cacheFolder);
    for (const QString& name : {QFileInfo(shipped).fileName(), kHelpPages}) {
        const QFileInfo source(from.filePath(name)), copy(to.filePath(name));
        if (sameFile(source, copy)) continue;
        QFile::remove(copy.filePath());
        if (!QFile::copy(source.filePath(), copy.filePath())) return shipped;
        QFile::setPermissions(copy.filePath(), QFile::ReadOwner | QFile::WriteOwner);
    }
    return to.filePath(QFileInfo(shipped).fileName());
}

HelpBrowser::HelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
    keepPaper(this);
    setObjectName(QStringLiteral("pages"));
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    // A page names its style sheet and pictures relative to itself.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() == QLatin1String("qthelp")) return engine_.fileData(url);
    return QTextBrowser::loadResource(type, name);
}

HelpWindow* HelpWindow::create(const QString& collection, QWidget* owner) {
    const QFileInfo shipped(collection);
    if (!shipped.isFile()) return nullptr;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString used = searchableCollection(
        collection, cache.isEmpty() ? QString() : cache + QStringLiteral("/molvane-aide"));
    auto* engine = new QHelpEngine(used);
    if (!engine->setupData() || engine->fileData(QUrl(kHelpContentsPage)).isEmpty()) {
        delete engine;
        return nullptr;
    }
    return new HelpWindow(engine, owner);
}

HelpWindow::HelpWindow(QHelpEngine* engine, QWidget* owner) : QWidget(owner, Qt::Window), engine_(engine) {
    engine_->setParent(this);
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(text(kHelpWindowTexts.title));
    if (owner) setWindowIcon(owner->windowIcon());

    browser_ = new HelpBrowser(*engine_, this);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::followPage);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("volets"));
    contents_ = engine_->contentWidget();
    contents_->setObjectName(QStringLiteral("sommaire"));
    connect(contents_, &QHelpContentWidget::linkActivated, browser_,
            [this](const QUrl& page) { browser_->setSource(page); });
    // One click opens a title, as in a web page; Enter does so from the keyboard.
    connect(contents_, &QHelpContentWidget::clicked, browser_, [this](const QModelIndex& at) {
        if (const QHelpContentItem* item = engine_->contentModel()->contentItemAt(at))
            browser_->setSource(item->url());
    });
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, contents_, [this] {
        contents_->expandAll();
        followPage(browser_->source());
    });
    tabs_->addTab(contents_, text(kHelpWindowTexts.contents));

    auto* indexPage = new QWidget(tabs_);
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* filterLabel = new QLabel(text(kHelpWindowTexts.word), indexPage);
    indexFilter_ = new QLineEdit(indexPage);
    indexFilter_->setObjectName(QStringLiteral("motcle"));
    filterLabel->setBuddy(indexFilter_);
    index_ = engine_->indexWidget();
    index_->setObjectName(QStringLiteral("index"));
    connect(indexFilter_, &QLineEdit::textChanged, index_,
            [this](const QString& text) { index_->filterIndices(text); });
    connect(indexFilter_, &QLineEdit::returnPressed, index_, &QHelpIndexWidget::activateCurrentItem);
    connect(index_, &QHelpIndexWidget::clicked, index_, &QHelpIndexWidget::activateCurrentItem);
    connect(index_, &QHelpIndexWidget::documentActivated, browser_,
            [this](const QHelpLink& page, const QString&) { browser_->setSource(page.url); });
    connect(index_, &QHelpIndexWidget::documentsActivated, browser_,
            [this](const QList<QHelpLink>& pages, const QString&) {
                if (!pages.isEmpty()) browser_->setSource(pages.first().url);
            });
    indexLayout->addWidget(filterLabel);
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexPage, text(kHelpWindowTexts.index));
    buildSearch();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 500});

    const auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* back = button(text(kHelpWindowTexts.back), "precedent");
    QPushButton* forward = button(text(kHelpWindowTexts.forward), "suivant");
    QPushButton* home = button(text(kHelpWindowTexts.home), "accueil");
    QPushButton* close = button(text(kHelpWindowTexts.close), "fermer");
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(home, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(780, 540);

    // What a screen reader says of the lists and the page, which have no label.
    contents_->setAccessibleName(text(kHelpWindowTexts.contentsName));
    index_->setAccessibleName(text(kHelpWindowTexts.indexName));
    browser_->setAccessibleName(text(kHelpWindowTexts.pageName));
    tabs_->setAccessibleName(text(kHelpWindowTexts.panesName));

    // The keyboard starts in the contents; Tab goes on to the page, then the buttons.
    setTabOrder(tabs_, browser_);
    setTabOrder(browser_, back);
    setTabOrder(back, forward);
    setTabOrder(forward, home);
    setTabOrder(home, close);
    contents_->setFocus();

    engine_->searchEngine()->scheduleIndexDocumentation();
    showContents();
}

HelpWindow::~HelpWindow() {
    // The search may still be indexing in its thread: stop it before the engine goes.
    engine_->searchEngine()->cancelIndexing();
}

void HelpWindow::buildSearch() {
    QHelpSearchEngine* searchEngine = engine_->searchEngine();
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    QHelpSearchQueryWidget* query = searchEngine->queryWidget();
    QHelpSearchResultWidget* results = searchEngine->resultWidget();
    query->setObjectName(QStringLiteral("question"));
    results->setObjectName(QStringLiteral("resultats"));
    layout->addWidget(query);
    layout->addWidget(results, 1);
    // Qt's search widgets leave their box and arrows unnamed for a screen reader.
    for (QLineEdit* box : query->findChildren<QLineEdit*>())
        box->setAccessibleName(QStringLiteral("Mots cherchés"));
    for (QWidget* part : {static_cast<QWidget*>(query), static_cast<QWidget*>(results)}) {
        for (QAbstractButton* b : part->findChildren<QAbstractButton*>()) {
            if (!b->accessibleName().isEmpty() || !b->text().isEmpty()) continue;
            b->setAccessibleName(b->toolTip().isEmpty() ? QStringLiteral("Effacer le texte") : b->toolTip());
        }
        for (QTextBrowser* list : part->findChildren<QTextBrowser*>())
            list->setAccessibleName(QStringLiteral("Résultats de la recherche"));
    }
    connect(query, &QHelpSearchQueryWidget::search, searchEngine,
            [searchEngine, query] { searchEngine->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, browser_,
            [this](const QUrl& found) { browser_->setSource(found); });
    tabs_->addTab(page, QStringLiteral("&Recherche"));
}

void HelpWindow::showContents() {
    browser_->setSource(QUrl(kHelpContentsPage));
    tabs_->setCurrentIndex(0);
}

void HelpWindow::search(const QString& words) {
    tabs_->setCurrentIndex(2);
    engine_->searchEngine()->queryWidget()->setSearchInput(words);
    engine_->searchEngine()->search(words);
}

void HelpWindow::followPage(const QUrl& page) {
    const QModelIndex at = contents_->indexOf(page);
    if (at.isValid()) contents_->setCurrentIndex(at);
}

HelpLauncher::HelpLauncher(QWidget* mainWindow, QString programFolder)
    : QObject(mainWindow), mainWindow_(mainWindow), programFolder_(std::move(programFolder)) {}

void HelpLauncher::Command7_Click() {
    if (!window_) {
        // Without its help beside it the program has nothing to show, and
        // says nothing.
        window_ = HelpWindow::create(helpCollectionPath(programFolder_), mainWindow_);
        if (!window_) return;
        window_->setAttribute(Qt::WA_DeleteOnClose);
        // Closed, it hands the keyboard back to the main window, where it
        // was: without a window manager nobody else would.
        if (mainWindow_) {
            connect(window_, &QObject::destroyed, mainWindow_, [main = mainWindow_] {
                if (main->isVisible() && !QApplication::activeModalWidget()) main->activateWindow();
            });
        }
        if (mainWindow_ && mainWindow_->screen()) {
            window_->setGeometry(helpPlacement(mainWindow_->frameGeometry(),
                                               mainWindow_->screen()->availableGeometry(), window_->size()));
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace molvane
