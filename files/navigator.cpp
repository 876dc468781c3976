#include "files/navigator.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "windowkit/enterrule.h"

namespace molvane {

namespace {
constexpr int kPathRole = Qt::UserRole;
}

FolderNavigator::FolderNavigator(QWidget* parent, const QString& pattern)
    : QObject(parent),
      drive_(new QComboBox(parent)),
      dir_(new QListWidget(parent)),
      file_(new QListWidget(parent)),
      pattern_(pattern) {
    drive_->setObjectName(QStringLiteral("Drive1"));
    dir_->setObjectName(QStringLiteral("Dir1"));
    file_->setObjectName(QStringLiteral("File1"));
    drive_->setAccessibleName(QStringLiteral("Lecteur"));
    drive_->view()->setAccessibleName(QStringLiteral("Lecteurs"));
    dir_->setAccessibleName(QStringLiteral("Répertoires"));
    dir_->setAccessibleDescription(QStringLiteral("Entrée ou double-clic ouvre le répertoire choisi"));
    file_->setAccessibleName(QStringLiteral("Fichiers"));
    fillDrives();
    connect(drive_, &QComboBox::activated, this, &FolderNavigator::driveChosen);
    connect(dir_, &QListWidget::itemDoubleClicked, this, [this] { enterSelectedFolder(); });
    connect(file_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
    connect(file_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit fileActivated(item->text()); });
    if (!setPath(QDir::currentPath())) setPath(QDir::rootPath());
}

void FolderNavigator::fillDrives() {
    // Mounted volumes, the root first.
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (!roots.contains(root) && QFileInfo(root).isDir()) roots << root;
    }
    std::sort(roots.begin() + 1, roots.end());
    filling_ = true;
    drive_->clear();
    for (const QString& root : roots) drive_->addItem(root, root);
    filling_ = false;
}

void FolderNavigator::selectDriveOf(const QString& path) {
    // The volume whose root is the longest beginning of the path.
    int best = -1, bestLength = -1;
    for (int i = 0; i < drive_->count(); ++i) {
        QString root = drive_->itemData(i).toString();
        const bool inside = path == root || path.startsWith(root.endsWith('/') ? root : root + '/');
        if (inside && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    filling_ = true;
    if (best >= 0) drive_->setCurrentIndex(best);
    filling_ = false;
}

void FolderNavigator::driveChosen(int index) {
    if (filling_ || index < 0) return;
    // A drive that cannot be entered is undone: the list goes back to Dir1's drive.
    setPath(drive_->itemData(index).toString());
    selectDriveOf(path_);
}

bool FolderNavigator::setPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir() || !info.isExecutable()) return false;
    path_ = QDir::cleanPath(info.absoluteFilePath());
    selectDriveOf(path_);
    fillFolders();
    refreshFiles();
    emit filePathChanged(path_);
    return true;
}

void FolderNavigator::fillFolders() {
    dir_->clear();
    // The open folders from the root down, then the subfolders of the last one.
    QStringList chain;
    for (QDir d(path_);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp()) break;
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = QDir(folder).isRoot() ? folder : QDir(folder).dirName();
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, dir_);
        item->setData(kPathRole, folder);
        ++depth;
    }
    dir_->setCurrentRow(dir_->count() - 1);
    QFont bold = dir_->font();
    bold.setBold(true);
    if (auto* current = dir_->currentItem()) current->setFont(bold);
    const QStringList subfolders =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subfolders) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + sub, dir_);
        item->setData(kPathRole, QDir(path_).filePath(sub));
    }
}

void FolderNavigator::refreshFiles() {
    file_->clear();
    QDir dir(path_);
    dir.setNameFilters({pattern_});
    // Without QDir::CaseSensitive the pattern matches names in any case.
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    file_->addItems(dir.entryList());
}

QString FolderNavigator::selectedFile() const {
    const auto* item = file_->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FolderNavigator::enterSelectedFolder() {
    if (const auto* item = dir_->currentItem()) setPath(item->data(kPathRole).toString());
}

void FolderNavigator::activateCurrentFile() {
    if (const auto* item = file_->currentItem()) emit fileActivated(item->text());
}

void FolderNavigator::followEnterRule(EnterRule& rule) {
    rule.onEnter(dir_, [this] { enterSelectedFolder(); });
    rule.onEnter(file_, [this] { activateCurrentFile(); });
}

}  // namespace molvane
