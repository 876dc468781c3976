// The introduction: its exact text, where it is blue, large or centred, and
// that building it again gives the same document.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "exercises/intro/introduction.h"

namespace molvane {
namespace {

const QString kText = QStringLiteral(
    "Équilibre dynamique\n"
    "\n"
    "Ce simulateur illustre une réaction chimique à l'échelle microscopique.\n"
    "Les chocs entre les particules sont visualisés dans l'animation. Le nombre de particules présentes est "
    "indiqué dans le tableau et dans la représentation graphique.\n"
    "\n"
    "Vous devez définir les conditions initiales et le pourcentage de chocs efficaces pour la réaction dans "
    "les "
    "deux sens. Ces pourcentages ont étés définis indépendants de la température.\n"
    "\n"
    "Vous pouvez également modifier la température du système.\n"
    "\n"
    "Suivant l'ordinateur que vous utilisez, la base de temps du simulateur peut être très différente du "
    "temps "
    "réel. Ceci est d'autant plus vrai si le nombre de particules est important (nombreux chocs à gérer) et "
    "si "
    "votre microprocesseur est lent.\n"
    "\n"
    "Tous les paramètres sont modifiables et l'image obtenue peut être imprimée ou placée dans le "
    "presse-papiers "
    "(bouton Copier) pour la coller dans une autre application.\n"
    "\n"
    "Vous pouvez obtenir l'énoncé d'un exercice dans cette fenêtre en appuyant sur l'onglet Exercices.\n"
    "\n"
    "Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité Prise en main dans le menu "
    "Exercices.");

// The format of the first character of `words` in the document.
QTextCharFormat formatOf(const QTextDocument& document, const QString& words) {
    const int at = document.toPlainText().indexOf(words);
    EXPECT_GE(at, 0) << words.toStdString();
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(at + 1);
    return cursor.charFormat();
}

TEST(Introduction, ReadsExactlyWithItsStyles) {
    QTextEdit box;
    box.setPlainText(QStringLiteral("un texte précédent"));
    box.setReadOnly(false);
    for (int build = 0; build < 2; ++build) {
        intro(box);
        const QTextDocument& document = *box.document();
        EXPECT_EQ(document.toPlainText(), kText);
        EXPECT_TRUE(box.isReadOnly());
        EXPECT_EQ(box.textCursor().position(), 0);
        EXPECT_FALSE(box.textCursor().hasSelection());

        const QTextBlock title = document.begin();
        EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(title.blockFormat().leftMargin(), 0);
        for (QTextBlock block = title.next(); block.isValid(); block = block.next()) {
            EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft)
                << block.text().toStdString();
            EXPECT_EQ(block.blockFormat().leftMargin(), 20);
        }

        struct Case {
            const char* words;
            double size;
            QColor colour;
        };
        const QColor blue(0, 0, 200), black(0, 0, 0);
        const std::vector<Case> cases{
            {"Équilibre dynamique", 18, blue},
            {"Ce simulateur", 10, black},
            {"la température du système", 10, blue},
            {"Tous les paramètres", 10, blue},
            {"(bouton Copier)", 10, black},
            {"Exercices.\n", 10, blue},
            {"Prise en main", 10, blue},
            {"dans le menu", 10, black},
        };
        for (const Case& c : cases) {
            const QTextCharFormat format = formatOf(document, QString::fromUtf8(c.words));
            EXPECT_EQ(format.fontPointSize(), c.size) << c.words;
            EXPECT_EQ(format.foreground().color(), c.colour) << c.words;
            EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{"Arial"}) << c.words;
            EXPECT_FALSE(format.fontItalic() || format.fontUnderline() ||
                         format.fontWeight() > QFont::Normal);
        }
        // The empty line under the title has the height of the plain text.
        EXPECT_EQ(title.next().charFormat().fontPointSize(), 10);
        box.setReadOnly(false);
        box.insertPlainText(QStringLiteral("xyz"));
    }
}

}  // namespace
}  // namespace molvane
