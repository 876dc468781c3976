#include "exercises/intro/introduction.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "exercises/intro/introductiontext.h"
#include "exercises/rtf/richtextdocument.h"

namespace molvane {

void intro(QTextEdit& supertext) {
    supertext.hide();
    // Start from a plain, empty document: nothing of an earlier text survives.
    supertext.document()->clear();
    supertext.setCurrentCharFormat(QTextCharFormat());
    supertext.setAlignment(Qt::AlignLeft);
    supertext.setReadOnly(true);

    QTextCursor cursor(supertext.document());
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    rtf::insertRichText(introductionDocument(), cursor);

    cursor.movePosition(QTextCursor::Start);
    supertext.setTextCursor(cursor);
    supertext.show();
}

}  // namespace molvane
