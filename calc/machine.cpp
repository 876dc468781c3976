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
#include <cmath>
#include <string>

#include "calc/eval.h"
#include "common/numbers.h"
#include "windowkit/accessibility.h"

namespace molvane {

namespace {

// The calculator's memory, shared by every opening of the window.
double memoire = 0.0;

const char* const kPatience = "    Patience... Calculs en cours.     ";
const char* const kDepassement = "Dépassement de capacité";
const char* const kFormeScientifique = "#.#######E+00";

QString messageErreur(std::int16_t code) {
    switch (code) {
        case kErreurParentheses:
            return QStringLiteral("Erreur saisie: revoir les parenthèses");
        case kErreurOperateurs:
            return QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
        default:
            return QStringLiteral("Calcul impossible");
    }
}

struct Place {
    int x, y, w, h;
};

// Keys in the rows above the digit pad: five to a row.
constexpr Place rangee(int colonne, int ligne) {
    return {10 + 57 * colonne, 110 + 34 * ligne, 52, 30};
}
// The digit pad, inside the frame drawn at (81, 289)-(206, 421).
constexpr Place pave(int colonne, int ligne) {
    return {86 + 40 * colonne, 294 + 32 * ligne, 36, 28};
}
// Unit prefixes on the left of the pad, operators on its right.
constexpr Place gauche(int colonne, int ligne) {
    return {12 + 34 * colonne, 294 + 32 * ligne, 30, 28};
}
constexpr Place droite(int colonne, int ligne) {
    return {214 + 40 * colonne, 294 + 32 * ligne, 38, 28};
}
// The memory keys, four to their row.
constexpr Place memoireRang(int colonne) {
    return {10 + 71 * colonne, 246, 66, 30};
}

// A key that appends a text to the expression.
struct ToucheTexte {
    const char* nom;
    const char* legende;
    const char* bulle;
    unsigned regles;
    const char* texte;
    Place place;
};

// Rules applied before a key appends its text.
constexpr unsigned kSansRegle = 0;
constexpr unsigned kProduit = 1;  // " * " first after a number or ")"
constexpr unsigned kReponse = 2;  // the last answer first while nothing is typed
constexpr unsigned kNonVide = 4;  // nothing while the display is blank

const ToucheTexte kTouchesTexte[] = {
    {"B7", "7", "", 0, "7", pave(0, 0)},
    {"B8", "8", "", 0, "8", pave(1, 0)},
    {"B9", "9", "", 0, "9", pave(2, 0)},
    {"B4", "4", "", 0, "4", pave(0, 1)},
    {"B5", "5", "", 0, "5", pave(1, 1)},
    {"B6", "6", "", 0, "6", pave(2, 1)},
    {"B1", "1", "", 0, "1", pave(0, 2)},
    {"B2", "2", "", 0, "2", pave(1, 2)},
    {"B3", "3", "", 0, "3", pave(2, 2)},
    {"B0", "0", "", 0, "0", pave(0, 3)},
    {"Bpoint", ".", "", 0, ".", pave(1, 3)},
    {"BtoEXP", "EXP", "x 10", 0, "E", pave(2, 3)},
    {"kilo", "k", "kilo", 0, "E+3", gauche(0, 0)},
    {"mega", "M", "Méga", 0, "E+6", gauche(0, 1)},
    {"giga", "G", "Giga", 0, "E+9", gauche(0, 2)},
    {"tera", "T", "Téra", 0, "E+12", gauche(0, 3)},
    {"mil", "m", "milli", 0, "E-3", gauche(1, 0)},
    {"micro", "µ", "micro", 0, "E-6", gauche(1, 1)},
    {"nano", "n", "nano", 0, "E-9", gauche(1, 2)},
    {"pico", "p", "pico", 0, "E-12", gauche(1, 3)},
    {"bsin", "&SIN", "Sinus", kProduit, "sin ", rangee(0, 0)},
    {"Bcos", "&COS", "Cosinus", kProduit, "cos ", rangee(1, 0)},
    {"Btan", "&TAN", "Tangente", kProduit, "tan ", rangee(2, 0)},
    {"Bln", "l&n", "", kProduit, "ln ", rangee(3, 0)},
    {"Blog", "&Log", "", kProduit, "log ", rangee(4, 0)},
    {"invsin", "INV S&IN", "Inverse sinus", kProduit, "invSIN ", rangee(0, 1)},
    {"invcos", "INV C&OS", "Inverse cosinus", kProduit, "invCOS ", rangee(1, 1)},
    {"Btoncommande3", "INV T&AN", "Inverse tangente", kProduit, "invTAN ", rangee(2, 1)},
    {"Bexp", "", "", kProduit, "exp ", rangee(3, 1)},
    {"racine", "√‾", "Racine carré", kProduit, "SQR ", rangee(4, 1)},
    {"btcarre", "", "", kReponse, " ^ 2", rangee(0, 2)},
    {"puissance", "", "", kReponse, " ^ ", rangee(1, 2)},
    {"B10x", "", "", kProduit, "10 ^ ", rangee(2, 2)},
    {"Command5", "1/x", "Inverse", kProduit, "1 / ", rangee(3, 2)},
    {"Bpo", "(", "", kProduit, "(", rangee(0, 3)},
    {"bpf", ")", "", 0, ")", rangee(1, 3)},
    {"multip", "x", "", kNonVide | kReponse, " * ", droite(0, 0)},
    {"div", "÷", "", kNonVide | kReponse, " / ", droite(1, 0)},
};

// A key with an action of its own.
struct ToucheAction {
    const char* nom;
    const char* legende;
    const char* bulle;
    void (Machine::*action)();
    Place place;
};

// Keys shown as a base and its exponent.
struct Puissance {
    const char* nom;
    const char* base;
    const char* exposant;
};
const Puissance kPuissances[] = {
    {"btcarre", "x", "2"}, {"puissance", "x", "y"}, {"B10x", "10", "x"}, {"Bexp", "e", "x"}};

// Which key each typed character stands for. A comma is the decimal point
// too: French pupils type 1,5.
struct Frappe {
    char caractere;
    const char* nom;
};
const Frappe kFrappes[] = {{'.', "Bpoint"},   {',', "Bpoint"}, {'d', "BtoEXP"}, {'e', "BtoEXP"},
                           {'D', "BtoEXP"},   {'E', "BtoEXP"}, {'(', "Bpo"},    {')', "bpf"},
                           {'*', "multip"},   {'+', "plus"},   {'-', "moins"},  {'/', "div"},
                           {'^', "puissance"}};

// What a screen reader says for each key: words, never the symbol drawn.
struct NomLu {
    const char* nom;
    const char* lu;
};
const NomLu kNomsLus[] = {
    {"Bpoint", "point décimal"},
    {"BtoEXP", "fois dix puissance (EXP)"},
    {"kilo", "kilo"},
    {"mega", "méga"},
    {"giga", "giga"},
    {"tera", "téra"},
    {"mil", "milli"},
    {"micro", "micro"},
    {"nano", "nano"},
    {"pico", "pico"},
    {"bsin", "sinus"},
    {"Bcos", "cosinus"},
    {"Btan", "tangente"},
    {"Bln", "logarithme népérien"},
    {"Blog", "logarithme décimal"},
    {"invsin", "inverse du sinus"},
    {"invcos", "inverse du cosinus"},
    {"Btoncommande3", "inverse de la tangente"},
    {"Bexp", "exponentielle"},
    {"racine", "racine carrée"},
    {"btcarre", "carré"},
    {"puissance", "puissance"},
    {"B10x", "dix puissance"},
    {"Command5", "inverse, un divisé par"},
    {"Bpo", "parenthèse ouvrante"},
    {"bpf", "parenthèse fermante"},
    {"multip", "multiplié par"},
    {"div", "divisé par"},
    {"pi", "pi"},
    {"plus", "plus"},
    {"moins", "moins"},
    {"EXE", "calculer"},
    {"ANS", "dernière réponse"},
    {"EFFACE", "effacer le dernier caractère"},
    {"RAZ", "tout effacer"},
    {"Command1", "ajouter à la mémoire"},
    {"Command2", "soustraire de la mémoire"},
    {"Command3", "rappel de la mémoire"},
    {"Command4", "effacer la mémoire"},
};

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

QPushButton* nouvelleTouche(QWidget* parent, const char* nom, const char* legende, const char* bulle,
                            Place place) {
    auto* touche = new QPushButton(QString::fromUtf8(legende), parent);
    touche->setObjectName(QString::fromLatin1(nom));
    touche->setToolTip(QString::fromUtf8(bulle));
    touche->setGeometry(place.x, place.y, place.w, place.h);
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
    setWindowTitle(QStringLiteral("Machine à calculer"));
    setFixedSize(302, 431);

    z1 = new QLineEdit(this);
    z1->setObjectName(QStringLiteral("z1"));
    z1->setGeometry(10, 12, 282, 30);
    z1->setReadOnly(true);
    z1->setAccessibleName(QStringLiteral("Affichage de la calculatrice"));
    z1->setAccessibleDescription(QStringLiteral(
        "Tapez le calcul au clavier, Entrée pour calculer, Échap pour fermer ; Tab mène aux touches"));
    z1->setContextMenuPolicy(Qt::NoContextMenu);
    QFont policeAffichage = z1->font();
    policeAffichage.setPointSizeF(policeAffichage.pointSizeF() + 3);
    z1->setFont(policeAffichage);
    QPalette vert = z1->palette();
    vert.setColor(QPalette::Base, QColor(0, 255, 0));
    vert.setColor(QPalette::Text, Qt::black);
    z1->setPalette(vert);
    z1->installEventFilter(this);

    auto* cadreAngles = new QGroupBox(QStringLiteral("Angles"), this);
    cadreAngles->setGeometry(10, 46, 136, 58);
    auto* cadreAffichage = new QGroupBox(QStringLiteral("Affichage"), this);
    cadreAffichage->setGeometry(156, 46, 136, 58);
    // Read as the groups of choices they are, which name their option buttons.
    readAsGroup(cadreAngles);
    readAsGroup(cadreAffichage);
    const char* const nomsAngle[2] = {"Degrés", "Radians"};
    const char* const nomsAffichage[2] = {"Scientifique", "Standard"};
    for (int i = 0; i < 2; ++i) {
        angle[i] = new QRadioButton(QString::fromUtf8(nomsAngle[i]), cadreAngles);
        angle[i]->setObjectName(QStringLiteral("angle_%1").arg(i));
        angle[i]->setGeometry(10, 18 + 18 * i, 120, 18);
        angle[i]->setFocusPolicy(Qt::TabFocus);
        C[i] = new QRadioButton(QString::fromUtf8(nomsAffichage[i]), cadreAffichage);
        C[i]->setObjectName(QStringLiteral("C_%1").arg(i));
        C[i]->setGeometry(10, 18 + 18 * i, 120, 18);
        C[i]->setFocusPolicy(Qt::TabFocus);
        connect(C[i], &QRadioButton::toggled, this, [this](bool choisi) {
            if (choisi) C_Click();
        });
    }
    angle[0]->setChecked(true);
    C[1]->blockSignals(true);
    C[1]->setChecked(true);
    C[1]->blockSignals(false);

    construitTouches();
    z1->setFocus();
}

void Machine::construitTouches() {
    for (const ToucheTexte& t : kTouchesTexte) {
        QPushButton* touche = nouvelleTouche(this, t.nom, t.legende, t.bulle, t.place);
        const QString texte = QString::fromLatin1(t.texte);
        const unsigned regles = t.regles;
        connect(touche, &QPushButton::clicked, this, [this, texte, regles] { ajoute(texte, regles); });
    }
    for (const Puissance& p : kPuissances) {
        auto* touche = findChild<QPushButton*>(QString::fromLatin1(p.nom));
        const QIcon icone = iconePuissance(QString::fromLatin1(p.base), QString::fromLatin1(p.exposant),
                                           touche->font(), touche->palette().color(QPalette::ButtonText));
        touche->setIcon(icone);
        touche->setIconSize(icone.availableSizes().value(0, QSize(24, 20)));
    }

    QPushButton* pi = nouvelleTouche(this, "pi", "Π", "3.1415927", rangee(4, 2));
    connect(pi, &QPushButton::clicked, this,
            [this] { ajoute(QString::fromStdString(numberText(4 * std::atan(1.0))), kProduit); });

    const ToucheAction actions[] = {
        {"plus", "+", "", &Machine::plus_Click, droite(0, 1)},
        {"moins", "-", "", &Machine::moins_Click, droite(1, 1)},
        {"EXE", "EXE", "Calculer", &Machine::EXE_Click, {214, 358, 78, 60}},
        {"ANS", "ANS", "Dernière réponse", &Machine::ANS_Click, rangee(4, 3)},
        {"EFFACE", "←", "Effacer dernier caractère", &Machine::EFFACE_Click, rangee(2, 3)},
        {"RAZ", "AC", "Tout effacer", &Machine::RAZ_Click, rangee(3, 3)},
        {"Command1", "M+", "Ajouter à la méoire", &Machine::Command1_Click, memoireRang(0)},
        {"Command2", "M-", "Soustraire à la mémoire", &Machine::Command2_Click, memoireRang(1)},
        {"Command3", "RM", "Rappel mémoire", &Machine::Command3_Click, memoireRang(2)},
        {"Command4", "CM", "Effacer la mémoire", &Machine::Command4_Click, memoireRang(3)},
    };
    for (const ToucheAction& a : actions) {
        QPushButton* touche = nouvelleTouche(this, a.nom, a.legende, a.bulle, a.place);
        connect(touche, &QPushButton::clicked, this, a.action);
    }
    for (const NomLu& n : kNomsLus) {
        if (QAbstractButton* touche = bouton(QString::fromLatin1(n.nom)))
            touche->setAccessibleName(QString::fromUtf8(n.lu));
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

bool Machine::scientifique() const {
    return C[0]->isChecked();
}

QString Machine::formate(double valeur, bool blancDevant) const {
    if (scientifique()) return QString::fromStdString(formatPicture(valeur, kFormeScientifique, '.'));
    return QString::fromStdString(numberText(valeur, blancDevant));
}

void Machine::affiche(const QString& texte) {
    z1->setText(texte);
    // A key reached with Tab keeps the keyboard, so that it can be pressed again.
    if (!qobject_cast<QAbstractButton*>(focusWidget())) z1->setFocus();
    z1->setCursorPosition(static_cast<int>(texte.size()));
    z1->repaint();
}

void Machine::ajoute(const QString& texte, unsigned regles) {
    if ((regles & kNonVide) && z1->text().trimmed().isEmpty()) return;
    if ((regles & kReponse) && saisie.trimmed().isEmpty()) ANS_Click();
    if ((regles & kProduit) && !saisie.isEmpty() && saisie.back() != u'(' && saisie.back() != u'-' &&
        saisie.back() != u' ')
        saisie += QStringLiteral(" * ");
    saisie += texte;
    affiche(saisie);
}

void Machine::plus_Click() {
    if (z1->text().trimmed().isEmpty()) return;
    if (saisie.trimmed().isEmpty()) ANS_Click();
    // After an exponent letter the sign belongs to the exponent.
    ajoute(saisie.endsWith(u'E') ? QStringLiteral("+") : QStringLiteral(" + "), kSansRegle);
}

void Machine::moins_Click() {
    // A minus after an operator, "(" or an exponent letter is a sign; after a
    // number it is the binary operator.
    if (saisie.isEmpty() || saisie.back() == u'(' || saisie.back() == u' ' || saisie.back() == u'E')
        saisie += u'-';
    else if (saisie.back() == u'-')
        saisie += QStringLiteral(" -");
    else
        saisie += QStringLiteral(" - ");
    affiche(saisie);
}

void Machine::EXE_Click() {
    erreur = kCalculOk;
    reponseIllisible = false;
    std::string travail = saisie.toStdString();
    const QString sauvegarde = saisie;
    saisie = QString::fromLatin1(kPatience);
    affiche(saisie);

    erreur = calcule(travail, angle[1]->isChecked());
    if (erreur == kCalculOk) {
        const NumberRead resultat = readLeadingNumber(travail);
        if (resultat.overflow) {
            // The 15-digit text of a value at the edge of the range may not read back.
            saisie = QString::fromUtf8(kDepassement);
            reponseIllisible = true;
            bip();
        } else {
            saisie = formate(resultat.value, true);
        }
    } else {
        saisie = messageErreur(erreur);
        bip();
    }
    affiche(saisie);
    reponse = saisie;
    saisie.clear();
    // The display keeps the message; the next key goes on with the expression that failed.
    if (erreur != kCalculOk) saisie = sauvegarde;
}

void Machine::ANS_Click() {
    if (erreur == kCalculOk && !reponseIllisible) saisie += reponse.trimmed();
    affiche(saisie);
}

void Machine::EFFACE_Click() {
    if (saisie.isEmpty()) return;
    const qsizetype n = saisie.size();
    if (saisie.back() != u' ') {
        saisie.chop(1);  // a digit, ".", ")", "E" or the "2" of " ^ 2"
    } else if (n >= 2 && QStringLiteral("*+/-^").contains(saisie[n - 2])) {
        saisie.chop(std::min<qsizetype>(3, n));  // an operator token
    } else {
        // A function name and its blank: back to the blank or "(" before the name.
        qsizetype garde = n - 2;
        while (garde >= 0 && saisie[garde] != u' ' && saisie[garde] != u'(') --garde;
        saisie.truncate(garde + 1);
    }
    affiche(saisie);
}

void Machine::RAZ_Click() {
    saisie.clear();
    affiche(saisie);
}

void Machine::ajouteMemoire(double signe) {
    const double somme = memoire + signe * leadingNumber(z1->text().toStdString());
    // Beyond the double range the memory keeps its value, so that it stays usable.
    if (std::isfinite(somme))
        memoire = somme;
    else
        bip();
    if (!qobject_cast<QAbstractButton*>(focusWidget())) z1->setFocus();
}

void Machine::Command1_Click() {
    ajouteMemoire(1.0);
}
void Machine::Command2_Click() {
    ajouteMemoire(-1.0);
}

void Machine::Command3_Click() {
    saisie += formate(memoire, false);
    affiche(saisie);
}

void Machine::Command4_Click() {
    memoire = 0.0;
    if (!qobject_cast<QAbstractButton*>(focusWidget())) z1->setFocus();
}

void Machine::C_Click() {
    if (!saisie.isEmpty() || reponseIllisible) return;
    affiche(formate(leadingNumber(reponse.toStdString()), true));
    saisie.clear();
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
    QString nom;
    if (event.key() == Qt::Key_Backspace)
        nom = QStringLiteral("EFFACE");
    else if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        nom = QStringLiteral("EXE");
    else if (event.text().size() == 1) {
        const char c = event.text().front().toLatin1();
        if (c >= '0' && c <= '9') nom = QStringLiteral("B") + QLatin1Char(c);
        for (const Frappe& f : kFrappes)
            if (f.caractere == c) nom = QString::fromLatin1(f.nom);
    }
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
    for (int x = 0; x <= 301; ++x) {
        const int b = roundToInt16(200 - x / 2.0).value_or(0);
        peintre.setPen(QColor(b, b + 50, b + 50));
        peintre.drawLine(x, 0, x, 430);
    }
    peintre.setPen(Qt::white);
    peintre.drawRect(1, 1, 298, 427);
    peintre.setPen(Qt::black);
    peintre.drawLine(1, 1, 298, 1);
    peintre.drawLine(1, 1, 1, 426);
    // The frame around the digit pad.
    peintre.setPen(Qt::white);
    peintre.drawRect(82, 290, 124, 131);
    peintre.setPen(Qt::cyan);
    peintre.drawRect(81, 289, 124, 131);
}

}  // namespace molvane
