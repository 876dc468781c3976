// molvane-recoverybench: how long the text area's recovery copy holds up
// typing, on a text of about 20 pages with formats.
//   molvane-recoverybench [--pages N] [--seconds S]
// Types one character every 10 ms for S seconds with a copy taken as often
// as typing allows (pause 50 ms, at least every 200 ms), and prints one JSON
// line: the longest time a copy held the window, and the longest gap
// between two keys with and without the copies.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "exercises/recoverywatcher.h"
#include "exercises/textarea.h"

namespace {

// About one printed page: 45 lines of 70 characters, in paragraphs of
// plain, bold and italic runs.
void fill(QTextEdit& edit, int pages) {
    QTextCursor cursor(edit.document());
    const QString words = QStringLiteral("La réaction A + B = C + D atteint l'équilibre dynamique ; ");
    for (int page = 0; page < pages; ++page) {
        for (int paragraph = 0; paragraph < 9; ++paragraph) {
            for (int run = 0; run < 9; ++run) {
                QTextCharFormat format;
                format.setFontWeight(run % 3 == 1 ? QFont::Bold : QFont::Normal);
                format.setFontItalic(run % 3 == 2);
                cursor.insertText(words + words.left(run * 3), format);
            }
            cursor.insertBlock();
        }
    }
}

struct Result {
    qint64 longestGapNs = 0;
    qint64 longestHoldNs = 0;
    int copies = 0;
};

Result typeFor(int pages, int seconds, bool withCopies) {
    QTextEdit supertext;
    QLineEdit fich;
    molvane::TextArea text(&supertext, &fich);
    fill(supertext, pages);
    text.setFich(QStringLiteral("/classe/exo1.E32"));
    QTemporaryDir folder;
    std::unique_ptr<molvane::RecoveryWatcher> watcher;
    Result result;
    if (withCopies) {
        watcher =
            std::make_unique<molvane::RecoveryWatcher>(text, nullptr, molvane::RecoveryWatcher::StatusLine{},
                                                       folder.filePath(QStringLiteral("secours")));
        watcher->setTiming({50, 200});
    }
    supertext.show();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    QTimer keys;
    keys.setInterval(10);
    keys.setTimerType(Qt::PreciseTimer);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last) result.longestGapNs = std::max(result.longestGapNs, now - last);
        last = now;
        QTextCursor cursor(supertext.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("x"));
        if (clock.elapsed() > seconds * 1000) QCoreApplication::quit();
    });
    keys.start();
    QCoreApplication::exec();
    if (watcher) {
        watcher->waitUntilWritten();
        result.longestHoldNs = watcher->longestHoldNs();
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int pages = 20;
    int seconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--pages") == 0) pages = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);
    }
    const Result plain = typeFor(pages, seconds, false);
    const Result copied = typeFor(pages, seconds, true);
    std::printf(
        "{\"pages\": %d, \"seconds\": %d, \"longest_hold_ms\": %.2f, \"longest_key_gap_ms\": %.2f, "
        "\"longest_key_gap_without_copies_ms\": %.2f}\n",
        pages, seconds, copied.longestHoldNs / 1e6, copied.longestGapNs / 1e6, plain.longestGapNs / 1e6);
    return 0;
}
