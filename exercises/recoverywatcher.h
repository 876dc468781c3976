// Keeps a recovery copy of the text area while it holds unsaved typing, and
// offers it back at the next start when the program did not end normally.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "exercises/recoverystore.h"

class QWidget;

namespace molvane {

class CopyWriter;
class TextArea;

class RecoveryWatcher : public QObject {
    Q_OBJECT
public:
    // Shows one line of text where the window tells the user how things go.
    using StatusLine = std::function<void(const QString&)>;

    // How long typing must pause before a copy, and the longest time typing
    // may go on without one.
    struct Timing {
        int quietMs;
        int longestMs;
    };

    // Watches text for window's life. The question at start comes once, just
    // after the window first shows. Ending normally (destroying the watcher)
    // removes the copy.
    RecoveryWatcher(TextArea& text, QWidget* window, StatusLine statusLine,
                    const QString& folder = RecoveryStore::defaultFolder());
    ~RecoveryWatcher() override;

    void setTiming(Timing timing);
    const RecoveryStore& store() const { return *store_; }

    // The start question about a copy left by a program that did not end
    // normally: "Oui" puts the text back, modified; "Non" sets it aside.
    void offerRecovery();

    // Takes the copy now, if the text is modified; the writing goes on in
    // the background.
    void copyNow();
    // Waits until what was asked of the disk is done (tests, benchmarks).
    void waitUntilWritten();
    // The longest time a copy held up the window, in nanoseconds.
    qint64 longestHoldNs() const { return longestHoldNs_; }

    // The status line's words for a fault.
    static QString faultText(CopyFault fault, const QString& folder);
    // The question at start.
    static QString question(const FoundCopy& copy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textChanged();
    void flagChanged(int value);
    void written(CopyFault fault);

    TextArea& text_;
    QWidget* window_;
    StatusLine statusLine_;
    std::unique_ptr<RecoveryStore> store_;
    std::unique_ptr<CopyWriter> writer_;
    QTimer quiet_;
    QTimer longest_;
    bool offered_ = false;
    bool restoring_ = false;
    bool faultShown_ = false;
    qint64 longestHoldNs_ = 0;
};

}  // namespace molvane
