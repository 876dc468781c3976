#include "calc/machine.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <string>

#include "calc/calculator.h"
#include "windowkit/accessibility.h"

namespace molvane {

namespace {

// A base and its exponent, drawn at the size asked for: sharp at any device
// pixel ratio, since the text is drawn again for each size.
class PuissanceIcone final : public QIconEngine {
public:
    PuissanceIcone(const QString& base, const QString& exposant, const QFont& police, const QColor& couleur)
        : base_(base), exposant_(exposant), grande_(police), petite_(police), couleur_(couleur) {
        grande_.setPointSizeF(police.pointSizeF() + 2);
        petite_.setPointSizeF(std::max(6.0, police.pointSizeF() - 1));
        const QFontMetrics mg(grande_);
        const QFontMetrics mp(petite_);
        taille_ = QSize(mg.horizontalAdvance(base_) + mp.horizontalAdvance(exposant_) + 1,
                        mg.height() + mp.ascent() / 2);
    }

    QSize actualSize(const QSize&, QIcon::Mode, QIcon::State) override { return taille_; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {taille_}; }
    QIconEngine* clone() const override { return new PuissanceIcone(*this); }

    void paint(QPainter* peintre, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        peintre->save();
        peintre->translate(rect.topLeft());
        peintre->scale(static_cast<qreal>(rect.width()) / taille_.width(),
                       static_cast<qreal>(rect.height()) / taille_.height());
        dessiner(*peintre, mode);
        peintre->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter peintre(&image);
        paint(&peintre, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }

private:
    void dessiner(QPainter& peintre, QIcon::Mode mode) const {
        peintre.setPen(mode == QIcon::Disabled ? QColor(Qt::gray) : couleur_);
        const QFontMetrics mg(grande_);
        const int ligne = taille_.height() - mg.descent();
        peintre.setFont(grande_);
        peintre.drawText(0, ligne, base_);
        peintre.setFont(petite_);
        peintre.drawText(mg.horizontalAdvance(base_) + 1, ligne - mg.ascent() / 2, exposant_);
    }

    QString base_, exposant_;
    QFont grande_, petite_;
    QColor couleur_;
    QSize taille_;
};

QIcon iconePuissance(const QString& base, const QString& exposant, const QFont& police,
                     const QColor& couleur) {
    return QIcon(new PuissanceIcone(base, exposant, police, couleur));
}

QString texte(std::string_view t) {
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QRect place(PlaceCalculatrice p) {
    return {p.x, p.y, p.largeur, p.hauteur};
}

QPushButton* nouvelleTouche(QWidget* parent, const ToucheCalculatrice& t) {
    auto* touche = new QPushButton(texte(t.legende), parent);
    touche->setObjectName(texte(t.nom));
    touche->setToolTip(texte(t.bulle));
    touche->setGeometry(place(t.place));
    if (!t.lu.empty()) touche->setAccessibleName(texte(t.lu));
    // A click leaves the keyboard on the display, so that typed keys always
    // reach it and Enter never presses a key by accident; Tab reaches every key.
    touche->setFocusPolicy(Qt::TabFocus);
    touche->setAutoDefault(false);
    return touche;
}

}  // namespace

Machine::Machine(QWidget* parent) : QDialog(parent) {
    // Its display is a single-line box, which a screen reader must read safely.
    installReaderInterfaces();
    setObjectName(QStringLiteral("Machine"));
    setWindowTitle(texte(kTitreCalculatrice));
    setFixedSize(kLargeurCalculatrice, kHauteurCalculatrice);

    z1 = new QLineEdit(this);
    z1->setObjectName(QStringLiteral("z1"));
    z1->setGeometry(place(kPlaceAffichage));
    z1->setReadOnly(true);
    z1->setAccessibleName(texte(kNomAffichage));
    z1->setAccessibleDescription(texte(kDescriptionAffichage));
    z1->setContextMenuPolicy(Qt::NoContextMenu);
    QFont policeAffichage = z1->font();
    policeAffichage.setPointSizeF(policeAffichage.pointSizeF() + 3);
    z1->setFont(policeAffichage);
    QPalette vert = z1->palette();
    vert.setColor(QPalette::Base, QColor(0, 255, 0));
    vert.setColor(QPalette::Text, Qt::black);
    z1->setPalette(vert);
    z1->installEventFilter(this);

    for (const GroupeCalculatrice* groupe : {&kGroupeAngles, &kGroupeAffichage}) {
        auto* cadre = new QGroupBox(texte(groupe->titre), this);
        cadre->setGeometry(place(groupe->place));
        // Read as the group of choices it is, which names its option buttons.
        readAsGroup(cadre);
        QRadioButton** options = groupe == &kGroupeAngles ? angle : C;
        for (int i = 0; i < 2; ++i) {
            options[i] = new QRadioButton(texte(groupe->options[i]), cadre);
            options[i]->setObjectName(QStringLiteral("%1_%2").arg(texte(groupe->nom)).arg(i));
            options[i]->setGeometry(place(placeOption(i)));
            options[i]->setFocusPolicy(Qt::TabFocus);
        }
        options[groupe->choisie]->setChecked(true);
    }
    for (int i = 0; i < 2; ++i) {
        connect(angle[i], &QRadioButton::toggled, this, [this](bool choisi) {
            if (choisi) calculatrice.choisitAngle(angle[1]->isChecked());
        });
        connect(C[i], &QRadioButton::toggled, this, [this](bool choisi) {
            if (choisi) applique(calculatrice.choisitAffichage(C[0]->isChecked()));
        });
    }

    construitTouches();
    z1->setFocus();
}

void Machine::construitTouches() {
    for (const ToucheCalculatrice& t : touchesCalculatrice()) {
        QPushButton* touche = nouvelleTouche(this, t);
        if (!t.base.empty()) {
            const QIcon icone = iconePuissance(texte(t.base), texte(t.exposant), touche->font(),
                                               touche->palette().color(QPalette::ButtonText));
            touche->setIcon(icone);
            touche->setIconSize(icone.availableSizes().value(0, QSize(24, 20)));
        }
        const std::string_view nom = t.nom;
        connect(touche, &QPushButton::clicked, this, [this, nom] { presse(nom); });
    }
}

void Machine::montre(QWidget* parent) {
    Machine machine(parent);
    machine.exec();
}

QAbstractButton* Machine::bouton(const QString& nom) const {
    return findChild<QAbstractButton*>(nom);
}

void Machine::bip() {
    QApplication::beep();
}

void Machine::presse(std::string_view nom) {
    applique(calculatrice.appuie(nom));
}

void Machine::applique(const Appui& appui) {
    for (const std::string& t : appui.affichages) {
        const QString affiche = QString::fromStdString(t);
        z1->setText(affiche);
        z1->setCursorPosition(static_cast<int>(affiche.size()));
        z1->repaint();
    }
    if (appui.bip) bip();
    // A key reached with Tab keeps the keyboard, so that it can be pressed again.
    if (!qobject_cast<QAbstractButton*>(focusWidget())) z1->setFocus();
}

bool Machine::touche(const QKeyEvent& event) {
    if (event.matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(z1->text());
        return true;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    // The display keeps the keyboard, so Escape is taken here: without it a
    // pupil with no mouse could not leave the calculator.
    if (event.key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    QString frappe;
    if (event.key() == Qt::Key_Backspace)
        frappe = QStringLiteral("Backspace");
    else if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        frappe = QStringLiteral("Enter");
    else
        frappe = event.text();
    const QString nom = texte(Calculatrice::toucheDuClavier(frappe.toStdString()));
    if (nom.isEmpty()) return false;
    bouton(nom)->click();
    return true;
}

void Machine::keyPressEvent(QKeyEvent* event) {
    if (!touche(*event)) QDialog::keyPressEvent(event);
}

bool Machine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == z1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Tab leaves the display for the keys.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        touche(*key);
        return true;  // no key edits the display by itself
    }
    return QDialog::eventFilter(watched, event);
}

void Machine::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    // Shades from (200, 250, 250) at the left to (50, 100, 100) at the right.
    for (int x = 0; x < kLargeurCalculatrice; ++x) {
        const int b = nuanceFond(x);
        peintre.setPen(QColor(b, b + 50, b + 50));
        peintre.drawLine(x, 0, x, kHauteurCalculatrice - 1);
    }
    peintre.setPen(Qt::white);
    peintre.drawRect(1, 1, 298, 427);
    peintre.setPen(Qt::black);
    peintre.drawLine(1, 1, 298, 1);
    peintre.drawLine(1, 1, 1, 426);
    // The frame around the digit pad.
    const QRect cadre = place(kCadrePave);
    peintre.setPen(Qt::white);
    peintre.drawRect(cadre.translated(1, 1));
    peintre.setPen(Qt::cyan);
    peintre.drawRect(cadre);
}

}  // namespace molvane
