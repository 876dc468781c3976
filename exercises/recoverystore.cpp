#include "exercises/recoverystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "common/recordfile.h"

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace molvane {

namespace {

// fich is one line of a box: anything longer is not ours.
constexpr std::size_t kMaxNameBytes = 64 * 1024;

const QString kCopyPrefix = QStringLiteral("copie-");
const QString kDeclinedPrefix = QStringLiteral("refusee1-");
const QString kOldDeclinedPrefix = QStringLiteral("refusee2-");

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

#if defined(Q_OS_UNIX)
CopyFault faultOf(int error) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return CopyFault::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS:
            return CopyFault::Unwritable;
        default:
            return CopyFault::Other;
    }
}

// A folder's entries reach the disk only when the folder itself is flushed.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
#endif

// The label's second line: "exercice <corrige> <correction shown>", each 0 or 1.
const QString kExerciseLine = QStringLiteral("exercice");

QByteArray labelBytes(const CopyLabel& label) {
    QByteArray bytes = label.fich.toUtf8() + '\n';
    if (label.exercise) {
        bytes += kExerciseLine.toUtf8() + ' ' + QByteArray::number(label.exercise->corrige == 1 ? 1 : 0) +
                 ' ' + QByteArray::number(label.exercise->correctionShown ? 1 : 0) + '\n';
    }
    return bytes;
}

// A label as written above; a line that is not one of ours says nothing of
// an exercise, and the name alone is kept.
CopyLabel readLabel(const QString& path) {
    const FileBytes file = readRegularFile(fsPath(path), kMaxNameBytes, true);
    if (file.status != FileRead::Ok) return {};
    const QString text = QString::fromUtf8(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
    CopyLabel label{text.section(QLatin1Char('\n'), 0, 0), {}};
    const QStringList words = text.section(QLatin1Char('\n'), 1, 1).split(QLatin1Char(' '));
    const auto flag = [](const QString& word) -> std::optional<bool> {
        if (word == QLatin1String("0")) return false;
        if (word == QLatin1String("1")) return true;
        return std::nullopt;
    };
    if (words.size() == 3 && words[0] == kExerciseLine) {
        const auto corrige = flag(words[1]), shown = flag(words[2]);
        if (corrige && shown) label.exercise = CopiedExercise{*corrige ? 1 : 0, *shown};
    }
    return label;
}

bool renameOver(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    return !error;
}

void removeFile(const QString& path) {
    std::error_code error;
    std::filesystem::remove(fsPath(path), error);
}

std::unique_ptr<QLockFile> lockFile(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Only a program that is gone gives up its lock: a live one holds it
    // however long it runs.
    lock->setStaleLockTime(0);
    return lock;
}

}  // namespace

CopyFault writeDurably(const QString& path, const QByteArray& bytes) {
#if defined(Q_OS_UNIX)
    const QString part = path + QStringLiteral(".part");
    const QByteArray partName = QFile::encodeName(part);
    const int fd = ::open(partName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return faultOf(errno);
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(partName.constData());
        return faultOf(error);
    };
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        data += written;
        left -= written;
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(partName.constData());
        return faultOf(error);
    }
    if (::rename(partName.constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        ::unlink(partName.constData());
        return faultOf(error);
    }
    syncFolder(QFileInfo(path).absolutePath());
    return CopyFault::None;
#else
    QSaveFile file(path);
    const auto fault = [&file] {
        switch (file.error()) {
            case QFileDevice::ResourceError:
                return CopyFault::DiskFull;
            case QFileDevice::OpenError:
            case QFileDevice::PermissionsError:
                return CopyFault::Unwritable;
            default:
                return CopyFault::Other;
        }
    };
    if (!file.open(QIODevice::WriteOnly)) return fault();
    if (file.write(bytes) != bytes.size()) {
        const CopyFault why = fault();
        file.cancelWriting();
        return why;
    }
    // The commit flushes the file to the disk before it takes the name.
    return file.commit() ? CopyFault::None : fault();
#endif
}

QString RecoveryStore::defaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("secours"));
}

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder)) {
    // The process number makes the name readable; the random part keeps two
    // programs apart whatever their numbers after a reboot.
    id_ = QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
          QString::number(QRandomGenerator::system()->generate(), 16);
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::slotFile(const QString& id, const char* suffix) const {
    return QDir(folder_).filePath(kCopyPrefix + id + QLatin1String(suffix));
}

QString RecoveryStore::copyPath() const {
    return slotFile(id_, ".rtf");
}

CopyFault RecoveryStore::open() {
    const std::lock_guard guard(mutex_);
    std::error_code error;
    std::filesystem::create_directories(fsPath(folder_), error);
    if (error || !QFileInfo(folder_).isDir()) {
        openFault_ = error == std::errc::no_space_on_device ? CopyFault::DiskFull : CopyFault::Unwritable;
        return openFault_;
    }
#if defined(Q_OS_UNIX)
    // The pupil's work is theirs alone, whoever else uses the machine.
    ::chmod(QFile::encodeName(folder_).constData(), 0700);
#endif
    ownLock_ = lockFile(slotFile(id_, ".lock"));
    if (!ownLock_->tryLock(0)) {
        openFault_ =
            ownLock_->error() == QLockFile::PermissionError ? CopyFault::Unwritable : CopyFault::Other;
        ownLock_.reset();
        return openFault_;
    }
    openFault_ = CopyFault::None;
    return openFault_;
}

CopyFault RecoveryStore::write(const QByteArray& rtf, const CopyLabel& label) {
    const std::lock_guard guard(mutex_);
    if (openFault_ != CopyFault::None) return openFault_;
    if (labelWritten_ != label) {
        const CopyFault fault = writeDurably(slotFile(id_, ".txt"), labelBytes(label));
        if (fault != CopyFault::None) return fault;
        labelWritten_ = label;
    }
    return writeDurably(copyPath(), rtf);
}

CopyFault RecoveryStore::remove() {
    const std::lock_guard guard(mutex_);
    if (openFault_ != CopyFault::None) return openFault_;
    std::error_code error;
    std::filesystem::remove(fsPath(copyPath()), error);
    if (error) return CopyFault::Unwritable;
    removeFile(slotFile(id_, ".txt"));
    labelWritten_.reset();
    return CopyFault::None;
}

void RecoveryStore::ageDeclinedCopies() {
    const QDir folder(folder_);
    const QStringList filters{kOldDeclinedPrefix + QStringLiteral("*.rtf"),
                              kOldDeclinedPrefix + QStringLiteral("*.txt")};
    for (const QString& name : folder.entryList(filters, QDir::Files | QDir::System | QDir::Hidden))
        removeFile(folder.filePath(name));
    const QStringList young{kDeclinedPrefix + QStringLiteral("*.rtf"),
                            kDeclinedPrefix + QStringLiteral("*.txt")};
    for (const QString& name : folder.entryList(young, QDir::Files)) {
        renameOver(folder.filePath(name),
                   folder.filePath(kOldDeclinedPrefix + name.mid(kDeclinedPrefix.size())));
    }
}

std::optional<FoundCopy> RecoveryStore::claimLeftCopy(const std::function<bool(const QString&)>& usable) {
    const std::lock_guard guard(mutex_);
    if (openFault_ != CopyFault::None || claimed_) return std::nullopt;
    // Programs starting together take turns here, so that declined copies
    // age once per start.
    const auto folderLock = lockFile(QDir(folder_).filePath(QStringLiteral("dossier.lock")));
    if (!folderLock->tryLock(2000)) return std::nullopt;
    ageDeclinedCopies();

    const QDir folder(folder_);
    struct Candidate {
        QString id;
        QDateTime written;
    };
    std::vector<Candidate> candidates;
    for (const QFileInfo& file :
         folder.entryInfoList({kCopyPrefix + QStringLiteral("*.rtf")}, QDir::Files | QDir::System)) {
        const QString id = file.completeBaseName().mid(kCopyPrefix.size());
        if (id.isEmpty() || id == id_) continue;
        candidates.push_back({id, file.lastModified()});
    }
    // Programs killed before they had anything to copy leave their lock
    // (and perhaps a name) behind: those go once their program is gone.
    for (const QFileInfo& file :
         folder.entryInfoList({kCopyPrefix + QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden)) {
        const QString id = file.completeBaseName().mid(kCopyPrefix.size());
        if (id.isEmpty() || id == id_ || QFileInfo::exists(slotFile(id, ".rtf"))) continue;
        auto lock = lockFile(file.filePath());
        if (!lock->tryLock(0)) continue;
        removeFile(slotFile(id, ".txt"));
        removeFile(slotFile(id, ".txt.part"));
        removeFile(slotFile(id, ".rtf.part"));
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.written > b.written; });

    for (const Candidate& candidate : candidates) {
        auto lock = lockFile(slotFile(candidate.id, ".lock"));
        if (!lock->tryLock(0)) continue;  // its program still runs
        // A write the kill interrupted never became the copy.
        removeFile(slotFile(candidate.id, ".rtf.part"));
        removeFile(slotFile(candidate.id, ".txt.part"));
        const QString rtfPath = slotFile(candidate.id, ".rtf");
        if (!usable(rtfPath)) continue;  // the lock goes, the file stays as it is
        claimLock_ = std::move(lock);
        const CopyLabel label = readLabel(slotFile(candidate.id, ".txt"));
        claimed_ = FoundCopy{candidate.id, rtfPath, label.fich, candidate.written, label.exercise};
        return claimed_;
    }
    return std::nullopt;
}

bool RecoveryStore::adopt() {
    const std::lock_guard guard(mutex_);
    if (!claimed_) return false;
    // The name first: a copy without it is still a copy, a name without a
    // copy is nothing.
    const QString fichFile = slotFile(claimed_->id, ".txt");
    if (QFileInfo::exists(fichFile) && renameOver(fichFile, slotFile(id_, ".txt")))
        labelWritten_ = CopyLabel{claimed_->fich, claimed_->exercise};
    const bool moved = renameOver(claimed_->rtfPath, copyPath());
#if defined(Q_OS_UNIX)
    if (moved) syncFolder(folder_);
#endif
    claimed_.reset();
    claimLock_.reset();
    return moved;
}

bool RecoveryStore::decline() {
    const std::lock_guard guard(mutex_);
    if (!claimed_) return false;
    const QDir folder(folder_);
    const QString kept = kDeclinedPrefix + claimed_->id;
    renameOver(slotFile(claimed_->id, ".txt"), folder.filePath(kept + QStringLiteral(".txt")));
    const bool moved = renameOver(claimed_->rtfPath, folder.filePath(kept + QStringLiteral(".rtf")));
    claimed_.reset();
    claimLock_.reset();
    return moved;
}

void RecoveryStore::release() {
    const std::lock_guard guard(mutex_);
    claimed_.reset();
    claimLock_.reset();
}

}  // namespace molvane
