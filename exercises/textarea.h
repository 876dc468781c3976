// The main window's document area `supertext` and the box `fich` naming what
// it shows: the introduction, a statement or correction, the getting-started
// document or a text the pupil saved. Owns the modified flag `textemodifie`
// and the text commands of the exercise menu (save, reopen, print).
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QTextEdit;
class QWidget;

namespace molvane {

// The text area's name for a screen reader: "Énoncé et réponses", followed by
// what fich names, a path said by its file's name alone.
QString textAreaName(const QString& fich);

class TextArea : public QObject {
    Q_OBJECT
public:
    // Works on the main window's two controls, which stay where it placed them.
    TextArea(QTextEdit* supertext, QLineEdit* fich, QObject* parent = nullptr);

    QTextEdit* supertext() const { return supertext_; }

    // 1 when the text changed since it was last loaded or saved. Typing counts
    // only while fich names something: building the introduction does not.
    int textemodifie() const { return textemodifie_; }
    void setTextemodifie(int value);

    QString fich() const;
    // The caret goes to the end, so that the file's name shows, and the
    // tooltip holds the whole text; the text area's name for a screen reader
    // says it too.
    void setFich(const QString& text);

    // Asks "Abandon des données?" when unsaved text would be lost; false when
    // the pupil keeps it. The flag itself is cleared only once new content
    // has replaced the text, so a command that ends without loading anything
    // leaves the warning in place.
    bool confirmDiscard(QWidget* parent) const;

    // Replaces the text with an RTF document; false (and the text unchanged)
    // when the file cannot be read as RTF. On success the text is editable or
    // not as asked and the flag is cleared; a file read only in part says so
    // in one box over parent.
    bool load(QWidget* parent, const QString& path, bool editable);

    // "Fermer l'exercice": fich emptied, the introduction rebuilt, flag cleared.
    void showIntroduction();

    // "Enregistrer le contenu de la fenêtre exercice": Qt's save dialog, then saveTo.
    void savetexte(QWidget* parent);
    // Asks before replacing an existing file, writes the whole text as RTF
    // safely and clears the flag; on failure the old file and the flag stay.
    bool saveTo(QWidget* parent, const QString& path);

    // "Retrouver un texte": the confirmation, Qt's open dialog, then reopenFrom.
    // True when a text was loaded.
    bool opentexte(QWidget* parent);
    // Loads a saved text, editable, and names it in fich; on a read failure
    // says so and changes nothing.
    bool reopenFrom(QWidget* parent, const QString& path);

    // "Imprimer le contenu de la fenêtre exercice" prints through this, once
    // printing is wired; until then the command is not offered.
    using Printer = std::function<void(QWidget* parent, QTextEdit& text)>;
    void setPrinter(Printer printer) { printer_ = std::move(printer); }
    bool canPrint() const { return static_cast<bool>(printer_); }
    void imprimetexte(QWidget* parent);

    // The dialogs' filter, and the name a save gets when it has no extension.
    static QString fileFilter();
    static QString withRtfExtension(const QString& path);

signals:
    // The modified flag changed: the text was typed in, or it was saved or
    // replaced (then 0).
    void textemodifieChanged(int value);

private:
    QTextEdit* supertext_;
    QLineEdit* fich_;
    int textemodifie_ = 0;
    Printer printer_;
};

}  // namespace molvane
