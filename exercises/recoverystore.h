// The text area's recovery copies on disk: one slot per running program,
// in the user's data folder, so that a pupil's typing outlives a crash, a
// killed program or a power cut.
//
// A slot is three files named after the program that owns it:
//   copie-<id>.rtf   the text as a save would write it, always complete
//   copie-<id>.txt   what fich named when the text was copied (UTF-8), and on
//                    a second line, when an exercise was open, whether it
//                    has a correction and whether that was shown; a copy
//                    of one line (an older program's) names the text only
//   copie-<id>.lock  held while that program runs; a killed program leaves
//                    it behind, and the next start sees that its owner is gone
// A copy that the pupil declined at a start is renamed refusee1-<id>.rtf,
// becomes refusee2-<id>.rtf at the next start and goes at the one after.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QLockFile;

namespace molvane {

enum class CopyFault { None, DiskFull, Unwritable, Other };

// The exercise that was open when the text was copied.
struct CopiedExercise {
    int corrige = 0;               // it has a correction
    bool correctionShown = false;  // "Voir la correction" had shown it
    bool operator==(const CopiedExercise&) const = default;
};

// What a copy says of its text, beside the text.
struct CopyLabel {
    QString fich;
    std::optional<CopiedExercise> exercise;
    bool operator==(const CopyLabel&) const = default;
};

// A copy left by a program that did not end normally.
struct FoundCopy {
    QString id;
    QString rtfPath;
    QString fich;
    QDateTime written;  // local time of the copy's last write
    std::optional<CopiedExercise> exercise;
};

class RecoveryStore {
public:
    // The copies of the running user: <data folder>/secours.
    static QString defaultFolder();

    explicit RecoveryStore(QString folder);
    // Lets go of the slot and of any copy claimed; the files stay, so that
    // removing the copy is always a decision (remove()).
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Creates the folder and takes a slot of this program's own. On a fault
    // the store still answers every call, each failing with that fault.
    CopyFault open();
    QString folder() const { return folder_; }
    QString id() const { return id_; }
    QString copyPath() const;

    // Replaces this program's copy: the bytes go to a temporary file that is
    // flushed to the disk and then renamed over the copy, so the copy on disk
    // is always a complete earlier state. The label is written first, when
    // it changed. Safe to call from a thread of its own.
    CopyFault write(const QByteArray& rtf, const CopyLabel& label);
    CopyFault write(const QByteArray& rtf, const QString& fich) { return write(rtf, CopyLabel{fich, {}}); }
    // Removes this program's copy (saved or discarded text, normal end).
    CopyFault remove();

    // At start: declined copies age by one start, and the newest copy whose
    // program is gone and that usable() accepts is claimed, so that no other
    // program starting at the same moment offers it too. The claim lasts
    // until adopt(), decline() or release(). Copies usable() refuses are left
    // where they are, untouched.
    std::optional<FoundCopy> claimLeftCopy(const std::function<bool(const QString& rtfPath)>& usable);
    // The claimed copy becomes this program's copy (the pupil took it back).
    bool adopt();
    // The claimed copy is set aside, kept for one more start.
    bool decline();
    void release();

private:
    QString slotFile(const QString& id, const char* suffix) const;
    void ageDeclinedCopies();

    QString folder_;
    QString id_;
    CopyFault openFault_ = CopyFault::Unwritable;
    std::unique_ptr<QLockFile> ownLock_;
    std::unique_ptr<QLockFile> claimLock_;
    std::optional<FoundCopy> claimed_;
    std::optional<CopyLabel> labelWritten_;
    std::mutex mutex_;
};

// Writes bytes to path through a flushed temporary file renamed over it,
// then flushes the folder, so that a power cut leaves either the old file or
// the new one. The temporary file is removed on failure.
CopyFault writeDurably(const QString& path, const QByteArray& bytes);

}  // namespace molvane
