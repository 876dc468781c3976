#include "exercises/recoverywatcher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "exercises/exercisesession.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/rtf/rtfwriter.h"
#include "exercises/rtf/textrules.h"
#include "exercises/textarea.h"
#include "windowkit/messages.h"

namespace molvane {

// The disk work, on a thread of its own so that a slow flush never holds up
// typing. Only the last request counts: a newer copy replaces one not yet
// written, and a removal replaces both.
class CopyWriter {
public:
    using Done = std::function<void(CopyFault)>;

    CopyWriter(RecoveryStore& store, Done done) : store_(store), done_(std::move(done)) {
        thread_ = std::thread([this] { run(); });
    }
    // Does what is still asked, then stops.
    ~CopyWriter() {
        {
            const std::lock_guard guard(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    CopyWriter(const CopyWriter&) = delete;
    CopyWriter& operator=(const CopyWriter&) = delete;

    void write(QByteArray rtf, CopyLabel label) { ask(Job{false, std::move(rtf), std::move(label)}); }
    void remove() { ask(Job{true, {}, {}}); }

    void waitUntilIdle() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !pending_ && !busy_; });
    }

private:
    struct Job {
        bool remove;
        QByteArray rtf;
        CopyLabel label;
    };

    void ask(Job job) {
        {
            const std::lock_guard guard(mutex_);
            pending_ = std::move(job);
        }
        wake_.notify_all();
    }

    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return pending_ || stopping_; });
            if (!pending_) return;
            Job job = std::move(*pending_);
            pending_.reset();
            busy_ = true;
            lock.unlock();
            const CopyFault fault = job.remove ? store_.remove() : store_.write(job.rtf, job.label);
            if (!job.remove) done_(fault);
            lock.lock();
            busy_ = false;
            idle_.notify_all();
        }
    }

    RecoveryStore& store_;
    Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> pending_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

RecoveryWatcher::RecoveryWatcher(TextArea& text, QWidget* window, StatusLine statusLine,
                                 const QString& folder)
    : QObject(window),
      text_(text),
      window_(window),
      statusLine_(std::move(statusLine)),
      store_(std::make_unique<RecoveryStore>(folder)) {
    // A fault shows at the first copy, when the pupil is typing and reads it.
    store_->open();
    writer_ = std::make_unique<CopyWriter>(*store_, [this](CopyFault fault) {
        QMetaObject::invokeMethod(
            this, [this, fault] { written(fault); }, Qt::QueuedConnection);
    });
    quiet_.setSingleShot(true);
    longest_.setSingleShot(true);
    setTiming({textrules::kCopyQuietMs, textrules::kCopyLongestMs});
    connect(&quiet_, &QTimer::timeout, this, &RecoveryWatcher::copyNow);
    connect(&longest_, &QTimer::timeout, this, &RecoveryWatcher::copyNow);
    // After the text area's own handler, which sets the flag.
    connect(text_.supertext(), &QTextEdit::textChanged, this, &RecoveryWatcher::textChanged);
    connect(&text_, &TextArea::textemodifieChanged, this, &RecoveryWatcher::flagChanged);
    if (window_) window_->installEventFilter(this);
}

RecoveryWatcher::~RecoveryWatcher() {
    // The program ends normally: what the pupil did not save was given up
    // when closing asked "Abandon des données?".
    writer_->remove();
    writer_.reset();
}

void RecoveryWatcher::setTiming(Timing timing) {
    quiet_.setInterval(timing.quietMs);
    longest_.setInterval(timing.longestMs);
}

bool RecoveryWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show && !offered_) {
        window_->removeEventFilter(this);
        // Once the window has shown and finished its own first activation.
        QTimer::singleShot(0, this, &RecoveryWatcher::offerRecovery);
    }
    return QObject::eventFilter(watched, event);
}

void RecoveryWatcher::textChanged() {
    if (restoring_ || text_.textemodifie() != 1) return;
    quiet_.start();
    if (!longest_.isActive()) longest_.start();
}

void RecoveryWatcher::flagChanged(int value) {
    if (restoring_ || value != 0) return;
    quiet_.stop();
    longest_.stop();
    writer_->remove();
}

void RecoveryWatcher::copyNow() {
    quiet_.stop();
    longest_.stop();
    if (text_.textemodifie() != 1) return;
    QElapsedTimer hold;
    hold.start();
    QByteArray rtf = rtf::RtfWriter::write(*text_.supertext()->document());
    CopyLabel label{text_.fich(), {}};
    if (const ExerciseContext* session = exerciseSession(text_))
        label.exercise = CopiedExercise{session->state->corrige, session->state->correctionShown};
    writer_->write(std::move(rtf), std::move(label));
    longestHoldNs_ = std::max(longestHoldNs_, hold.nsecsElapsed());
}

void RecoveryWatcher::waitUntilWritten() {
    writer_->waitUntilIdle();
    // The outcome reaches the watcher through the event loop.
    QCoreApplication::sendPostedEvents(this);
}

void RecoveryWatcher::written(CopyFault fault) {
    if (fault == CopyFault::None) {
        faultShown_ = false;
        return;
    }
    // Said once; said again only if the copies worked in between.
    if (faultShown_) return;
    faultShown_ = true;
    if (statusLine_) statusLine_(faultText(fault, store_->folder()));
}

QString RecoveryWatcher::faultText(CopyFault fault, const QString& folder) {
    const std::string where = QDir::toNativeSeparators(folder).toStdString();
    switch (fault) {
        case CopyFault::DiskFull:
            return QString::fromStdString(
                textrules::copyFaultText(textrules::CopyFaultKind::DiskFull, where));
        case CopyFault::Unwritable:
            return QString::fromStdString(
                textrules::copyFaultText(textrules::CopyFaultKind::Unwritable, where));
        case CopyFault::Other:
            return QString::fromStdString(textrules::copyFaultText(textrules::CopyFaultKind::Other, where));
        case CopyFault::None:
            break;
    }
    return QString();
}

namespace {
bool namesExercise(const QString& fich) {
    return !fich.isEmpty() && !fich.startsWith(QString::fromUtf8(textrules::kReopenedPrefix));
}
}  // namespace

QString RecoveryWatcher::question(const FoundCopy& copy) {
    const QDate day = copy.written.date();
    const QTime time = copy.written.time();
    return QString::fromStdString(textrules::recoveryQuestion(
        copy.fich.toStdString(), {day.year(), day.month(), day.day(), time.hour(), time.minute()}));
}

void RecoveryWatcher::offerRecovery() {
    if (offered_) return;
    // Never over another box: the first activation may still be asking something.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, &RecoveryWatcher::offerRecovery);
        return;
    }
    offered_ = true;
    const auto usable = [](const QString& path) {
        QTextDocument trial;
        return !rtf::nothingLoaded(rtf::loadRtfFile(path, trial));
    };
    const std::optional<FoundCopy> found = store_->claimLeftCopy(usable);
    if (!found) return;
    if (message(window_, MessageIcon::Question, QString::fromUtf8(textrules::kRecoveryTitle),
                question(*found), MessageButtons::YesNo) != MessageAnswer::Yes) {
        store_->decline();
        return;
    }
    // Whatever the first activation may have opened meanwhile is asked about.
    if (!text_.confirmDiscard(window_)) {
        store_->release();
        return;
    }
    // Loading clears the flag, which would remove the copy it comes from.
    restoring_ = true;
    // The exercise the text was typed in comes back first, as it stood: its
    // configuration, its correction; the typed text then replaces its statement.
    const ExerciseContext* session = exerciseSession(text_);
    if (session && found->exercise && namesExercise(found->fich))
        reopenExercise(*session, window_, found->fich, found->exercise->corrige,
                       found->exercise->correctionShown);
    if (text_.load(window_, found->rtfPath, true)) {
        text_.setFich(found->fich);
        text_.setTextemodifie(1);
        // The copy on disk is this text: it becomes this program's own.
        store_->adopt();
    } else {
        store_->release();
    }
    restoring_ = false;
}

}  // namespace molvane
