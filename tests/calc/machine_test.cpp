#include "calc/machine.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <vector>

namespace molvane {
namespace {

// The window with its beep counted instead of sounded.
class Fenetre : public Machine {
public:
    int bips = 0;

protected:
    void bip() override { ++bips; }
};

class MachineTest : public testing::Test {
protected:
    void SetUp() override {
        presse({"Command4"});  // the memory outlives windows: start from 0
    }

    QLineEdit* z1() { return fenetre.findChild<QLineEdit*>("z1"); }
    QString affichage() { return z1()->text(); }

    void presse(std::initializer_list<const char*> noms) {
        for (const char* nom : noms) {
            auto* touche = fenetre.findChild<QAbstractButton*>(nom);
            ASSERT_NE(touche, nullptr) << nom;
            touche->click();
        }
    }
    void tape(const QString& touches) { QTest::keyClicks(z1(), touches); }
    void entree() { QTest::keyClick(z1(), Qt::Key_Return); }

    Fenetre fenetre;
};

struct Sequence {
    std::vector<const char*> touches;
    const char* affichage;
};

void PrintTo(const Sequence& s, std::ostream* os) {
    *os << s.affichage;
}

class Touches : public MachineTest, public testing::WithParamInterface<Sequence> {};

TEST_P(Touches, BuildTheExpression) {
    for (const char* nom : GetParam().touches) presse({nom});
    EXPECT_EQ(affichage(), QString::fromUtf8(GetParam().affichage));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Regles, Touches, testing::Values(
    Sequence{{"B2", "bsin"}, "2 * sin "},
    Sequence{{"Bpo", "bsin"}, "(sin "},
    Sequence{{"moins", "bsin"}, "-sin "},
    Sequence{{"bpf", "Bpo"}, ") * ("},
    Sequence{{"B2", "pi"}, "2 * 3.14159265358979"},
    Sequence{{"B2", "Bexp"}, "2 * exp "},
    Sequence{{"B1", "BtoEXP", "plus", "B3"}, "1E+3"},
    Sequence{{"B5", "kilo"}, "5E+3"},
    Sequence{{"B2", "btcarre"}, "2 ^ 2"},
    Sequence{{"invsin", "Btoncommande3", "racine", "Bln", "Blog"},
             "invSIN invTAN SQR ln log "},
    Sequence{{"B1", "Command5", "B10x"}, "1 * 1 / 10 ^ "}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Moins, Touches, testing::Values(
    Sequence{{"moins"}, "-"},
    Sequence{{"Bpo", "moins"}, "(-"},
    Sequence{{"B2", "multip", "moins"}, "2 * -"},
    Sequence{{"B2", "moins"}, "2 - "},
    Sequence{{"B2", "BtoEXP", "moins"}, "2E-"},
    Sequence{{"moins", "moins"}, "- -"},
    Sequence{{"B2", "moins", "moins", "B3"}, "2 - -3"}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Efface, Touches, testing::Values(
    Sequence{{"B2", "bsin", "EFFACE"}, "2 * "},
    Sequence{{"B2", "bsin", "EFFACE", "EFFACE"}, "2"},
    Sequence{{"Btoncommande3", "EFFACE"}, ""},
    Sequence{{"Bpo", "Bcos", "EFFACE"}, "("},
    Sequence{{"B2", "btcarre", "EFFACE"}, "2 ^ "},
    Sequence{{"moins", "moins", "EFFACE", "EFFACE"}, ""},
    Sequence{{"EFFACE"}, ""},
    Sequence{{"B1", "B2", "RAZ"}, ""}));
// clang-format on

// Multiplication, division and plus wait for something on the display.
// clang-format off
INSTANTIATE_TEST_SUITE_P(AffichageVide, Touches, testing::Values(
    Sequence{{"multip"}, ""}, Sequence{{"div"}, ""}, Sequence{{"plus"}, ""},
    Sequence{{"multip", "div", "plus", "B4"}, "4"}));
// clang-format on

struct Calcul {
    const char* saisie;  // typed on the keyboard
    bool radians;
    bool scientifique;
    const char* affichage;
    int bips;
};

void PrintTo(const Calcul& c, std::ostream* os) {
    *os << c.saisie;
}

class Exe : public MachineTest, public testing::WithParamInterface<Calcul> {};

TEST_P(Exe, ShowsResultOrMessage) {
    const Calcul& c = GetParam();
    if (c.radians) presse({"angle_1"});
    if (c.scientifique) presse({"C_0"});
    tape(QString::fromUtf8(c.saisie));
    entree();
    EXPECT_EQ(affichage(), QString::fromUtf8(c.affichage));
    EXPECT_EQ(fenetre.bips, c.bips);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Resultats, Exe, testing::Values(
    Calcul{"2+3", false, false, " 5", 0},
    Calcul{"2-5", false, false, "-3", 0},
    Calcul{"1/2", false, false, " .5", 0},
    Calcul{"-2^2", false, false, " 4", 0},
    Calcul{"", false, false, " 0", 0},
    Calcul{"1234.5", false, true, "1.2345E+03", 0},
    Calcul{"5", false, true, "5.E+00", 0},
    Calcul{"0", false, true, "0.E+00", 0},
    Calcul{"-1/8", false, true, "-1.25E-01", 0},
    // A typed comma is the decimal point.
    Calcul{"1,5*2", false, false, " 3", 0},
    Calcul{",25+1,5", false, false, " 1.75", 0},
    Calcul{"2,5e1", false, true, "2.5E+01", 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Messages, Exe, testing::Values(
    Calcul{"1/0", false, false, "Calcul impossible", 1},
    Calcul{"(2+3", false, false, "Erreur saisie: revoir les parenthèses", 1},
    Calcul{"2*", false, false, "Erreur saisie: incompréhension sur opérateurs: ^ * / + -", 1},
    Calcul{"1.7976931348623157e308*1", false, false, "Dépassement de capacité", 1},
    Calcul{"1.7976931348623157e308*1", false, true, "Dépassement de capacité", 1},
    Calcul{"1e999", false, false, "Dépassement de capacité", 1}));
// clang-format on

TEST_F(MachineTest, FunctionKeysInBothAngleModes) {
    presse({"bsin", "B3", "B0", "EXE"});
    EXPECT_EQ(affichage(), " .5");
    presse({"angle_1", "bsin", "B3", "B0", "EXE"});
    EXPECT_EQ(affichage(), "-.988031624092862");
    presse({"angle_0", "invcos", "B0", "EXE"});
    EXPECT_EQ(affichage(), " 90");
}

TEST_F(MachineTest, ExeShowsPatienceWhileComputing) {
    QSignalSpy changements(z1(), &QLineEdit::textChanged);
    tape("2+2");
    changements.clear();
    entree();
    ASSERT_EQ(changements.size(), 2);
    EXPECT_EQ(changements[0][0].toString(), "    Patience... Calculs en cours.     ");
    EXPECT_EQ(changements[1][0].toString(), " 4");
}

TEST_F(MachineTest, AnswerFirstAfterSuccess) {
    tape("2+3");
    entree();
    presse({"plus"});
    EXPECT_EQ(affichage(), "5 + ");
    presse({"B1", "EXE", "multip"});
    EXPECT_EQ(affichage(), "6 * ");
    presse({"RAZ", "ANS"});
    EXPECT_EQ(affichage(), "6");
}

TEST_F(MachineTest, FailedExpressionIsKeptForCorrection) {
    tape("1/0");
    entree();
    EXPECT_EQ(affichage(), "Calcul impossible");
    presse({"ANS"});
    EXPECT_EQ(affichage(), "1 / 0") << "ANS appends nothing after a failure";
    presse({"EFFACE", "B4", "EXE"});
    EXPECT_EQ(affichage(), " .25");
}

// An overflow message is not an answer: ANS and the display switch leave it alone.
TEST_F(MachineTest, OverflowMessageIsNotReused) {
    tape("1e999");
    entree();
    presse({"ANS"});
    EXPECT_EQ(affichage(), "");
    presse({"RAZ"});
    tape("1e999");
    entree();
    presse({"C_0"});
    EXPECT_EQ(affichage(), "Dépassement de capacité");
}

TEST_F(MachineTest, DisplaySwitchRedisplaysLastAnswer) {
    tape("1234.5");
    entree();
    presse({"C_0"});
    EXPECT_EQ(affichage(), "1.2345E+03");
    presse({"C_1"});
    EXPECT_EQ(affichage(), " 1234.5");
    tape("7");
    presse({"C_0"});
    EXPECT_EQ(affichage(), "7") << "nothing happens while an expression is typed";
}

TEST_F(MachineTest, ScientificFormIgnoresTheLocale) {
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    presse({"C_0"});
    tape("1234.5");
    entree();
    QLocale::setDefault(avant);
    EXPECT_EQ(affichage(), "1.2345E+03");
}

TEST_F(MachineTest, MemoryKeysAndRecall) {
    tape("5");
    entree();
    presse({"Command1", "Command1", "RAZ", "Command3"});
    EXPECT_EQ(affichage(), "10");
    presse({"EXE", "Command2", "Command2", "Command2", "RAZ", "Command3"});
    EXPECT_EQ(affichage(), "-20");
    presse({"RAZ", "C_0", "Command3"});
    EXPECT_EQ(affichage(), "-2.E+01");
    presse({"Command4", "RAZ", "C_1", "Command3"});
    EXPECT_EQ(affichage(), "0");
}

TEST_F(MachineTest, MemoryReadsMessagesAsZeroAndSurvivesOverflow) {
    tape("1/0");
    entree();
    presse({"Command1", "RAZ", "Command3"});
    EXPECT_EQ(affichage(), "0");
    presse({"RAZ"});
    tape("1e308");
    entree();
    presse({"Command1", "Command1"});
    EXPECT_EQ(fenetre.bips, 2) << "the second addition overflows";
    presse({"RAZ", "Command3"});
    EXPECT_EQ(affichage(), "1E+308");
}

TEST_F(MachineTest, MemoryOutlivesTheWindow) {
    tape("42");
    entree();
    presse({"Command1"});
    Fenetre autre;
    autre.findChild<QAbstractButton*>("Command3")->click();
    EXPECT_EQ(autre.findChild<QLineEdit*>("z1")->text(), "42");
}

TEST_F(MachineTest, KeyboardMapsToKeys) {
    tape("2d3");
    EXPECT_EQ(affichage(), "2E3");
    tape("abc xyz;");
    EXPECT_EQ(affichage(), "2E3") << "other keys are ignored";
    QTest::keyClick(z1(), Qt::Key_Backspace);
    QTest::keyClick(z1(), Qt::Key_Backspace);
    tape("+(1-2)^2/4");
    EXPECT_EQ(affichage(), "2 + (1 - 2) ^ 2 / 4");
    QTest::keyClick(z1(), Qt::Key_Enter);
    EXPECT_EQ(affichage(), " 2.25");
    QTest::keyClick(z1(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(z1(), Qt::Key_Delete);
    EXPECT_EQ(affichage(), " 2.25");
}

TEST_F(MachineTest, TypedCommaShowsAsThePoint) {
    tape("1,5");
    EXPECT_EQ(affichage(), "1.5");
}

TEST_F(MachineTest, EscapeClosesTheWindowAndKeepsTheMemory) {
    tape("7");
    presse({"Command1"});  // M+
    fenetre.show();
    QSignalSpy fermee(&fenetre, &QDialog::rejected);
    QTest::keyClick(z1(), Qt::Key_Escape);
    EXPECT_EQ(fermee.count(), 1);
    EXPECT_FALSE(fenetre.isVisible());
    Fenetre autre;
    autre.findChild<QAbstractButton*>("Command3")->click();  // RM
    EXPECT_EQ(autre.findChild<QLineEdit*>("z1")->text(), "7");
}

TEST_F(MachineTest, CtrlCCopiesTheWholeDisplay) {
    tape("1/3");
    entree();
    QTest::keyClick(z1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), " .333333333333333");
}

TEST_F(MachineTest, CaptionsAndTooltips) {
    struct Attendu {
        const char* nom;
        const char* legende;
        const char* bulle;
    };
    const Attendu attendus[] = {
        {"bsin", "&SIN", "Sinus"},
        {"invcos", "INV C&OS", "Inverse cosinus"},
        {"micro", "µ", "micro"},
        {"pi", "Π", "3.1415927"},
        {"div", "÷", ""},
        {"EFFACE", "←", "Effacer dernier caractère"},
        {"Command1", "M+", "Ajouter à la méoire"},
        {"racine", "√‾", "Racine carré"},
        {"BtoEXP", "EXP", "x 10"},
        {"ANS", "ANS", "Dernière réponse"},
        {"EXE", "EXE", "Calculer"},
    };
    for (const Attendu& a : attendus) {
        auto* touche = fenetre.findChild<QAbstractButton*>(a.nom);
        ASSERT_NE(touche, nullptr) << a.nom;
        EXPECT_EQ(touche->text(), QString::fromUtf8(a.legende)) << a.nom;
        EXPECT_EQ(touche->toolTip(), QString::fromUtf8(a.bulle)) << a.nom;
    }
    EXPECT_EQ(fenetre.windowTitle(), "Machine à calculer");
    EXPECT_TRUE(fenetre.findChild<QRadioButton*>("angle_0")->isChecked());
    EXPECT_TRUE(fenetre.findChild<QRadioButton*>("C_1")->isChecked());
}

TEST_F(MachineTest, MnemonicsPressKeys) {
    fenetre.show();
    QApplication::setActiveWindow(&fenetre);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    QTest::keyClick(&fenetre, Qt::Key_S, Qt::AltModifier);
    QTest::qWait(200);  // animateClick reports the click a little later
    EXPECT_EQ(affichage(), "sin ");
}

TEST_F(MachineTest, BackgroundShadesAndFrames) {
    QImage image(fenetre.size(), QImage::Format_RGB32);
    fenetre.render(&image);
    EXPECT_EQ(image.pixelColor(0, 300), QColor(200, 250, 250));
    EXPECT_EQ(image.pixelColor(3, 300), QColor(198, 248, 248)) << "halves round to even";
    EXPECT_EQ(image.pixelColor(301, 300), QColor(50, 100, 100));
    EXPECT_EQ(image.pixelColor(299, 300), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(1, 300), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(81, 350), QColor(Qt::cyan));
    EXPECT_EQ(image.pixelColor(206, 350), QColor(Qt::white));
}

}  // namespace
}  // namespace molvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
