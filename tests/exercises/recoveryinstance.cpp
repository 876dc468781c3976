// A program that types into a text area as a pupil would, with the recovery
// copy on, until it is killed:
//   recovery_instance <folder> <word> <fich>
// It prints "copie" once its first copy is on disk, then goes on typing
// <word> in turns of plain, bold and italic text, copying after every word.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

#include "exercises/recoverywatcher.h"
#include "exercises/textarea.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 4) return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString word = QString::fromLocal8Bit(argv[2]);

    QTextEdit supertext;
    QLineEdit fich;
    molvane::TextArea text(&supertext, &fich);
    text.setFich(QString::fromLocal8Bit(argv[3]));
    molvane::RecoveryWatcher watcher(text, nullptr, {}, folder);

    int words = 0;
    QTimer typing;
    typing.setInterval(1);
    QObject::connect(&typing, &QTimer::timeout, [&] {
        QTextCursor cursor(supertext.document());
        cursor.movePosition(QTextCursor::End);
        QTextCharFormat format;
        format.setFontWeight(words % 3 == 1 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(words % 3 == 2);
        cursor.insertText(word + QString::number(words) + QLatin1Char(' '), format);
        if (++words % 8 == 0) cursor.insertBlock();
        watcher.copyNow();
        if (words == 1) {
            watcher.waitUntilWritten();
            if (!QFileInfo::exists(watcher.store().copyPath())) return;
            std::puts("copie");
            std::fflush(stdout);
        }
    });
    typing.start();
    return app.exec();
}
