#include "exercises/textarea.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "exercises/intro/introduction.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/rtf/textrules.h"
#include "exercises/textreading.h"
#include "files/filemessages.h"
#include "windowkit/filetypes.h"
#include "windowkit/messages.h"
#include "windowkit/paper.h"

namespace molvane {

namespace {

// The text commands share one file dialog, `comexo`: Qt's own (translated)
// dialog rather than the desktop's, asking before overwriting in the
// program's words rather than its own.
QString chooseFile(QWidget* parent, QFileDialog::AcceptMode mode) {
    FrenchFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("comexo"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(TextArea::fileFilter());
    // Where answers were last chosen, else the program's folder; an answer
    // is never offered a folder it cannot be written in (the program's, once
    // installed): the documents folder then.
    const bool saving = mode == QFileDialog::AcceptSave;
    QString start = startFolder(FileKind::Answers, saving, QDir::currentPath());
    if (saving && !canWriteIn(start)) start = documentsFolder();
    dialog.setDirectory(start);
    if (mode == QFileDialog::AcceptOpen) dialog.selectFile(QStringLiteral("*.rtf"));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    rememberFolder(FileKind::Answers, chosen.first());
    return chosen.first();
}

// A text only read still has a caret that the arrows move, line by line and
// word by word, so that a screen reader follows it; typing stays impossible.
class CaretInReadOnlyText final : public QObject {
public:
    explicit CaretInReadOnlyText(QTextEdit* text) : QObject(text), text_(text) {
        text->installEventFilter(this);
        follow();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ReadOnlyChange) follow();
        return false;
    }

private:
    void follow() {
        if (text_->isReadOnly())
            text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    QTextEdit* text_;
};

}  // namespace

QString textAreaName(const QString& fich) {
    return QString::fromStdString(textrules::textAreaName(fich.toStdString()));
}

TextArea::TextArea(QTextEdit* supertext, QLineEdit* fich, QObject* parent)
    : QObject(parent), supertext_(supertext), fich_(fich) {
    keepPaper(supertext_);
    // Tab leaves the text for the next control, as in every other box: a
    // pupil without a mouse would otherwise stay caught in an editable text.
    supertext_->setTabChangesFocus(true);
    new CaretInReadOnlyText(supertext_);
    supertext_->setAccessibleName(textAreaName({}));
    readPicturesAsDescribed(supertext_);
    connect(supertext_, &QTextEdit::textChanged, this, [this] {
        if (!fich_->text().isEmpty()) setTextemodifie(1);
    });
}

void TextArea::setTextemodifie(int value) {
    if (value == textemodifie_) return;
    textemodifie_ = value;
    emit textemodifieChanged(value);
}

QString TextArea::fich() const {
    return fich_->text();
}

void TextArea::setFich(const QString& text) {
    fich_->setText(text);
    fich_->setCursorPosition(static_cast<int>(text.size()));
    fich_->setToolTip(text);
    // A screen reader says which text the area holds.
    supertext_->setAccessibleName(textAreaName(text));
}

bool TextArea::confirmDiscard(QWidget* parent) const {
    return textemodifie_ != 1 ||
           message(parent, MessageIcon::Question, QString::fromUtf8(textrules::kDiscardTitle),
                   QString::fromUtf8(textrules::kDiscardText), MessageButtons::OkCancel) == MessageAnswer::Ok;
}

bool TextArea::load(QWidget* parent, const QString& path, bool editable) {
    QTextDocument& document = *supertext_->document();
    const rtf::ReadStatus status = rtf::loadRtfFile(path, document);
    if (rtf::nothingLoaded(status)) return false;
    // Undoing must never bring back the previous document piece by piece.
    document.clearUndoRedoStacks();
    supertext_->moveCursor(QTextCursor::Start);
    supertext_->setReadOnly(!editable);
    setTextemodifie(0);
    // What was read shows; the pupil learns that some of the file is not there.
    const QString notice = rtf::readNotice(status);
    if (!notice.isEmpty())
        message(parent, MessageIcon::Exclamation, QString::fromUtf8(textrules::kIncompleteReadTitle), notice);
    return true;
}

void TextArea::showIntroduction() {
    setFich(QString());
    intro(*supertext_);
    supertext_->document()->clearUndoRedoStacks();
    setTextemodifie(0);
}

QString TextArea::fileFilter() {
    // What the dialog names, then the names it lists, in either case.
    return QString::fromUtf8(textrules::kRtfFilterName) + QStringLiteral(" (") +
           QString::fromUtf8(textrules::kRtfPatterns) + QLatin1Char(')');
}

QString TextArea::withRtfExtension(const QString& path) {
    return QString::fromStdString(textrules::withRtfExtension(path.toStdString()));
}

void TextArea::savetexte(QWidget* parent) {
    const QString chosen = chooseFile(parent, QFileDialog::AcceptSave);
    if (!chosen.isEmpty()) saveTo(parent, withRtfExtension(chosen));
}

bool TextArea::saveTo(QWidget* parent, const QString& path) {
    const QFileInfo file(path);
    if (file.exists() &&
        message(parent, MessageIcon::Question, QString::fromUtf8(textrules::kOverwriteTitle),
                QString::fromStdString(textrules::overwriteQuestion(file.fileName().toStdString())),
                MessageButtons::OkCancel) != MessageAnswer::Ok)
        return false;
    if (!rtf::saveRtfFile(*supertext_->document(), path)) {
        message(parent, MessageIcon::Error, QString::fromUtf8(kWriteErrorTitle),
                QString::fromUtf8(kDriveAdvice));
        return false;
    }
    setTextemodifie(0);
    return true;
}

bool TextArea::opentexte(QWidget* parent) {
    if (!confirmDiscard(parent)) return false;
    const QString chosen = chooseFile(parent, QFileDialog::AcceptOpen);
    return !chosen.isEmpty() && reopenFrom(parent, chosen);
}

bool TextArea::reopenFrom(QWidget* parent, const QString& path) {
    if (!load(parent, path, true)) {
        message(parent, MessageIcon::Error, QString::fromUtf8(kReadErrorTitle),
                QString::fromUtf8(kDriveAdvice));
        return false;
    }
    setFich(QString::fromUtf8(textrules::kReopenedPrefix) +
            QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    return true;
}

void TextArea::imprimetexte(QWidget* parent) {
    if (printer_) printer_(parent, *supertext_);
}

}  // namespace molvane
